#include "app/AnimationProgressWindow.h"

#include "animrender/RenderProgress.h"
#include "framework/dialogs/CommandObject.h"
#include "render/RgbImage.h"

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
    setString(IdFrameText, progress.frameText().c_str());
    setString(IdTimeText, progress.timeText(now).c_str());
    setValue(IdBar, progress.total() ? 100 * progress.done() / progress.total() : 0, SetPosition);
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
