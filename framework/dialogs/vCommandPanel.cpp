#include "framework/dialogs/vCommandPanel.h"

#include "framework/app/WindowMessage.h"
#include "framework/controls/vCmd.h"

namespace {

// A pressed button takes the focus, and with it the keyboard: it goes back
// to the window that owns the panel's top-level window.
void returnKeyboard(HWND panel) {
    HWND focus = GetFocus();
    if (!focus || !IsChild(panel, focus)) return;
    if (HWND owner = GetWindow(GetAncestor(panel, GA_ROOT), GW_OWNER)) SetActiveWindow(owner);
}

} // namespace

vCommandPanel::vCommandPanel(CommandObject* table) : vCmdParent(PaneDialog), table_(table) {
    layoutStyle = LayoutCommandBar;
}

vCommandPanel::~vCommandPanel() {
    if (windowHandle) {
        SetWindowLongPtrA(windowHandle, DWLP_USER, 0);
        DestroyWindow(windowHandle);
    }
    for (vCmd* command : commands)
        delete command;
    commands.clear();
}

void vCommandPanel::create(HWND parent) {
    // A visible child with a font: WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_SETFONT.
    if (!beginTemplate(0x54000040, 0, 0, 1, 1, "", "", "", 8, "Helv")) return;
    buildCommands(table_);
    endTemplate();
    CreateDialogIndirectParamW(GetModuleHandleA(nullptr),
                               reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), parent,
                               panelProc, reinterpret_cast<LPARAM>(this));
    dialogTemplate.clear();
}

SIZE vCommandPanel::size() const {
    RECT client = {};
    GetClientRect(windowHandle, &client);
    return {client.right, client.bottom};
}

void vCommandPanel::processCommand(int id, int value, int) {
    if (onCommand) onCommand(id, value);
}

INT_PTR CALLBACK vCommandPanel::panelProc(HWND window, UINT code, WPARAM wParam, LPARAM lParam) {
    auto* creating = code == WM_INITDIALOG ? reinterpret_cast<vCommandPanel*>(lParam) : nullptr;
    auto* self = windowObject(window, creating, DWLP_USER);
    return dispatchMessage(self, {window, code, wParam, lParam},
                           [](const WindowMessage&) -> LRESULT { return FALSE; });
}

Handled vCommandPanel::handleMessage(const WindowMessage& message) {
    switch (message.code) {
    case WM_INITDIALOG: return handleInit(message);
    case WM_COMMAND: return handleCommand(message);
    case WM_HSCROLL:
    case WM_VSCROLL: return handleScroll(message);
    default: return NotHandled;
    }
}

Handled vCommandPanel::handleInit(const WindowMessage& message) {
    windowHandle = message.window;
    setStartStates(false);
    // No focus: the keyboard stays where it is.
    return handled(FALSE);
}

Handled vCommandPanel::handleCommand(const WindowMessage& message) {
    int id = message.lowWord();
    int code = message.highWord();
    if (vCmdParent::ignoredNotification(code)) return handled(TRUE);
    returnKeyboard(message.window);
    if (vCmd* command = findCommand(id)) command->onNotify(id, code);
    return handled(TRUE);
}

Handled vCommandPanel::handleScroll(const WindowMessage& message) {
    int code = message.lowWord();
    int id = GetDlgCtrlID(reinterpret_cast<HWND>(message.lParam));
    if (code == SB_ENDSCROLL) {
        if (onRelease) onRelease(id);
    } else if (vCmd* command = findCommand(id)) {
        scrollCode = code;
        command->onNotify(code, message.highWord());
    }
    return handled(TRUE);
}
