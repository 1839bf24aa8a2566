// Windows, keys, mouse routing, activation, closing and the frame, driven
// through real messages.
#include "framework/app/MenuItemDef.h"
#include "framework/app/vAppWinInfo.h"
#include "framework/dialogs/CommandObject.h"
#include "framework/dialogs/vCommandPane.h"
#include "framework/draw/vMemoryDC.h"
#include "tests/framework/Recorders.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

extern SIZE frameAtStart;

namespace {

using Events = std::vector<std::string>;

// A registered window with its canvas pane, closed and deleted at the end.
struct OpenWindow {
    explicit OpenWindow(EventLog& log, const char* name = "Recorder") {
        window = static_cast<RecordingWindow*>(
            theApp->newAppWindow(new RecordingWindow(log, name), name, 0, 0, nullptr));
        window->addPane(&window->canvas);
        pumpMessages();
        log.take();
    }
    ~OpenWindow() {
        if (window) RecordingWindow::closeAndDelete(window);
        int code;
        takeQuit(code);
    }
    HWND hwnd() const { return window->nativeWindow; }
    RecordingWindow* window;
};

LPARAM at(int x, int y) {
    return MAKELPARAM(x, y);
}

class Windows : public ::testing::Test {
  protected:
    void TearDown() override { setHeldKeys(false, false); }
    EventLog log;
};

TEST_F(Windows, WindowWithoutSizeTakesTheApplicationDefault) {
    EXPECT_EQ(theApp->defaultWidth, std::max(int(frameAtStart.cx) - 50, 50));
    EXPECT_EQ(theApp->defaultHeight, std::max(int(frameAtStart.cy) - 200, 50));
    auto* window = new vCmdWindow("Default", 0, 0);
    theApp->newAppWindow(window, "Default", 0, 0, nullptr);
    EXPECT_EQ(window->width, theApp->defaultWidth);
    EXPECT_EQ(window->height, theApp->defaultHeight);
    RECT outer;
    GetWindowRect(window->nativeWindow, &outer);
    EXPECT_EQ(outer.right - outer.left, window->width + 2 * GetSystemMetrics(SM_CXFRAME));
    char title[64];
    GetWindowTextA(window->nativeWindow, title, sizeof title);
    EXPECT_STREQ(title, "Default");
    RecordingWindow::closeAndDelete(window);
}

TEST_F(Windows, KeysBecomeFrameworkCodes) {
    OpenWindow open(log);
    HWND w = open.hwnd();
    // Which keys and codes: the native key-code tests. Here: both routes and
    // the held Shift and Control read from the platform.
    SendMessageA(w, WM_KEYDOWN, VK_F5, 0);
    SendMessageA(w, WM_KEYDOWN, 'A', 0); // comes back as a character
    SendMessageA(w, WM_SYSKEYDOWN, VK_MENU, 0);
    SendMessageA(w, WM_CHAR, 'a', 0);
    setHeldKeys(true, false);
    SendMessageA(w, WM_CHAR, '\t', 0);
    SendMessageA(w, WM_KEYDOWN, VK_F1, 0);
    setHeldKeys(false, true);
    SendMessageA(w, WM_CHAR, 1, 0); // Ctrl+A
    SendMessageA(w, WM_CHAR, 'x', 0);
    setHeldKeys(false, false);
    EXPECT_EQ(log.take(), (Events{"key ffc5 0", "key 61 0", "key ff09 1", "key ffc1 1", "key 1 0",
                                  "key 78 4"}));
}

TEST_F(Windows, MouseRouting) {
    OpenWindow open(log);
    HWND w = open.hwnd();
    open.window->activationClick = 0;
    SendMessageA(w, WM_LBUTTONUP, 0, at(1, 1)); // no press was delivered
    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, at(10, 20));
    SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, at(11, 21));
    SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, at(12, 22));
    SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, at(-3, -4)); // captured, left of and above
    SendMessageA(w, WM_LBUTTONUP, 0, at(12, 22));
    SendMessageA(w, WM_LBUTTONUP, 0, at(12, 22));
    SendMessageA(w, WM_MOUSEMOVE, MK_RBUTTON, at(13, 23));
    SendMessageA(w, WM_MOUSEMOVE, MK_MBUTTON | MK_RBUTTON, at(14, 24));
    SendMessageA(w, WM_MOUSEMOVE, 0, at(15, 25));
    SendMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, at(16, 26));
    SendMessageA(w, WM_RBUTTONUP, 0, at(16, 26));
    SendMessageA(w, WM_MBUTTONDOWN, MK_MBUTTON, at(17, 27));
    SendMessageA(w, WM_MBUTTONUP, 0, at(17, 27));
    SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, at(18, 28)); // left held, press not delivered
    EXPECT_EQ(log.take(),
              (Events{"down 10 20 1", "drag 11 21 1", "drag 12 22 1", "drag -3 -4 1", "up 12 22 1",
                      "drag 13 23 3", "drag 14 24 2", "move 15 25", "down 16 26 3", "up 16 26 3",
                      "down 17 27 2", "up 17 27 2", "move 18 28"}));
}

TEST_F(Windows, FirstClickAfterReactivationOnlyActivates) {
    OpenWindow first(log, "First");
    OpenWindow second(log, "Second");
    SendMessageA(theApp->clientWindow, WM_MDIACTIVATE, WPARAM(first.hwnd()), 0);
    pumpMessages();
    EXPECT_EQ(activeWindow, first.hwnd());
    EXPECT_EQ(previousActive, second.hwnd());
    log.take();
    SendMessageA(first.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(5, 6));
    SendMessageA(first.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, at(7, 8));
    SendMessageA(first.hwnd(), WM_LBUTTONUP, 0, at(7, 8));
    SendMessageA(first.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(9, 10));
    EXPECT_EQ(log.take(), (Events{"move 7 8", "down 9 10 1"}));
}

TEST_F(Windows, FocusSizeAndPaintReachTheCanvas) {
    OpenWindow open(log);
    HWND w = open.hwnd();
    SendMessageA(w, WM_KILLFOCUS, 0, 0);
    SendMessageA(w, WM_KILLFOCUS, 0, 0);
    SendMessageA(w, WM_SETFOCUS, 0, 0);
    SendMessageA(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(123, 45));
    EXPECT_EQ(open.window->canvas.getWidth(), 123);
    EXPECT_EQ(open.window->height, 45);
    ValidateRect(w, nullptr);
    SendMessageA(w, WM_PAINT, 0, 0);
    RECT part = {3, 4, 13, 24};
    InvalidateRect(w, &part, FALSE);
    UpdateWindow(w);
    EXPECT_EQ(log.take(),
              (Events{"leave", "enter", "resize 123 45", "redraw 0 0 0 0", "redraw 3 4 10 20"}));
}

TEST_F(Windows, CanvasDrawsIntoItsWindowAndPaintClearsTheUpdateRectangle) {
    OpenWindow open(log);
    HWND w = open.hwnd();
    RecordingCanvas& canvas = open.window->canvas;
    RECT client;
    GetClientRect(w, &client);
    ASSERT_GT(client.right, 40);
    ASSERT_GT(client.bottom, 40);
    vMemoryDC block(300, 300);
    block.setBackground(vColor(0, 0, 255));
    block.clear();
    // The canvas context does not know its size: the platform clips the copy.
    canvas.copyFromMemoryDC(&block, 0, 0, 0, 0, 0, 0);
    HDC screen = GetDC(w);
    EXPECT_EQ(GetPixel(screen, 0, 0), 0xFF0000u);
    EXPECT_EQ(GetPixel(screen, client.right - 1, client.bottom - 1), 0xFF0000u);
    RECT part = {5, 5, 25, 25};
    InvalidateRect(w, &part, FALSE);
    UpdateWindow(w);
    EXPECT_EQ(GetPixel(screen, 5, 5), 0xFFFFFFu);
    EXPECT_EQ(GetPixel(screen, 24, 24), 0xFFFFFFu);
    EXPECT_EQ(GetPixel(screen, 25, 25), 0xFF0000u);
    canvas.setBackground(vColor(255, 0, 0));
    EXPECT_EQ(GetPixel(screen, client.right - 1, client.bottom - 1), 0x0000FFu);
    ReleaseDC(w, screen);
    canvas.setFont(vFont(FontSans, 12));
    EXPECT_EQ(log.take(), (Events{"redraw 5 5 20 20", "redraw 0 0 0 0", "font 4 12"}));
}

TEST_F(Windows, ScrollCodes) {
    OpenWindow open(log);
    HWND w = open.hwnd();
    RecordingCanvas& canvas = open.window->canvas;
    canvas.hPos = 95;
    SendMessageA(w, WM_HSCROLL, SB_PAGEDOWN, 0);
    canvas.hPos = 5;
    SendMessageA(w, WM_HSCROLL, SB_PAGEUP, 0);
    SendMessageA(w, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 40), 0);
    SendMessageA(w, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 70), 0);
    SendMessageA(w, WM_HSCROLL, SB_LINEDOWN, 0);
    SendMessageA(w, WM_VSCROLL, SB_BOTTOM, 0);
    SendMessageA(w, WM_VSCROLL, SB_LINEDOWN, 0); // at the end: nothing
    SendMessageA(w, WM_VSCROLL, SB_TOP, 0);
    SendMessageA(w, WM_VSCROLL, SB_LINEUP, 0); // at the start: nothing
    SendMessageA(w, WM_VSCROLL, SB_ENDSCROLL, 0);
    EXPECT_EQ(log.take(), (Events{"hscroll 100 100", "hscroll 100 0", "hscroll 100 40",
                                  "vscroll 100 100", "vscroll 100 0"}));
    EXPECT_EQ(canvas.hPos, 41);
    EXPECT_EQ(canvas.vPos, 0);
    int shown = 0, pos = 0;
    canvas.setHScroll(50, 101);
    EXPECT_EQ(canvas.getHScroll(shown, pos), 0);
    EXPECT_EQ(shown, 100);
    EXPECT_EQ(pos, 41);
    canvas.setHScroll(50, 100);
    canvas.getHScroll(shown, pos);
    EXPECT_EQ(shown, 50);
    EXPECT_EQ(pos, 100);
    canvas.showHScroll(1);
    canvas.setHScroll(40, 30);
    SCROLLINFO info = {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(w, SB_HORZ, &info);
    EXPECT_EQ(canvas.hScrollShown, 1);
    EXPECT_EQ(info.nMax, 100);
    EXPECT_EQ(info.nPage, 40u);
    EXPECT_EQ(info.nPos, 30);
    canvas.showHScroll(0);
    EXPECT_EQ(canvas.hScrollShown, 0);
    // A hidden bar stays hidden when set, and shows the values when shown.
    canvas.setHScroll(30, 20);
    EXPECT_EQ(GetWindowLongPtrA(w, GWL_STYLE) & WS_HSCROLL, 0);
    canvas.showHScroll(1);
    EXPECT_NE(GetWindowLongPtrA(w, GWL_STYLE) & WS_HSCROLL, 0);
    GetScrollInfo(w, SB_HORZ, &info);
    EXPECT_EQ(info.nPage, 30u);
    EXPECT_EQ(info.nPos, 20);
    canvas.showHScroll(0);
}

TEST_F(Windows, CommandsReachOnCommandAsMenuKind) {
    OpenWindow open(log);
    SendMessageA(open.hwnd(), WM_COMMAND, MAKEWPARAM(777, 0), 0);
    SendMessageA(theApp->clientWindow, WM_MDIACTIVATE, WPARAM(open.hwnd()), 0);
    SendMessageA(theApp->frameWindow, WM_COMMAND, MAKEWPARAM(778, 0), 0);
    // The frame's own commands stay with the frame.
    SendMessageA(theApp->frameWindow, WM_COMMAND, MAKEWPARAM(IdCascade, 0), 0);
    SendMessageA(theApp->frameWindow, WM_COMMAND, MAKEWPARAM(IdFrameNew, 0), 0);
    SendMessageA(theApp->frameWindow, WM_COMMAND, MAKEWPARAM(IdFrameOpen, 0), 0);
    // Window-list entries activate a child and are not commands.
    SendMessageA(theApp->frameWindow, WM_COMMAND, MAKEWPARAM(IdFirstChild, 0), 0);
    Events commands;
    for (const std::string& event : log.take())
        if (event.rfind("command", 0) == 0) commands.push_back(event);
    EXPECT_EQ(commands, (Events{"command 777 777 15", "command 778 778 15"}));
}

TEST_F(Windows, FrameExitClosesEveryWindowAndQuits) {
    EventLog other;
    auto* first = new RecordingWindow(log, "One");
    auto* second = new RecordingWindow(other, "Two");
    theApp->newAppWindow(first, "One", 0, 0, nullptr);
    theApp->newAppWindow(second, "Two", 0, 0, nullptr);
    int before = RecordingWindow::deleted;
    SendMessageA(theApp->frameWindow, WM_COMMAND, MAKEWPARAM(IdFrameExit, 0), 0);
    EXPECT_TRUE(theApp->windows.empty());
    EXPECT_EQ(cmdWindowList, nullptr);
    EXPECT_EQ(theApp->closing, 0);
    int code = -1;
    EXPECT_TRUE(takeQuit(code));
    EXPECT_EQ(code, 0);
    // Closed windows wait for the end of the loop to be deleted.
    EXPECT_EQ(RecordingWindow::deleted, before);
    ASSERT_EQ(std::distance(theApp->deleteList.begin(), theApp->deleteList.end()), 2);
    EXPECT_EQ(theApp->deleteList.front(), first);
    EXPECT_EQ(first->nativeWindow, nullptr);
    theApp->deleteList.clear();
    delete first;
    delete second;
    EXPECT_EQ(RecordingWindow::deleted, before + 2);
    EXPECT_TRUE(log.take().empty());
}

TEST_F(Windows, ExitWhileClosingReturnsAtOnce) {
    OpenWindow open(log);
    theApp->closing = 1;
    theApp->exitApp();
    EXPECT_FALSE(theApp->windows.empty());
    EXPECT_NE(open.window->nativeWindow, nullptr);
    theApp->closing = 0;
}

// Tables of bars with nothing in them.
CommandObject noCommands[] = {{}};
StatusItemDef noFields[] = {{}};

TEST_F(Windows, ClosingTheLastCommandWindowHidesBarsAndQuits) {
    auto* window = new RecordingWindow(log, "Last");
    theApp->newAppWindow(window, "Last", 0, 0, nullptr);
    vCommandPane bar(noCommands);
    bar.window = window;
    bar.windowHandle = CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                     theApp->frameWindow, nullptr, nullptr, nullptr);
    theApp->addCommandPane(&bar);
    theApp->showPanesFor(window);
    EXPECT_EQ(bar.initialised, 1);
    SendMessageA(window->nativeWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(cmdWindowCount, 0);
    EXPECT_FALSE(IsWindowVisible(bar.windowHandle));
    EXPECT_EQ(bar.initialised, 0);
    int code = -1;
    EXPECT_TRUE(takeQuit(code));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(theApp->deleteList.front(), window);
    theApp->deleteList.clear();
    delete window;
    DestroyWindow(bar.windowHandle);
    bar.windowHandle = nullptr;
}

// A bar made of a plain child window, for the frame layout.

struct TestBar : vCommandPane {
    template <class Table> TestBar(Table* table, int height) : vCommandPane(table) {
        windowHandle = CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1,
                                     theApp->frameWindow, nullptr, nullptr, nullptr);
        paneHeight = height;
        initialised = 1;
        theApp->addCommandPane(this);
    }
    ~TestBar() override { DestroyWindow(windowHandle); }
    RECT placed() const {
        RECT rect;
        GetWindowRect(windowHandle, &rect);
        MapWindowPoints(nullptr, theApp->frameWindow, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
};

// Gives the frame a client area of exactly width x height.
void setFrameClient(int width, int height) {
    HWND frame = theApp->frameWindow;
    ShowWindow(frame, SW_RESTORE);
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT outer, client;
        GetWindowRect(frame, &outer);
        GetClientRect(frame, &client);
        int w = (outer.right - outer.left) + width - client.right;
        int h = (outer.bottom - outer.top) + height - client.bottom;
        SetWindowPos(frame, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
        pumpMessages();
    }
}

TEST_F(Windows, FrameStacksBarsAroundTheClientArea) {
    TestBar status(noFields, 20);
    TestBar bar(noCommands, 30);
    setFrameClient(400, 300);
    RECT client;
    GetClientRect(theApp->frameWindow, &client);
    ASSERT_EQ(client.right, 400);
    ASSERT_EQ(client.bottom, 300);
    RECT top = bar.placed(), bottom = status.placed(), area;
    GetWindowRect(theApp->clientWindow, &area);
    MapWindowPoints(nullptr, theApp->frameWindow, reinterpret_cast<POINT*>(&area), 2);
    EXPECT_EQ(top.top, 0);
    EXPECT_EQ(top.bottom, 30);
    EXPECT_EQ(top.right, 400);
    EXPECT_EQ(bottom.top, 280);
    EXPECT_EQ(bottom.bottom, 300);
    EXPECT_EQ(area.top, 30);
    EXPECT_EQ(area.bottom, 280);
    EXPECT_EQ(area.right, 400);
    EXPECT_EQ(bar.paneEdge, 30);
    EXPECT_EQ(status.paneEdge, 280);

    // A hidden bar leaves its room to the client area.
    status.showPane(0);
    GetWindowRect(theApp->clientWindow, &area);
    MapWindowPoints(nullptr, theApp->frameWindow, reinterpret_cast<POINT*>(&area), 2);
    EXPECT_EQ(area.bottom, 300);
    theApp->removeCommandPane(&bar);
    theApp->removeCommandPane(&status);
    ShowWindow(theApp->frameWindow, SW_MAXIMIZE);
    pumpMessages();
}

// A pane that holds the ids 1 to 9 and records what it is given.
struct ValuePane : vPane {
    ValuePane(EventLog& log, int offset) : vPane(0), log(log), offset(offset) {}
    int getPaneValue(int id, int& value) override {
        if (id > 9) return 0;
        value = id + offset;
        return 1;
    }
    int getPaneTextIn(int id, char* buffer, int max) override {
        if (id > 9) return 0;
        snprintf(buffer, size_t(max), "text %d", id + offset);
        return 1;
    }
    void setPaneValue(int id, int value, int type) override {
        log.add("%d set %d %d %d", offset, id, value, type);
    }
    void setPaneString(int id, const char* text) override {
        log.add("%d string %d %s", offset, id, text);
    }
    EventLog& log;
    int offset;
};

TEST_F(Windows, ValuesAndTextsGoThroughPanes) {
    OpenWindow one(log, "One");
    OpenWindow two(log, "Two");
    ValuePane first(log, 100), second(log, 200), third(log, 300);
    one.window->addPane(&first);
    one.window->addPane(&second);
    two.window->addPane(&third);
    EXPECT_EQ(one.window->getValue(4), 204); // newest pane first
    EXPECT_EQ(one.window->getValue(40), 0);
    char text[16];
    EXPECT_EQ(one.window->getTextIn(5, text, sizeof text), 1);
    EXPECT_STREQ(text, "text 205");
    one.window->setValue(7, 1, SetSensitive);
    one.window->setString(8, "hi");
    two.window->setValueAll(9, 0, SetValue);
    two.window->setStringAll(3, "all");
    EXPECT_EQ(log.take(),
              (Events{"200 set 7 1 1", "100 set 7 1 1", "200 string 8 hi", "100 string 8 hi",
                      "300 set 9 0 0", "200 set 9 0 0", "100 set 9 0 0", "300 string 3 all",
                      "200 string 3 all", "100 string 3 all"}));
    theApp->setValueInWindows(2, 5, SetPosition);
    EXPECT_EQ(log.take(), (Events{"300 set 2 5 2", "200 set 2 5 2", "100 set 2 5 2"}));
    one.window->panes.remove(&first);
    one.window->panes.remove(&second);
    two.window->panes.remove(&third);
}

TEST_F(Windows, PositionAndCursor) {
    OpenWindow open(log);
    open.window->setWindowPosition(30, 40);
    int left, top, width, height;
    open.window->getWindowPosition(left, top, width, height);
    EXPECT_EQ(left, 30);
    EXPECT_EQ(top, 40);
    RECT outer;
    GetWindowRect(open.hwnd(), &outer);
    EXPECT_EQ(width, outer.right - outer.left);
    EXPECT_EQ(height, outer.bottom - outer.top);
    // The pointer takes the window's cursor as it moves; an unknown kind is the arrow.
    for (auto [kind, shape] :
         {std::pair<int, LPCSTR>{CursorCrossHair, IDC_CROSS}, {99, IDC_ARROW}}) {
        open.window->setCursorKind(kind);
        SendMessageA(open.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(GetCursor(), LoadCursor(nullptr, shape)) << kind;
    }
}

TEST_F(Windows, RegistryOfWindowsAndInfos) {
    auto* aux = new vCmdWindow("Aux", 10, 10);
    EXPECT_EQ(theApp->newAuxWindow(nullptr), nullptr);
    EXPECT_EQ(theApp->newAuxWindow(aux), aux);
    EXPECT_EQ(theApp->isAuxWindow(aux), 1);
    vWindow* app = theApp->newAppWindow(nullptr, "", 10, 10, nullptr);
    EXPECT_EQ(theApp->isAuxWindow(app), 0);
    EXPECT_EQ(theApp->windows.front().window, app);
    EXPECT_STREQ(theApp->windows.front().info->infoName(), "");
    theApp->queueWindowDelete(aux);
    theApp->queueWindowDelete(aux);
    EXPECT_EQ(std::distance(theApp->deleteList.begin(), theApp->deleteList.end()), 1);
    theApp->deleteList.clear();
    RecordingWindow::closeAndDelete(app);
    RecordingWindow::closeAndDelete(aux);
    EXPECT_EQ(theApp->isAuxWindow(aux), 0);
    int code;
    takeQuit(code);
}

} // namespace
