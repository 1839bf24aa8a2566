#include "framework/app/vApp.h"

#include "framework/app/CommandLine.h"
#include "framework/app/WideText.h"
#include "framework/app/FrameLayout.h"
#include "framework/app/MenuItemDef.h"
#include "framework/app/vAppWinInfo.h"
#include "framework/app/vBar.h"
#include "framework/app/vCmdWindow.h"
#include "framework/app/vTimer.h"
#include "framework/dialogs/KeyboardFilters.h"
#include "framework/draw/DrawingSetup.h"

#include <algorithm>
#include <vector>

vApp* theApp = nullptr;
int appDestroyed = 0;

namespace {

// The framework's name, the caption of its warning boxes.
const char* const frameworkName = "Vornik";

} // namespace

vApp::vApp(const char* name, int singleWindow, int width, int height)
    : vBaseItem(name), defaultHeight(height), defaultWidth(width),
      frameWidth(width > 0 ? width + 20 : 0), frameHeight(height > 0 ? height + 20 : 0),
      singleWindow(singleWindow) {
    theApp = this;
    appDestroyed = 0;
}

vApp::~vApp() {
    appDestroyed = 1;
    for (WindowEntry& entry : windows)
        delete entry.info;
    if (theApp == this) theApp = nullptr;
}

void vApp::appCommand(vWindow*, int id, int, int) {
    if (id == IdExit) exitApp();
}

void vApp::closeLastCmdWindow(vWindow* window, int) {
    queueWindowDelete(window);
    postQuit(0);
}

int vApp::closeAppWindow(vWindow* window) {
    window->closeWindow();
    unregisterWindow(window);
    queueWindowDelete(window);
    return 1;
}

int vApp::closeAuxWindow(vWindow* window) {
    return vApp::closeAppWindow(window);
}

void vApp::exitApp() {
    if (closing) return;
    stopWorkTimer();
    closing = 1;
    for (;;) {
        if (windows.empty()) {
            closing = 0;
            postQuit(0);
            return;
        }
        vWindow* window = windows.front().window;
        int closed = isAuxWindow(window) ? closeAuxWindow(window) : closeAppWindow(window);
        if (!closed) {
            closing = 0;
            return;
        }
    }
}

void vApp::onAppKey(vWindow*, int, int) {}

vWindow* vApp::newAppWindow(vWindow* window, const char* name, int width, int height,
                            vAppWinInfo* info) {
    if (!window) window = new vCmdWindow(name, width, height);
    if (!info) info = new vAppWinInfo(name, 0);
    registerWindow(window, info);
    return window;
}

vWindow* vApp::newAuxWindow(vWindow* window) {
    if (window) registerWindow(window, nullptr);
    return window;
}

void vApp::onDropFile(const DroppedFile&) {}

void vApp::onWorkSlice() {}

void vApp::registerWindow(vWindow* window, vAppWinInfo* info) {
    windows.push_front({window, info});
}

void vApp::unregisterWindow(vWindow* window) {
    windows.remove_if([window](const WindowEntry& entry) {
        if (entry.window != window) return false;
        delete entry.info;
        return true;
    });
}

int vApp::isAuxWindow(vWindow* window) {
    for (const WindowEntry& entry : windows)
        if (entry.window == window) return entry.info ? 0 : 1;
    return 0;
}

void vApp::queueWindowDelete(vWindow* window) {
    for (vWindow* queued : deleteList)
        if (queued == window) return;
    deleteList.push_front(window);
}

void vApp::postQuit(int code) {
    if (!closing) PostQuitMessage(code);
}

void vApp::addCommandPane(vBar* bar) {
    commandPanes.push_front(bar);
}

void vApp::removeCommandPane(vBar* bar) {
    commandPanes.remove(bar);
}

void vApp::showPanesFor(vWindow* window) {
    for (vBar* bar : commandPanes)
        bar->showFor(window);
}

void vApp::setValueInWindows(int id, int value, int setType) {
    for (WindowEntry& entry : windows)
        entry.window->setValue(id, value, setType);
}

int vApp::clipboardHasText() {
    return IsClipboardFormatAvailable(CF_TEXT) ? 1 : 0;
}

void vApp::doWorkSlice() {
    onWorkSlice();
    // A window may close itself, or another, in its slice: walk a copy and
    // skip the windows closed meanwhile.
    std::vector<vWindow*> slicing;
    for (const WindowEntry& entry : windows)
        slicing.push_back(entry.window);
    for (vWindow* window : slicing)
        if (isRegistered(window)) window->onWorkSlice();
}

bool vApp::isRegistered(const vWindow* window) const {
    for (const WindowEntry& entry : windows)
        if (entry.window == window) return true;
    return false;
}

void vApp::initApp(int& argc, char** argv, HINSTANCE programInstance, HINSTANCE prevInstance,
                   int showState) {
    argc = removeDebugOption(argc, argv);
    handle = programInstance;
    if (!prevInstance) {
        appIcon = LoadIconA(programInstance, "vAppIcon");
        if (!appIcon) appIcon = LoadIcon(nullptr, IDI_APPLICATION);
        windowIcon = LoadIconA(programInstance, "vWindowIcon");
        if (!windowIcon) windowIcon = LoadIcon(nullptr, IDI_APPLICATION);

        // Wide windows: their texts hold any character, not only the code page's.
        WNDCLASSW frameClass = {};
        frameClass.style = CS_HREDRAW | CS_VREDRAW;
        frameClass.lpfnWndProc = frameProc;
        frameClass.hInstance = programInstance;
        frameClass.hIcon = appIcon;
        frameClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
        frameClass.lpszClassName = L"MdiFrameClass";
        RegisterClassW(&frameClass);

        WNDCLASSW childClass = {};
        childClass.style = CS_HREDRAW | CS_VREDRAW;
        childClass.lpfnWndProc = vWindow::windowProc;
        childClass.cbWndExtra = sizeof(LONG_PTR);
        childClass.hInstance = programInstance;
        childClass.hIcon = windowIcon;
        childClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        childClass.lpszClassName = L"MdiWindowClass";
        RegisterClassW(&childClass);
    }

    frameFileMenu = CreatePopupMenu();
    AppendMenuA(frameFileMenu, MF_STRING, IdFrameNew, "&New");
    AppendMenuA(frameFileMenu, MF_STRING, IdFrameOpen, "&Open");
    AppendMenuA(frameFileMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(frameFileMenu, MF_STRING, IdFrameExit, "E&xit");
    frameMenu = CreateMenu();
    AppendMenuA(frameMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(frameFileMenu), "&File");
    accelerators = nullptr;

    frameWindow =
        CreateWindowW(L"MdiFrameClass", wideText(name).c_str(),
                      WS_VISIBLE | WS_CLIPCHILDREN | WS_MAXIMIZE | WS_OVERLAPPEDWINDOW,
                      CW_USEDEFAULT, CW_USEDEFAULT, frameWidth > 0 ? frameWidth : CW_USEDEFAULT,
                      frameHeight > 0 ? frameHeight : CW_USEDEFAULT, nullptr, frameMenu,
                      programInstance, nullptr);
    RECT frame = {};
    GetWindowRect(frameWindow, &frame);
    if (defaultHeight <= 0) defaultHeight = std::max(int(frame.bottom - frame.top) - 200, 50);
    if (defaultWidth <= 0) defaultWidth = std::max(int(frame.right - frame.left) - 50, 50);
    clientWindow = GetWindow(frameWindow, GW_CHILD);
    DrawingSetup& drawing = drawingSetup();
    drawing.font = defaultFont();
    drawing.memoryWidth = defaultWidth;
    drawing.memoryHeight = defaultHeight;
    drawing.frameWindow = frameWindow;

    whitePen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    greyPen = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
    COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    if (highlight == GetSysColor(COLOR_BTNFACE)) highlight = RGB(255, 255, 255);
    highlightPen = CreatePen(PS_INSIDEFRAME, 1, highlight);
    shadowPen = CreatePen(PS_INSIDEFRAME, 1, GetSysColor(COLOR_BTNSHADOW));
    faceBrush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));

    ShowWindow(frameWindow, showState);
    UpdateWindow(frameWindow);
    initialized = 1;
}

int vApp::messageLoop() {
    MSG message = {};
    int got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        if (filterDialogMessage(&message)) continue;
        if (filterPaneMessage(&message)) continue;
        if (clientWindow && TranslateMDISysAccel(clientWindow, &message)) continue;
        if (accelerators && TranslateAcceleratorW(frameWindow, accelerators, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    stopWorkTimer();
    // Windows are deleted only now, when no message can reach them any more.
    for (vWindow* window : deleteList)
        delete window;
    deleteList.clear();
    releaseResources();
    return got == 0 ? int(message.wParam) : 1;
}

void vApp::stopWorkTimer() {
    delete workTimer; // stops it
    workTimer = nullptr;
}

void vApp::releaseResources() {
    DestroyIcon(appIcon);
    DestroyIcon(windowIcon);
    for (HGDIOBJ object : {HGDIOBJ(whitePen), HGDIOBJ(greyPen), HGDIOBJ(highlightPen),
                           HGDIOBJ(shadowPen), HGDIOBJ(faceBrush)})
        DeleteObject(object);
    appIcon = windowIcon = nullptr;
    whitePen = greyPen = highlightPen = shadowPen = nullptr;
    faceBrush = nullptr;
    if (clientWindow) DestroyWindow(clientWindow);
    if (frameWindow) {
        SetMenu(frameWindow, nullptr);
        DestroyWindow(frameWindow);
    }
    // Destroying the bar destroys its "&File" popup too.
    DestroyMenu(frameMenu);
    clientWindow = frameWindow = nullptr;
    frameMenu = frameFileMenu = nullptr;
}

void vApp::relayoutFrame() {
    if (!clientWindow || !frameWindow) return;
    RECT area;
    GetClientRect(frameWindow, &area);
    int width = area.right;
    std::vector<vBar*> placed;
    std::vector<BarSlot> slots;
    for (vBar* bar : commandPanes) {
        if (!bar->inLayout()) continue;
        placed.push_back(bar);
        slots.push_back({bar->atBottom(), bar->barHeight(), 0, 0});
    }
    int top = 0;
    int bottom = area.bottom;
    stackBars(slots.data(), int(slots.size()), top, bottom);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        MoveWindow(placed[i]->barWindow(), 0, slots[i].top, width, slots[i].height, TRUE);
        placed[i]->placed(slots[i].edge);
    }
    MoveWindow(clientWindow, 0, top, width, bottom - top, TRUE);
}

void vApp::warningBox(const char* text) {
    MessageBoxW(nullptr, wideText(text ? text : "").c_str(), wideText(frameworkName).c_str(),
                MB_OK | MB_ICONWARNING);
}

void vApp::fatalError(const char* text) {
    warningBox(text);
    postQuit(99);
}
