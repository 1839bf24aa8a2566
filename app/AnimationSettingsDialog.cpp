#include "app/AnimationSettingsDialog.h"

#include "framework/dialogs/CommandObject.h"

namespace {

enum LocalId { FrameNumbers = 10, FpsLabel = 12, LengthLabel = 14, FrameMotion = 20, MotionLabel };

int fpsRange[] = {MinFps, MaxFps, 1};
int lengthRange[] = {MinLength, MaxLength, 1};

using D = AnimationSettingsDialog;

// kind, id, value, title, items, attributes, sensitive, frame, right of, below, size, tip
CommandObject settingsCommands[] = {
    {Frame, FrameNumbers, 0, "", nullptr, 0, 1, 0, 0, 0, 0, nullptr},
    {Label, FpsLabel, 0, "&Frames per second:", nullptr, 0, 1, FrameNumbers, 0, 0, 0, nullptr},
    {Spinner, D::IdFps, 25, "", fpsRange, 0, 1, FrameNumbers, FpsLabel, 0, 0, "1 to 60"},
    {Label, LengthLabel, 0, "&Length in frames:", nullptr, 0, 1, FrameNumbers, 0, D::IdFps, 0,
     nullptr},
    {Spinner, D::IdLength, 100, "", lengthRange, 0, 1, FrameNumbers, FpsLabel, D::IdFps, 0,
     "1 to 10000"},
    {Frame, FrameMotion, 0, "", nullptr, 0, 1, 0, FrameNumbers, 0, 0, nullptr},
    {Label, MotionLabel, 0, "Between keys", nullptr, 0, 1, FrameMotion, 0, 0, 0, nullptr},
    {RadioButton, D::IdSmooth, 1, "&Smooth", nullptr, 0, 1, FrameMotion, 0, MotionLabel, 0,
     "A curve that never overshoots a key"},
    {RadioButton, D::IdLinear, 0, "L&inear", nullptr, 0, 1, FrameMotion, 0, D::IdSmooth, 0,
     "Straight lines between keys"},
    {RadioButton, D::IdHold, 0, "&Hold", nullptr, 0, 1, FrameMotion, 0, D::IdLinear, 0,
     "Each key until the next"},
    {Button, IdOk, 0, " OK ", nullptr, AttrDefault, 1, 0, 0, FrameNumbers, 0, nullptr},
    {Button, IdCancel, 0, "Cancel", nullptr, 0, 1, 0, IdOk, FrameNumbers, 0, nullptr},
    {EndOfList, 0, 0, nullptr, nullptr, 0, 0, 0, 0, 0, 0, nullptr},
};

} // namespace

AnimationSettingsDialog::AnimationSettingsDialog(vBaseWindow* owner)
    : vModalDialog(owner, "Animation settings") {
    addDialogCmds(settingsCommands);
}

bool AnimationSettingsDialog::ask(AnimationSettings& settings) {
    settings_ = settings;
    int value = 0;
    if (showModalDialog(nullptr, value) != IdOk || !settings_.valid()) return false;
    settings = settings_;
    return true;
}

void AnimationSettingsDialog::onDialogDisplayed() {
    setValue(IdFps, settings_.fps, SetValue);
    setValue(IdLength, settings_.length, SetValue);
    setValue(IdSmooth + settings_.interpolation, 1, SetValue);
}

void AnimationSettingsDialog::onDialogCommand(int id, int value, int kind) {
    if (id >= IdSmooth && id <= IdHold && value)
        settings_.interpolation = Interpolation(id - IdSmooth);
    // The spinners took what was typed into their fields before OK came here.
    if (id == IdOk) {
        settings_.fps = getValue(IdFps);
        settings_.length = getValue(IdLength);
    }
    vModalDialog::onDialogCommand(id, value, kind);
}
