#include "framework/app/vToolWindow.h"

#include "framework/app/WindowMessage.h"
#include "framework/app/WideText.h"
#include "framework/app/vApp.h"
#include "framework/draw/vWinDC.h"

#include <algorithm>
#include <vector>

namespace {

const wchar_t* const className = L"ToolWindowClass";
vToolWindow* creatingTool = nullptr;
std::vector<vToolWindow*> tools;

void registerClass(HINSTANCE instance) {
    WNDCLASSW existing;
    if (GetClassInfoW(instance, className, &existing)) return;
    WNDCLASSW toolClass = {};
    toolClass.lpfnWndProc = vToolWindow::windowProc;
    toolClass.cbWndExtra = sizeof(LONG_PTR);
    toolClass.hInstance = instance;
    toolClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    toolClass.lpszClassName = className;
    RegisterClassW(&toolClass);
}

// The top-left corner for a window of `width` x `height` beside `frame`,
// within `work`, never over `clear`.
POINT placeBeside(const RECT& frame, const RECT& clear, const RECT& work, int width, int height) {
    int top = std::max(int(work.top), std::min(int(frame.top), int(work.bottom) - height));
    if (frame.right + width <= work.right) return {frame.right, top};
    if (frame.left - width >= work.left) return {frame.left - width, top};
    if (frame.bottom + height <= work.bottom) {
        int left = std::max(int(work.left), std::min(int(frame.left), int(work.right) - width));
        return {left, frame.bottom};
    }
    int left = std::min(frame.right, work.right) - width;
    return {std::max(left, int(clear.right)), top};
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
        CreateWindowExW(WS_EX_NOACTIVATE, className, wideText(name).c_str(), style, CW_USEDEFAULT,
                        CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                        theApp ? theApp->frameWindow : nullptr, nullptr, instance, nullptr);
    creatingTool = nullptr;
    tools.push_back(this);
}

vToolWindow::~vToolWindow() {
    tools.erase(std::find(tools.begin(), tools.end(), this));
    if (!nativeWindow) return;
    SetWindowLongPtrA(nativeWindow, 0, 0);
    DestroyWindow(nativeWindow);
}

void vToolWindow::show() {
    place();
    ShowWindow(nativeWindow, SW_SHOWNOACTIVATE);
}

void vToolWindow::place() {
    HWND frameWindow = theApp->frameWindow;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    RECT frame = {}, own = {}, clear = {};
    if (IsIconic(frameWindow) || !GetWindowRect(frameWindow, &frame) ||
        !GetMonitorInfoA(MonitorFromWindow(frameWindow, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    GetWindowRect(nativeWindow, &own);
    if (!areaToKeepClear(clear)) clear.right = monitor.rcWork.left;
    POINT at =
        placeBeside(frame, clear, monitor.rcWork, own.right - own.left, own.bottom - own.top);
    SetWindowPos(nativeWindow, nullptr, at.x, at.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void vToolWindow::followFrame() {
    for (vToolWindow* tool : tools)
        if (tool->isShown()) tool->place();
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
    SetWindowTextW(nativeWindow, wideText(text ? text : "").c_str());
}

LRESULT CALLBACK vToolWindow::windowProc(HWND window, UINT code, WPARAM wParam, LPARAM lParam) {
    vToolWindow* self = windowObject(window, creatingTool);
    return dispatchMessage(self, {window, code, wParam, lParam}, [](const WindowMessage& m) {
        return DefWindowProcW(m.window, m.code, m.wParam, m.lParam);
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
