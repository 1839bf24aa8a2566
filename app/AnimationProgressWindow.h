// The progress of an animation render beside the editor: "Frame 12 of 100",
// elapsed and estimated time left, the framework's progress bar, and Cancel.
// Modeless: editing goes on while it shows.
#pragma once

#include "framework/dialogs/vDialog.h"

#include <functional>

class RenderProgress;

class AnimationProgressWindow : public vDialog {
  public:
    enum Id { IdFrameText = 10, IdTimeText, IdBar };

    // Cancel calls `onCancel`.
    AnimationProgressWindow(vBaseWindow* owner, std::function<void()> onCancel);

    void show(const RenderProgress& progress, double now);
    void onDialogCommand(int id, int value, int kind) override;

  private:
    std::function<void()> onCancel_;
};
