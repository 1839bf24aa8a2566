// The program entry and the frame window's procedure of the application.
#include "framework/app/CommandLine.h"
#include "framework/app/MenuItemDef.h"
#include "framework/app/WideText.h"
#include "framework/app/WindowMessage.h"
#include "framework/app/vApp.h"
#include "framework/app/vToolWindow.h"
#include "framework/dialogs/KeyboardFilters.h"

#include <commctrl.h>
#include <shellapi.h>
#include <string>

namespace {

StartHook startHook = nullptr;

} // namespace

void setStartHook(StartHook hook) {
    startHook = hook;
}

int appStart(HINSTANCE instance, HINSTANCE prevInstance, const char* commandLine, int showState) {
    static char* argv[MaxArguments];
    static std::string programPath, line;
    InitCommonControls();
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), DWORD(path.size())));
    programPath = utf8Text(path);
    argv[0] = programPath.data();
    line = commandLine ? commandLine : "";
    int argc = splitCommandLine(&line[0], 1, argv);
    if (!theApp || !startHook) return 1;
    theApp->initApp(argc, argv, instance, prevInstance, showState);
    int result = startHook(argc, argv);
    return result != 0 ? result : theApp->messageLoop();
}

LRESULT CALLBACK vApp::frameProc(HWND window, UINT code, WPARAM wParam, LPARAM lParam) {
    // The one frame belongs to the one application.
    if (!theApp) return DefWindowProcW(window, code, wParam, lParam);
    return dispatchMessage(theApp, {window, code, wParam, lParam},
                           [](const WindowMessage& m) { return theApp->frameDefault(m); });
}

LRESULT vApp::frameDefault(const WindowMessage& m) {
    return DefFrameProcW(m.window, clientWindow, m.code, m.wParam, m.lParam);
}

Handled vApp::handleMessage(const WindowMessage& message) {
    switch (message.code) {
    case WM_CREATE: return handleCreate(message);
    case WM_DESTROY: return handled();
    case WM_SIZE: return handleSize(message);
    case WM_MOVE: return handleMove();
    case WM_CLOSE: return handleClose(message);
    case WM_QUERYENDSESSION: return handled(1);
    case WM_ENDSESSION: return handleEndSession(message);
    case WM_COMMAND: return handleCommand(message);
    case WM_SYSCOMMAND: return handleSysCommand(message);
    case WM_DROPFILES: return handleDropFiles(message);
    case RelayoutMessage: return handleRelayout();
    case WM_MOUSEACTIVATE: return handleMouseActivate();
    default: return NotHandled;
    }
}

Handled vApp::handleCreate(const WindowMessage& message) {
    CLIENTCREATESTRUCT client = {frameFileMenu, IdFirstChild};
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL |
                  WS_VSCROLL | (singleWindow ? MDIS_ALLCHILDSTYLES : 0);
    clientWindow = CreateWindowW(L"MDICLIENT", nullptr, style, 0, 0, 0, 0, message.window, nullptr,
                                 instance(), &client);
    if (!clientWindow) return handled(-1);
    // The client shows its scroll bars only when children lie outside it;
    // some platforms show them from creation until a child moves.
    ShowScrollBar(clientWindow, SB_BOTH, FALSE);
    DragAcceptFiles(message.window, TRUE);
    return handled();
}

Handled vApp::handleSize(const WindowMessage& message) {
    SendMessageA(message.window, RelayoutMessage, 0, 0);
    vToolWindow::followFrame();
    return handled();
}

Handled vApp::handleMove() {
    vToolWindow::followFrame();
    return handled();
}

Handled vApp::handleClose(const WindowMessage& message) {
    DragAcceptFiles(message.window, FALSE);
    exitApp();
    return handled();
}

// The session may end the process right after: close every window as Exit
// does, so each keeps what it has to.
Handled vApp::handleEndSession(const WindowMessage& message) {
    if (message.wParam) exitApp();
    return handled();
}

Handled vApp::handleCommand(const WindowMessage& message) {
    int id = message.lowWord();
    switch (id) {
    case IdCascade: SendMessageA(clientWindow, WM_MDICASCADE, 0, 0); return handled();
    case IdTile: SendMessageA(clientWindow, WM_MDITILE, 0, 0); return handled();
    case IdArrangeIcons: SendMessageA(clientWindow, WM_MDIICONARRANGE, 0, 0); return handled();
    case IdFrameNew: appCommand(nullptr, IdNew, 0, 0); return handled();
    case IdFrameOpen: appCommand(nullptr, IdOpen, 0, 0); return handled();
    case IdFrameExit: appCommand(nullptr, IdExit, 0, 0); return handled();
    default: break;
    }
    HWND active = reinterpret_cast<HWND>(SendMessageA(clientWindow, WM_MDIGETACTIVE, 0, 0));
    if (active && id < IdFirstChild)
        SendMessageA(active, WM_COMMAND, message.wParam, message.lParam);
    // The default activates a child when a window-list entry was chosen.
    frameDefault(message);
    return handled();
}

Handled vApp::handleSysCommand(const WindowMessage& message) {
    SetFocus(message.window);
    frameDefault(message);
    return handled();
}

Handled vApp::handleDropFiles(const WindowMessage& message) {
    auto drop = reinterpret_cast<HDROP>(message.wParam);
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), UINT(path.size())));
        DroppedFile file = {utf8Text(path), 0, 0};
        POINT point = {};
        DragQueryPoint(drop, &point);
        file.x = point.x;
        file.y = point.y;
        onDropFile(file);
    }
    DragFinish(drop);
    return handled();
}

Handled vApp::handleRelayout() {
    relayoutFrame();
    return handled();
}

Handled vApp::handleMouseActivate() {
    // Wine asks so, as for a click, before it follows the window manager's
    // offer of the keyboard; a real click holds a button down.
    bool pressed = GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0;
    if (!pressed && dialogKeepsActivation()) return handled(MA_NOACTIVATE);
    return NotHandled;
}
