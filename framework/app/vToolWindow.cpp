#include "framework/app/vToolWindow.h"

#include "framework/app/WindowMessage.h"
#include "framework/app/vApp.h"
#include "framework/draw/vWinDC.h"

namespace {

const char* const className = "ToolWindowClass";
vToolWindow* creatingTool = nullptr;

void registerClass(HINSTANCE instance) {
    WNDCLASSA existing;
    if (GetClassInfoA(instance, className, &existing)) return;
    WNDCLASSA toolClass = {};
    toolClass.lpfnWndProc = vToolWindow::windowProc;
    toolClass.cbWndExtra = sizeof(LONG_PTR);
    toolClass.hInstance = instance;
    toolClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    toolClass.lpszClassName = className;
    RegisterClassA(&toolClass);
}

} // namespace

vToolWindow::vToolWindow(const char* name, int width, int height)
    : vBaseWindow(name, 0), width(width), height(height) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    registerClass(instance);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT outer = {0, 0, width, height};
    AdjustWindowRect(&outer, style, FALSE);
    creatingTool = this;
    // Never active: keys and menus stay with the window being edited.
    nativeWindow =
        CreateWindowExA(WS_EX_NOACTIVATE, className, name, style, CW_USEDEFAULT, CW_USEDEFAULT,
                        outer.right - outer.left, outer.bottom - outer.top,
                        theApp ? theApp->frameWindow : nullptr, nullptr, instance, nullptr);
    creatingTool = nullptr;
}

vToolWindow::~vToolWindow() {
    if (!nativeWindow) return;
    SetWindowLongPtrA(nativeWindow, 0, 0);
    DestroyWindow(nativeWindow);
}

void vToolWindow::show() {
    RECT frame = {}, own = {};
    GetWindowRect(theApp->frameWindow, &frame);
    GetWindowRect(nativeWindow, &own);
    int outerWidth = own.right - own.left;
    int left = frame.right + outerWidth <= GetSystemMetrics(SM_CXSCREEN) ? frame.right
                                                                         : frame.left - outerWidth;
    SetWindowPos(nativeWindow, nullptr, left < 0 ? 0 : left, frame.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(nativeWindow, SW_SHOWNOACTIVATE);
}

void vToolWindow::hide() {
    ShowWindow(nativeWindow, SW_HIDE);
}

bool vToolWindow::isShown() const {
    return IsWindowVisible(nativeWindow);
}

void vToolWindow::redraw() {
    InvalidateRect(nativeWindow, nullptr, FALSE);
}

void vToolWindow::setTitle(const char* text) {
    SetWindowTextA(nativeWindow, text);
}

LRESULT CALLBACK vToolWindow::windowProc(HWND window, UINT code, WPARAM wParam, LPARAM lParam) {
    vToolWindow* self = windowObject(window, creatingTool);
    return dispatchMessage(self, {window, code, wParam, lParam}, [](const WindowMessage& m) {
        return DefWindowProcA(m.window, m.code, m.wParam, m.lParam);
    });
}

Handled vToolWindow::handleMessage(const WindowMessage& message) {
    switch (message.code) {
    case WM_PAINT: return handlePaint();
    case WM_ERASEBKGND: return handled(1);
    case WM_MOUSEACTIVATE: return handled(MA_NOACTIVATE);
    case WM_CLOSE: return handleClose();
    case WM_LBUTTONDOWN: return handleMouseDown(message);
    case WM_VSCROLL: return handleScroll(message);
    case WM_MOUSEWHEEL: return handleWheel(message);
    default: return NotHandled;
    }
}

Handled vToolWindow::handlePaint() {
    PAINTSTRUCT paint;
    vWinDC dc;
    dc.hdc = BeginPaint(nativeWindow, &paint);
    onRedraw(dc);
    EndPaint(nativeWindow, &paint);
    return handled();
}

Handled vToolWindow::handleClose() {
    onClose();
    return handled();
}

Handled vToolWindow::handleMouseDown(const WindowMessage& message) {
    onMouseDown(message.x(), message.y());
    return handled();
}

Handled vToolWindow::handleScroll(const WindowMessage& message) {
    onScroll(message.lowWord(), message.highWord());
    return handled();
}

Handled vToolWindow::handleWheel(const WindowMessage& message) {
    onWheel(GET_WHEEL_DELTA_WPARAM(message.wParam));
    return handled();
}
