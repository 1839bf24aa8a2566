#include "framework/dialogs/vCommandPane.h"

#include "framework/app/WindowMessage.h"
#include "framework/app/vApp.h"
#include "framework/app/vWindow.h"
#include "framework/controls/vCmd.h"
#include "framework/dialogs/KeyboardFilters.h"
#include "framework/dialogs/vThisList.h"

HWND barTipWindow = nullptr;

namespace {

// Lists, combo boxes and text entries keep the keyboard while the user is
// still working in them.
bool keepsFocus(int kind, int code) {
    switch (kind) {
    case ComboBox:
    case ComboBoxReserved: return code != 1;
    case List:
    case ListReserved: return code != 1 && code != 2;
    case TextIn: return true;
    default: return false;
    }
}

void line(HDC dc, HPEN pen, int x1, int y1, int x2, int y2) {
    SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

} // namespace

vCommandPane::vCommandPane(CommandObject* table)
    : vPane(PaneCommandBar), vCmdParent(PaneCommandBar), commandTable(table) {
    layoutStyle = LayoutCommandBar;
}

vCommandPane::vCommandPane(StatusItemDef* table)
    : vPane(PaneStatusBar), vCmdParent(PaneStatusBar),
      commandTable(statusCommands(table, ownedCount)) {
    layoutStyle = LayoutStatusBar;
    ownedTable = commandTable;
}

vCommandPane::~vCommandPane() {
    if (theApp) theApp->removeCommandPane(this);
    dialogTemplate.clear();
    if (windowHandle) {
        // The shared tip window outlives this bar: its tools go with it.
        if (barTipWindow && IsWindow(barTipWindow)) unregisterToolTips(barTipWindow);
        barList.remove(windowHandle);
        // The frame outlives its bars: the bar window must not reach this object.
        SetWindowLongPtrA(windowHandle, DWLP_USER, 0);
        DestroyWindow(windowHandle);
    }
    // The commands refer to the owned records: they go first.
    for (vCmd* command : commands)
        delete command;
    commands.clear();
    freeStatusCommands(ownedTable, ownedCount);
}

void vCommandPane::initialize(vWindow* owner, void* nativeHandle) {
    vPane::initialize(owner, nativeHandle);
    parentHandle = static_cast<HWND>(nativeHandle);
    if (!beginTemplate(0x54000040, 0, 0, 1, 1, "", "", "", 8, "Helv")) {
        theApp->fatalError("vDialog - Unable to build dialog template");
        return;
    }
    if (commandTable) buildCommands(commandTable);
    endTemplate();
    windowHandle = nullptr;
    CreateDialogIndirectParamW(theApp->instance(),
                               reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
                               theApp->frameWindow, barProc, reinterpret_cast<LPARAM>(this));
    dialogTemplate.clear();
}

int vCommandPane::getPaneValue(int id, int& value) {
    if (!hasCommand(id)) return 0;
    value = getValue(id);
    return 1;
}

int vCommandPane::getPaneTextIn(int id, char* buffer, int size) {
    return hasCommand(id) ? getTextIn(id, buffer, size) : 0;
}

void vCommandPane::setPaneValue(int id, int value, int setType) {
    setValue(id, value, setType);
}

void vCommandPane::setPaneString(int id, const char* text) {
    setString(id, text);
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

INT_PTR CALLBACK vCommandPane::barProc(HWND window, UINT code, WPARAM wParam, LPARAM lParam) {
    auto* creating = code == WM_INITDIALOG ? reinterpret_cast<vCommandPane*>(lParam) : nullptr;
    auto* self = windowObject(window, creating, DWLP_USER);
    return dispatchMessage(self, {window, code, wParam, lParam},
                           [](const WindowMessage&) -> LRESULT { return FALSE; });
}

Handled vCommandPane::handleMessage(const WindowMessage& message) {
    switch (message.code) {
    case WM_INITDIALOG: return handleInit(message);
    case WM_ENABLE: return handleEnable(message);
    case WM_PAINT: return handlePaint(message);
    case WM_MEASUREITEM: return handleMeasureItem(message);
    case WM_DRAWITEM: return handleDrawItem(message);
    case WM_COMMAND: return handleCommand(message);
    case WM_HSCROLL:
    case WM_VSCROLL: return handleScroll(message);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORDLG: return handleControlColor(message);
    default: return NotHandled;
    }
}

Handled vCommandPane::handleInit(const WindowMessage& message) {
    barList.add(message.window, this);
    windowHandle = message.window;
    // The first bar's window owns the shared tips; it may have gone since.
    if (barTipWindow && !IsWindow(barTipWindow)) barTipWindow = nullptr;
    setStartStates(false);
    registerToolTips(barTipWindow);
    initialised = 1;
    theApp->addCommandPane(this);
    theApp->showPanesFor(window);
    RECT client;
    GetClientRect(message.window, &client);
    paneHeight = paneEdge = client.bottom;
    SendMessageA(theApp->frameWindow, RelayoutMessage, 0, 0);
    // No focus: the keyboard stays with the window.
    return handled(FALSE);
}

Handled vCommandPane::handleEnable(const WindowMessage& message) {
    for (vCmd* command : commands)
        EnableWindow(command->controlWindow(command->id), BOOL(message.wParam));
    return handled(TRUE);
}

Handled vCommandPane::handlePaint(const WindowMessage& message) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(message.window, &paint);
    RECT frame;
    GetClientRect(theApp->frameWindow, &frame);
    int w = frame.right;
    int h = paneHeight;
    HGDIOBJ before = SelectObject(dc, theApp->shadowPen);
    if (containerKind == PaneStatusBar) {
        line(dc, theApp->shadowPen, 0, 0, w, 0);
        line(dc, theApp->highlightPen, 0, 1, w, 1);
        line(dc, theApp->highlightPen, 10, h - 3, w - 10, h - 3);
        LineTo(dc, w - 10, 3);
        SelectObject(dc, theApp->shadowPen);
        LineTo(dc, 10, 3);
        LineTo(dc, 10, h - 3);
    } else {
        line(dc, theApp->highlightPen, 0, 0, w, 0);
        int border = GetSystemMetrics(SM_CYBORDER);
        line(dc, theApp->shadowPen, 0, h - border, w, h - border);
    }
    SelectObject(dc, before);
    EndPaint(message.window, &paint);
    return handled(TRUE);
}

Handled vCommandPane::handleMeasureItem(const WindowMessage& message) {
    vCmd* command = findCommand(int(message.wParam));
    auto* record = reinterpret_cast<MEASUREITEMSTRUCT*>(message.lParam);
    return handled(command ? command->measureItem(int(message.wParam), record) : FALSE);
}

Handled vCommandPane::handleDrawItem(const WindowMessage& message) {
    vCmd* command = findCommand(int(message.wParam));
    auto* record = reinterpret_cast<DRAWITEMSTRUCT*>(message.lParam);
    return handled(command ? command->drawItem(int(message.wParam), record) : FALSE);
}

Handled vCommandPane::handleCommand(const WindowMessage& message) {
    int id = message.lowWord();
    int code = message.highWord();
    if (vCmdParent::ignoredNotification(code)) return handled(TRUE);
    vCmd* command = findCommand(id);
    if (!command) return handled(TRUE);
    // The report may close the window and this bar with it.
    int kind = command->cmdObject->kind;
    command->onNotify(id, code);
    if (!keepsFocus(kind, code)) SetFocus(GetActiveWindow());
    return handled(TRUE);
}

Handled vCommandPane::handleScroll(const WindowMessage& message) {
    int code = message.lowWord();
    if (code == SB_ENDSCROLL) return handled(TRUE);
    int id = GetDlgCtrlID(reinterpret_cast<HWND>(message.lParam));
    if (vCmd* command = findCommand(id)) command->onNotify(code, message.highWord());
    return handled(TRUE);
}

Handled vCommandPane::handleControlColor(const WindowMessage& message) {
    if (message.code != WM_CTLCOLORDLG)
        SetBkColor(reinterpret_cast<HDC>(message.wParam), GetSysColor(COLOR_BTNFACE));
    return handled(reinterpret_cast<LRESULT>(theApp->faceBrush));
}

int filterPaneMessage(MSG* message) {
    for (void* pane = barList.first(); pane; pane = barList.next()) {
        HWND bar = static_cast<vCommandPane*>(pane)->windowHandle;
        if (bar && IsDialogMessageW(bar, message)) return 1;
    }
    return 0;
}
