#include "framework/dialogs/vCommandPane.h"

#include "framework/app/vApp.h"
#include "framework/app/vWindow.h"
#include "framework/dialogs/KeyboardFilters.h"
#include "framework/dialogs/vThisList.h"

vCommandPane::vCommandPane(int paneKind) : vPane(paneKind), vCmdParent(paneKind) {
    layoutStyle = paneKind == PaneStatusBar ? LayoutStatusBar : LayoutCommandBar;
}

vCommandPane::~vCommandPane() {
    if (windowHandle) barList.remove(windowHandle);
    if (theApp) theApp->removeCommandPane(this);
}

void vCommandPane::processCommand(int id, int value, int kind) {
    if (window) window->onCommand(id, value, kind);
}

int vCommandPane::inLayout() {
    return initialised && shown && windowHandle && IsWindowVisible(windowHandle);
}

void vCommandPane::showFor(vWindow* active) {
    initialised = window == active;
    if (!windowHandle || (IsWindowVisible(windowHandle) != 0) == initialised) return;
    ShowWindow(windowHandle, initialised ? SW_SHOW : SW_HIDE);
}

void vCommandPane::showPane(int on) {
    if (on == shown) return;
    shown = on;
    SendMessageA(theApp->frameWindow, RelayoutMessage, 0, 0);
}

int filterPaneMessage(MSG* message) {
    for (void* pane = barList.first(); pane; pane = barList.next()) {
        HWND bar = static_cast<vCommandPane*>(pane)->windowHandle;
        if (bar && IsDialogMessageA(bar, message)) return 1;
    }
    return 0;
}
