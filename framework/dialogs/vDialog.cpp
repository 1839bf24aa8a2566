#include "framework/dialogs/vDialog.h"

#include "framework/dialogs/vThisList.h"

int filterDialogMessage(MSG* message) {
    for (dialogList.first(); dialogList.cursorKey(); dialogList.next()) {
        HWND dialog = reinterpret_cast<HWND>(dialogList.cursorKey());
        if (IsDialogMessageA(dialog, message)) return 1;
    }
    return 0;
}
