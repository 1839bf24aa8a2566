#include "framework/app/vWindow.h"

#include "framework/app/KeyCodes.h"
#include "framework/app/MenuItemDef.h"
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

// Key-down codes turned into key events; the others come back as characters.
bool isTranslatedKeyDown(WPARAM code) {
    if (code >= 112 && code <= 127) return true;
    if (code > 47) return false;
    switch (code) {
    case 3:
    case 8:
    case 9:
    case 13:
    case 16:
    case 17:
    case 27:
    case 32: return false;
    default: return true;
    }
}

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
    for (vWindow** link = &windowList; *link; link = &(*link)->nextWindow) {
        if (*link == this) {
            *link = nextWindow;
            nextWindow = nullptr;
            return;
        }
    }
}

void vWindow::createWindow() {
    if (windowCount >= 1 && theApp->singleWindow) return;
    menuBar = CreateMenu();
    DWORD style = theApp->singleWindow
                      ? WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_MAXIMIZE
                      : 0;
    MDICREATESTRUCTA create = {};
    create.szClass = "MdiWindowClass";
    create.szTitle = name;
    create.hOwner = theApp->instance();
    create.x = CW_USEDEFAULT;
    create.y = CW_USEDEFAULT;
    create.cx = width + 2 * GetSystemMetrics(SM_CXFRAME);
    create.cy = height + GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME);
    create.style = style;
    create.lParam = reinterpret_cast<LPARAM>(this);
    creatingWindow = this;
    HWND window = reinterpret_cast<HWND>(
        SendMessageA(theApp->clientWindow, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    creatingWindow = nullptr;
    nativeWindow = window;
    if (!window) return;
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(this));
    SetWindowTextA(window, name);
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
    SetWindowTextA(nativeWindow, text);
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

void vWindow::translateKey(int code, int isVirtualKey) {
    int shift = (GetKeyState(VK_SHIFT) < 0 ? ShiftKeyBit : 0) |
                (GetKeyState(VK_CONTROL) < 0 ? ControlKeyBit : 0);
    int key = isVirtualKey ? frameworkKey(code) : code;
    if (key == 0) return;
    adjustKeyShift(key, shift);
    int id = 0;
    if (menuPane && menuPane->findAccelerator(key, shift, id))
        onMenuCommand(id);
    else
        onKey(key, shift);
}

LRESULT CALLBACK vWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<vWindow*>(GetWindowLongPtrA(window, 0));
    if (!self && creatingWindow) {
        self = creatingWindow;
        self->nativeWindow = window;
        SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefMDIChildProcA(window, message, wParam, lParam);
    return self->handleMessage(window, message, wParam, lParam);
}

LRESULT vWindow::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    int x = LOWORD(lParam);
    int y = HIWORD(lParam);
    switch (message) {
    case WM_SIZE:
        if (canvasPane) canvasPane->sizeEvent(x, y);
        break;
    case WM_SETFOCUS:
        theApp->setValueInWindows(IdPaste, theApp->clipboardHasText(), SetSensitive);
        if (canvasPane) canvasPane->enterFocus();
        return 0;
    case WM_KILLFOCUS:
        if (canvasPane) canvasPane->leaveFocus();
        return 0;
    case WM_PAINT:
        if (canvasPane) canvasPane->paintEvent();
        break;
    case WM_CLOSE:
    case WM_QUERYENDSESSION: theApp->closeAppWindow(this); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_CREATE:
    case WM_SETFONT: return 0;
    case WM_KEYDOWN:
        if (!isTranslatedKeyDown(wParam)) break;
        translateKey(int(wParam), 1);
        return 0;
    case WM_CHAR: translateKey(int(wParam), 0); return 0;
    case WM_COMMAND: onMenuCommand(LOWORD(wParam)); return 0;
    case WM_HSCROLL:
        if (canvasPane) canvasPane->hScrollEvent(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_VSCROLL:
        if (canvasPane) canvasPane->vScrollEvent(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_MOUSEMOVE: mouseMove(wParam, x, y); return 0;
    case WM_LBUTTONDOWN: {
        bool delivered = false;
        leftButtonDown(x, y, delivered);
        if (delivered) return 0;
        break;
    }
    case WM_LBUTTONUP:
        if (leftDown && canvasPane) canvasPane->onMouseUp(x, y, 1);
        leftDown = 0;
        return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (canvasPane) canvasPane->onMouseDown(x, y, message == WM_RBUTTONDOWN ? 3 : 2);
        return 0;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (canvasPane) canvasPane->onMouseUp(x, y, message == WM_RBUTTONUP ? 3 : 2);
        return 0;
    case WM_MDIACTIVATE: activate(HWND(lParam) == window); return 0;
    default:
        if (theApp->closing) return 0;
        break;
    }
    return DefMDIChildProcA(window, message, wParam, lParam);
}

void vWindow::leftButtonDown(int x, int y, bool& delivered) {
    // The click that re-activates a window only activates it.
    if (activationClick && previousActive) {
        activationClick = 0;
        return;
    }
    delivered = true;
    leftDown = 1;
    if (canvasPane) canvasPane->onMouseDown(x, y, 1);
}

void vWindow::mouseMove(WPARAM buttons, int x, int y) {
    SetCursor(cursor);
    if (!canvasPane) return;
    int button = 0;
    if (buttons & MK_LBUTTON)
        button = leftDown ? 1 : 0;
    else if (buttons & MK_MBUTTON)
        button = 2;
    else if (buttons & MK_RBUTTON)
        button = 3;
    if (button)
        canvasPane->onMouseDrag(x, y, button);
    else
        canvasPane->onMouseMove(x, y);
}

void vWindow::activate(bool becomingActive) {
    if (becomingActive) {
        if (theApp->closing) return;
        SendMessageA(theApp->clientWindow, WM_MDISETMENU, WPARAM(menuBar),
                     LPARAM(GetSubMenu(menuBar, windowMenuIndex)));
        previousActive = activeWindow;
        activeWindow = nativeWindow;
        activationClick = 1;
        DrawMenuBar(theApp->frameWindow);
        theApp->showPanesFor(this);
        SendMessageA(theApp->frameWindow, RelayoutMessage, 0, 0);
        return;
    }
    SendMessageA(theApp->clientWindow, WM_MDISETMENU, WPARAM(theApp->frameMenu),
                 LPARAM(GetSubMenu(theApp->frameMenu, 0)));
    DrawMenuBar(theApp->frameWindow);
    theApp->showPanesFor(this);
}
