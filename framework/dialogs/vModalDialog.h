// A dialog shown modally: showModalDialog returns when the dialog closes,
// with the id and value of the command that ended it.
#pragma once

#include "framework/dialogs/vDialog.h"

class vModalDialog : public vDialog {
  public:
    vModalDialog(vBaseWindow* owner, const char* name) : vDialog(owner, name, 1) {}

    // The base closing, then the dialog shown before this one is current
    // again and the modal loop ends.
    void closeDialog() override;
    // The base behaviour, then the event is remembered as the last one.
    void onDialogCommand(int id, int value, int kind) override;
    // The id of the command that ended the dialog (0 when none did) and its value.
    virtual int showModalDialog(const char* message, int& value);

    int lastValue = 0;
    int lastId = 0;
    int lastKind = 0;
};
