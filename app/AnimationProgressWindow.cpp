#include "app/AnimationProgressWindow.h"

#include "animrender/RenderProgress.h"
#include "framework/dialogs/CommandObject.h"
#include "render/RgbImage.h"

#include <string>

namespace {

int percentRange[] = {0, 100};

using W = AnimationProgressWindow;

// kind, id, value, title, items, attributes, sensitive, frame, right of, below, size, tip
CommandObject progressCommands[] = {
    {Label, W::IdFrameText, 0, "Frame 10000 of 10000", nullptr, 0, 1, 0, 0, 0, 0, nullptr},
    {Label, W::IdTimeText, 0, "0:00:00 elapsed, 0:00:00 left", nullptr, 0, 1, 0, 0, W::IdFrameText,
     0, nullptr},
    {Progress, W::IdBar, 0, "", percentRange, AttrPercent, 1, 0, 0, W::IdTimeText, 0, nullptr},
    {Button, IdCancel, 0, "&Cancel", nullptr, AttrDefault, 1, 0, 0, W::IdBar, 0,
     "Ends every POV-Ray; complete frames stay"},
    {Picture, W::IdLastFrame, 0, "", nullptr, 0, 1, 0, W::IdFrameText, 0, 80,
     "The last frame rendered"},
    {EndOfList, 0, 0, nullptr, nullptr, 0, 0, 0, 0, 0, 0, nullptr},
};

} // namespace

AnimationProgressWindow::AnimationProgressWindow(vBaseWindow* owner, std::function<void()> onCancel)
    : vDialog(owner, "Rendering animation"), onCancel_(std::move(onCancel)) {
    addDialogCmds(progressCommands);
}

void AnimationProgressWindow::show(const RenderProgress& progress, double now) {
    // Only what changed: under Wine each control repaints as it is set,
    // at times for tens of milliseconds beside a busy render.
    std::string frame = progress.frameText(), time = progress.timeText(now);
    int percent = progress.total() ? 100 * progress.done() / progress.total() : 0;
    if (frame != frameText_) setString(IdFrameText, (frameText_ = frame).c_str());
    if (time != timeText_) setString(IdTimeText, (timeText_ = time).c_str());
    if (percent != percent_) setValue(IdBar, percent_ = percent, SetPosition);
}

void AnimationProgressWindow::showStage(const char* text) {
    setString(IdFrameText, (frameText_ = text).c_str());
}

void AnimationProgressWindow::showDialog(const char* message) {
    // The controls start with their first texts.
    frameText_.clear();
    timeText_.clear();
    percent_ = -1;
    vDialog::showDialog(message);
}

void AnimationProgressWindow::showFrame(const RgbImage& frame) {
    setPicture(IdLastFrame, frame.width, frame.height, frame.rgb.data());
}

void AnimationProgressWindow::onDialogCommand(int id, int value, int kind) {
    if (id == IdCancel) {
        onCancel_();
        return;
    }
    vDialog::onDialogCommand(id, value, kind);
}
