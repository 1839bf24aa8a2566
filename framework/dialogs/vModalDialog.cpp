#include "framework/dialogs/vModalDialog.h"

void vModalDialog::closeDialog() {
    HWND window = windowHandle;
    vDialog::closeDialog();
    if (currentModalDialog == this) currentModalDialog = previousModal;
    if (window) EndDialog(window, 1);
}

void vModalDialog::onDialogCommand(int id, int value, int kind) {
    vDialog::onDialogCommand(id, value, kind);
    lastValue = value;
    lastId = id;
    lastKind = kind;
}

int vModalDialog::showModalDialog(const char* message, int& value) {
    if (displayed) return 0;
    // A dialog the application closes without a command reports no stale one.
    lastValue = lastId = lastKind = 0;
    previousModal = currentModalDialog;
    currentModalDialog = this;
    LoopWatch watch(loopWatch);
    showDialog(message);
    if (watch.deleted) {
        value = 0;
        return 0;
    }
    // Also when the platform could not run the dialog at all.
    if (currentModalDialog == this) currentModalDialog = previousModal;
    value = lastValue;
    return lastId;
}
