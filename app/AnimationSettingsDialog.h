// "Animation settings...": the frame rate, the length in frames and how
// values move between keys, in a dialog of the framework's own controls.
#pragma once

#include "animation/Animation.h"
#include "framework/dialogs/vModalDialog.h"

class AnimationSettingsDialog : public vModalDialog {
  public:
    enum Id { IdFps = 11, IdLength = 13, IdSmooth = 21, IdLinear = 22, IdHold = 23 };

    explicit AnimationSettingsDialog(vBaseWindow* owner);

    // Shows the dialog with `settings`; true, with the chosen ones, after OK.
    bool ask(AnimationSettings& settings);

    void onDialogDisplayed() override;
    void onDialogCommand(int id, int value, int kind) override;

  private:
    AnimationSettings settings_;
};
