// The progress of an animation render beside the editor: "Frame 12 of 100",
// elapsed and estimated time left, the framework's progress bar, the last
// frame rendered, small, and Cancel (Esc, or Enter while it has the focus).
// Modeless: editing goes on while it shows.
#pragma once

#include "framework/dialogs/vDialog.h"

#include <functional>

class RenderProgress;
class RgbImage;

class AnimationProgressWindow : public vDialog {
  public:
    enum Id { IdFrameText = 10, IdTimeText, IdBar, IdLastFrame };

    // Cancel calls `onCancel`.
    AnimationProgressWindow(vBaseWindow* owner, std::function<void()> onCancel);

    void show(const RenderProgress& progress, double now);
    void showFrame(const RgbImage& frame);
    void onDialogCommand(int id, int value, int kind) override;

  private:
    std::function<void()> onCancel_;
};
