// The progress of an animation render beside the editor: "Frame 12 of 100",
// elapsed and estimated time left, the framework's progress bar, the last
// frame rendered, small, and Cancel (Esc, or Enter while it has the focus).
// Modeless: editing goes on while it shows.
#pragma once

#include "framework/dialogs/vDialog.h"

#include <functional>
#include <string>

class RenderProgress;
class RgbImage;

class AnimationProgressWindow : public vDialog {
  public:
    enum Id { IdFrameText = 10, IdTimeText, IdBar, IdLastFrame };

    // Cancel calls `onCancel`.
    AnimationProgressWindow(vBaseWindow* owner, std::function<void()> onCancel);

    void show(const RenderProgress& progress, double now);
    // `text` ("Making the video...") in place of the frame count.
    void showStage(const char* text);
    void showFrame(const RgbImage& frame);
    void showDialog(const char* message) override;
    void onDialogCommand(int id, int value, int kind) override;

  private:
    std::function<void()> onCancel_;
    // What the controls show.
    std::string frameText_;
    std::string timeText_;
    int percent_ = -1;
};
