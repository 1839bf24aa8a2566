#include "framework/app/vWindow.h"

#include "framework/app/KeyCodes.h"
#include "framework/app/LinkedList.h"
#include "framework/app/MenuItemDef.h"
#include "framework/app/WideText.h"
#include "framework/app/WindowMessage.h"
#include "framework/app/vApp.h"
#include "framework/app/vMenuPane.h"
#include "framework/app/vPane.h"
#include "framework/dialogs/CommandObject.h"
#include "framework/draw/vCanvasPane.h"

vWindow* windowList = nullptr;
int windowCount = 0;
HWND activeWindow = nullptr;
HWND previousActive = nullptr;

namespace {

// The object whose native window is being created: it receives the messages
// that arrive before the native window knows its object.
vWindow* creatingWindow = nullptr;

} // namespace

vWindow::vWindow(const char* name, int width, int height, int windowKind)
    : vBaseWindow(name, windowKind), height(height ? height : theApp->defaultHeight),
      width(width ? width : theApp->defaultWidth) {
    nextWindow = windowList;
    windowList = this;
    createWindow();
}

vWindow::~vWindow() {
    unlink();
    if (nativeWindow && IsWindow(nativeWindow)) {
        // Deleted without being closed: the native window must not reach us any more.
        SetWindowLongPtrA(nativeWindow, 0, 0);
        SendMessageA(theApp->clientWindow, WM_MDIDESTROY, WPARAM(nativeWindow), 0);
    }
    if (created) {
        created = 0;
        panes.clear();
        if (menuBar && IsMenu(menuBar)) DestroyMenu(menuBar);
    }
}

void vWindow::unlink() {
    unlinkFirst(windowList, &vWindow::nextWindow,
                [this](vWindow* window) { return window == this; });
}

void vWindow::createWindow() {
    if (windowCount >= 1 && theApp->singleWindow) return;
    menuBar = CreateMenu();
    DWORD style = theApp->singleWindow
                      ? WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_MAXIMIZE
                      : 0;
    std::wstring title = wideText(name);
    MDICREATESTRUCTW create = {};
    create.szClass = L"MdiWindowClass";
    create.szTitle = title.c_str();
    create.hOwner = theApp->instance();
    create.x = CW_USEDEFAULT;
    create.y = CW_USEDEFAULT;
    create.cx = width + 2 * GetSystemMetrics(SM_CXFRAME);
    create.cy = height + GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME);
    create.style = style;
    create.lParam = reinterpret_cast<LPARAM>(this);
    creatingWindow = this;
    HWND window = reinterpret_cast<HWND>(
        SendMessageW(theApp->clientWindow, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    creatingWindow = nullptr;
    nativeWindow = window;
    if (!window) return;
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(this));
    setTitle(name);
    ++windowCount;
    cursor = LoadCursor(nullptr, IDC_ARROW);
    SetFocus(window);
    created = 1;
}

void vWindow::onKey(int key, int shift) {
    theApp->onAppKey(this, key, shift);
}

void vWindow::onMenuCommand(int id) {
    onCommand(id, id, Menu);
}

void vWindow::onCommand(int id, int value, int kind) {
    theApp->appCommand(this, id, value, kind);
}

void vWindow::addPane(vPane* pane) {
    panes.push_front(pane);
    if (pane->paneKind() != PaneMenu) {
        pane->initialize(this, nativeWindow);
        return;
    }
    menuPane = static_cast<vMenuPane*>(pane);
    pane->initialize(this, menuBar);
    if (HMENU windowMenu = GetSubMenu(menuBar, windowMenuIndex))
        SendMessageA(theApp->clientWindow, WM_MDISETMENU, WPARAM(menuBar), LPARAM(windowMenu));
    DrawMenuBar(theApp->frameWindow);
}

int vWindow::getValue(int id) {
    for (vPane* pane : panes) {
        int value = 0;
        if (pane->getPaneValue(id, value)) return value;
    }
    return 0;
}

int vWindow::getTextIn(int id, char* buffer, int max) {
    for (vPane* pane : panes)
        if (pane->getPaneTextIn(id, buffer, max)) return 1;
    return 0;
}

void vWindow::raiseWindow() {
    BringWindowToTop(nativeWindow);
}

void vWindow::setValue(int id, int value, int setType) {
    for (vPane* pane : panes)
        pane->setPaneValue(id, value, setType);
}

void vWindow::setString(int id, const char* text) {
    for (vPane* pane : panes)
        pane->setPaneString(id, text);
}

void vWindow::setValueAll(int id, int value, int setType) {
    for (vWindow* window = windowList; window; window = window->nextWindow)
        window->setValue(id, value, setType);
}

void vWindow::setStringAll(int id, const char* text) {
    for (vWindow* window = windowList; window; window = window->nextWindow)
        window->setString(id, text);
}

void vWindow::setTitle(const char* text) {
    SetWindowTextW(nativeWindow, wideText(text).c_str());
}

void vWindow::getWindowPosition(int& left, int& top, int& outerWidth, int& outerHeight) {
    RECT rect = {};
    GetWindowRect(nativeWindow, &rect);
    POINT origin = {0, 0};
    ClientToScreen(theApp->clientWindow, &origin);
    left = rect.left >= origin.x ? rect.left - origin.x : rect.left;
    top = rect.top >= origin.y ? rect.top - origin.y : rect.top;
    outerWidth = rect.right - rect.left;
    outerHeight = rect.bottom - rect.top;
}

void vWindow::setWindowPosition(int left, int top) {
    SetWindowPos(nativeWindow, nullptr, left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void vWindow::closeWindow() {
    handle = nullptr;
    --windowCount;
    unlink();
    HWND window = nativeWindow;
    nativeWindow = nullptr;
    if (window) SendMessageA(theApp->clientWindow, WM_MDIDESTROY, WPARAM(window), 0);
}

void vWindow::setCursorKind(int kind) {
    LPCSTR shape = IDC_ARROW;
    switch (kind) {
    case CursorUpArrow: shape = IDC_UPARROW; break;
    case CursorCross:
    case CursorCrossHair: shape = IDC_CROSS; break;
    case CursorSizeLeftRight: shape = IDC_SIZEWE; break;
    case CursorText: shape = IDC_IBEAM; break;
    case CursorIcon: shape = IDC_ICON; break;
    case CursorSizeUpDown: shape = IDC_SIZENS; break;
    case CursorSizeAll: shape = IDC_SIZEALL; break;
    case CursorWait: shape = IDC_WAIT; break;
    default: break;
    }
    cursor = LoadCursorA(nullptr, shape);
}

void vWindow::translateKey(int code, int isVirtualKey, bool repeat) {
    int shift = (GetKeyState(VK_SHIFT) < 0 ? ShiftKeyBit : 0) |
                (GetKeyState(VK_CONTROL) < 0 ? ControlKeyBit : 0);
    int key = isVirtualKey ? frameworkKey(code) : code;
    if (key == 0) return;
    adjustKeyShift(key, shift);
    int id = 0;
    if (menuPane && menuPane->findAccelerator(key, shift, id))
        onMenuCommand(id);
    else
        onKey(key, shift | (repeat ? RepeatKeyBit : 0));
}

LRESULT CALLBACK vWindow::windowProc(HWND window, UINT code, WPARAM wParam, LPARAM lParam) {
    vWindow* self = windowObject(window, creatingWindow);
    if (self && self == creatingWindow) self->nativeWindow = window;
    return dispatchMessage(self, {window, code, wParam, lParam}, [](const WindowMessage& m) {
        return DefMDIChildProcW(m.window, m.code, m.wParam, m.lParam);
    });
}

Handled vWindow::handleMessage(const WindowMessage& message) {
    switch (message.code) {
    case WM_SIZE: return handleSize(message);
    case WM_SETFOCUS: return handleSetFocus();
    case WM_KILLFOCUS: return handleKillFocus();
    case WM_PAINT: return handlePaint();
    case WM_CLOSE: return handleClose();
    case WM_QUERYENDSESSION: return handleClose();
    case WM_ERASEBKGND: return handled(1);
    case WM_CREATE: return handled();
    case WM_SETFONT: return handled();
    case WM_KEYDOWN: return handleKeyDown(message);
    case WM_CHAR: return handleChar(message);
    case WM_COMMAND: return handleCommand(message);
    case WM_HSCROLL: return handleScroll(message);
    case WM_VSCROLL: return handleScroll(message);
    case WM_MOUSEMOVE: return handleMouseMove(message);
    case WM_LBUTTONDOWN: return handleLeftDown(message);
    case WM_LBUTTONUP: return handleLeftUp(message);
    case WM_MBUTTONDOWN: return handleButtonDown(message, 2);
    case WM_MBUTTONUP: return handleButtonUp(message, 2);
    case WM_RBUTTONDOWN: return handleButtonDown(message, 3);
    case WM_RBUTTONUP: return handleButtonUp(message, 3);
    case WM_CAPTURECHANGED: return handleCaptureChanged(message);
    case WM_MDIACTIVATE: return handleActivate(message);
    default: return handleOther();
    }
}

Handled vWindow::handleSize(const WindowMessage& message) {
    if (canvasPane) canvasPane->sizeEvent(LOWORD(message.lParam), HIWORD(message.lParam));
    return NotHandled;
}

Handled vWindow::handleSetFocus() {
    theApp->setValueInWindows(IdPaste, theApp->clipboardHasText(), SetSensitive);
    if (canvasPane) canvasPane->enterFocus();
    return handled();
}

Handled vWindow::handleKillFocus() {
    if (canvasPane) canvasPane->leaveFocus();
    return handled();
}

Handled vWindow::handlePaint() {
    if (canvasPane) canvasPane->paintEvent();
    return NotHandled;
}

Handled vWindow::handleClose() {
    theApp->closeAppWindow(this);
    return handled();
}

Handled vWindow::handleKeyDown(const WindowMessage& message) {
    if (!isKeyDownDelivered(int(message.wParam))) return NotHandled;
    translateKey(int(message.wParam), 1, message.lParam & (1 << 30));
    return handled();
}

Handled vWindow::handleChar(const WindowMessage& message) {
    translateKey(int(message.wParam), 0, message.lParam & (1 << 30));
    return handled();
}

Handled vWindow::handleCommand(const WindowMessage& message) {
    onMenuCommand(message.lowWord());
    return handled();
}

Handled vWindow::handleScroll(const WindowMessage& message) {
    if (!canvasPane) return handled();
    if (message.code == WM_HSCROLL)
        canvasPane->hScrollEvent(message.lowWord(), message.highWord());
    else
        canvasPane->vScrollEvent(message.lowWord(), message.highWord());
    return handled();
}

Handled vWindow::handleMouseMove(const WindowMessage& message) {
    SetCursor(cursor);
    if (!canvasPane) return handled();
    int button = 0;
    if (message.wParam & MK_LBUTTON)
        button = leftDown ? 1 : 0;
    else if (message.wParam & MK_MBUTTON)
        button = 2;
    else if (message.wParam & MK_RBUTTON)
        button = 3;
    if (button)
        canvasPane->onMouseDrag(message.x(), message.y(), button);
    else
        canvasPane->onMouseMove(message.x(), message.y());
    return handled();
}

Handled vWindow::handleLeftDown(const WindowMessage& message) {
    // The click that re-activates a window only activates it.
    if (activationClick && previousActive) {
        activationClick = 0;
        return NotHandled;
    }
    leftDown = 1;
    if (canvasPane) canvasPane->onMouseDown(message.x(), message.y(), 1);
    return handled();
}

Handled vWindow::handleLeftUp(const WindowMessage& message) {
    if (leftDown && canvasPane) canvasPane->onMouseUp(message.x(), message.y(), 1);
    leftDown = 0;
    return handled();
}

Handled vWindow::handleButtonDown(const WindowMessage& message, int button) {
    if (canvasPane) canvasPane->onMouseDown(message.x(), message.y(), button);
    return handled();
}

Handled vWindow::handleButtonUp(const WindowMessage& message, int button) {
    if (canvasPane) canvasPane->onMouseUp(message.x(), message.y(), button);
    return handled();
}

Handled vWindow::handleCaptureChanged(const WindowMessage& message) {
    if (canvasPane && HWND(message.lParam) != message.window) canvasPane->onCaptureLost();
    return handled();
}

Handled vWindow::handleActivate(const WindowMessage& message) {
    bool becomingActive = HWND(message.lParam) == message.window;
    if (becomingActive) {
        if (theApp->closing) return handled();
        SendMessageA(theApp->clientWindow, WM_MDISETMENU, WPARAM(menuBar),
                     LPARAM(GetSubMenu(menuBar, windowMenuIndex)));
        previousActive = activeWindow;
        activeWindow = nativeWindow;
        activationClick = 1;
        DrawMenuBar(theApp->frameWindow);
        theApp->showPanesFor(this);
        SendMessageA(theApp->frameWindow, RelayoutMessage, 0, 0);
        return handled();
    }
    SendMessageA(theApp->clientWindow, WM_MDISETMENU, WPARAM(theApp->frameMenu),
                 LPARAM(GetSubMenu(theApp->frameMenu, 0)));
    DrawMenuBar(theApp->frameWindow);
    theApp->showPanesFor(this);
    return handled();
}

Handled vWindow::handleOther() {
    // While the application closes, nothing reaches the platform default.
    return theApp->closing ? handled() : NotHandled;
}
