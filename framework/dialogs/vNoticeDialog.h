// A short message in a modal box with the notice icon and an OK button.
#pragma once

#include "framework/dialogs/vModalDialog.h"

#include <string>

class vNoticeDialog : public vModalDialog {
  public:
    // `title` is the caption of the box.
    vNoticeDialog(vBaseWindow* owner, const char* title) : vModalDialog(owner, title) {}

    // Centres the box over the application's frame.
    void onDialogDisplayed() override;
    // Shows `message` and returns the id of the command that ended the box
    // (IdDone for OK). The first message decides the layout for good.
    int notice(const char* message);

    int built = 0;

  private:
    std::string message; // the shown text outlives the call that gave it
};
