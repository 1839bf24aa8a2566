// The main window as the program builds it: its tree and layout, its menu,
// the bars' controls, real pointer and key input on the command bar, and
// the two ways of closing it.
#include "animation/TimelinePane.h"
#include "app/AnimationEditor.h"
#include "app/FaceApp.h"
#include "app/FaceCmdWindow.h"
#include "app/FaceTables.h"
#include "face/FaceCanvasPane.h"
#include "framework/controls/DialogText.h"
#include "framework/dialogs/vCommandPane.h"
#include "tests/framework/ModalHelpers.h"
#include "tests/win/WinTest.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Events = std::vector<std::string>;

// Records what reaches the application from its windows.
class RecordingApp : public FaceApp {
  public:
    RecordingApp() : FaceApp("TavokFace", 1, 0, 0) {}
    int closeAppWindow(vWindow* window) override {
        log.add("close");
        return FaceApp::closeAppWindow(window);
    }
    void appCommand(vWindow* window, int id, int value, int kind) override {
        log.add("command %d %d %d", id, value, kind);
        FaceApp::appCommand(window, id, value, kind);
    }
    void onAppKey(vWindow* window, int key, int shift) override {
        log.add("key %d %d", key, shift);
        FaceApp::onAppKey(window, key, shift);
    }
    EventLog log;
};

RecordingApp app;

// A main window that records the settings file being written.
class RecordingWindow : public FaceCmdWindow {
  public:
    using FaceCmdWindow::FaceCmdWindow;
    void loadSettings(vWindow* owner, int mode) override {
        if (mode == 1) app.log.add("settings written");
        FaceCmdWindow::loadSettings(owner, mode);
    }
};

FaceCmdWindow* mainWindow() {
    return app.mainWindow;
}

// A window's rectangle in the client coordinates of `parent`.
RECT placement(HWND window, HWND parent) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The dialog manager converts position and size each on its own.
RECT dialogRect(HWND dialog, int x, int y, int width, int height) {
    RECT units = {x, y, width, height};
    MapDialogRect(dialog, &units);
    return {units.left, units.top, units.left + units.right, units.top + units.bottom};
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Asks the wrapper script to run xdotool on the test display.
void xdotool(const std::string& arguments) {
    std::printf("xdotool %s\n", arguments.c_str());
    std::fflush(stdout);
}

// Sizes the frame and waits until the window manager has let it be that size.
void resizeFrame(SIZE size) {
    SetWindowPos(app.frameWindow, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(pumpUntil(
        [size] {
            RECT now;
            GetWindowRect(app.frameWindow, &now);
            return now.right - now.left == size.cx && now.bottom - now.top == size.cy;
        },
        5000))
        << "the frame never took the size " << size.cx << "x" << size.cy;
    pumpMessages(50);
}

bool logged(const std::string& event) {
    for (const std::string& seen : app.log.take())
        if (seen == event) return true;
    return false;
}

TEST(MainWindow, BarsStackAroundTheMaximisedChildHoldingTheFace) {
    FaceCmdWindow* window = mainWindow();
    ASSERT_NE(window, nullptr);
    HWND frame = app.frameWindow;
    HWND bar = window->commandPane->windowHandle;
    HWND status = window->statusPane->windowHandle;
    EXPECT_EQ(GetParent(bar), frame);
    EXPECT_EQ(GetParent(status), frame);
    EXPECT_EQ(GetParent(window->nativeWindow), app.clientWindow);
    EXPECT_TRUE(IsZoomed(window->nativeWindow));
    char title[64] = "";
    GetWindowTextA(window->nativeWindow, title, sizeof title);
    EXPECT_STREQ(title, "TavokFace");

    for (SIZE size : {SIZE{500, 420}, SIZE{380, 300}}) {
        resizeFrame(size);
        RECT area;
        GetClientRect(frame, &area);
        RECT top = placement(bar, frame), bottom = placement(status, frame);
        RECT middle = placement(app.clientWindow, frame);
        EXPECT_EQ(top.top, 0);
        EXPECT_EQ(top.bottom - top.top, window->commandPane->paneHeight);
        EXPECT_EQ(middle.top, top.bottom);
        EXPECT_EQ(middle.bottom, bottom.top);
        EXPECT_EQ(bottom.bottom, area.bottom);
        for (const RECT& r : {top, middle, bottom})
            EXPECT_EQ(r.right - r.left, area.right) << "full width at " << size.cx;
        RECT child;
        GetClientRect(window->nativeWindow, &child);
        EXPECT_EQ(window->canvasPane->getWidth(), child.right);
        EXPECT_EQ(window->canvasPane->getHeight(), child.bottom);
    }
}

// The Edit menu: "U" Undo enabled, "R" Redo enabled, "S" Symmetric checked.
std::string undoRedo() {
    HMENU bar = GetMenu(app.frameWindow);
    return std::string(GetMenuState(bar, IdUndo, MF_BYCOMMAND) & MF_GRAYED ? "" : "U") +
           (GetMenuState(bar, IdRedo, MF_BYCOMMAND) & MF_GRAYED ? "" : "R");
}
std::string editMenu() {
    bool symmetric = GetMenuState(GetMenu(app.frameWindow), IdSymmetric, MF_BYCOMMAND) & MF_CHECKED;
    return undoRedo() + (symmetric ? "S" : "");
}

// The face's pixels as the screen shows them, once it has painted.
std::vector<COLORREF> facePixels() {
    HWND child = mainWindow()->nativeWindow;
    UpdateWindow(child);
    RECT area;
    GetClientRect(child, &area);
    HDC dc = GetDC(child);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < area.bottom; y += 2)
        for (int x = 0; x < area.right; x += 2)
            pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(child, dc);
    return pixels;
}

// The Edit menu and status after typing `key` with Control (and Shift) held
// or not: "U" Undo enabled, "R" Redo enabled, "S" Symmetric checked.
std::string type(int key, bool control = false, bool shift = false) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = control ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    SendMessageA(mainWindow()->nativeWindow, WM_CHAR, WPARAM(key), 0);
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    char text[180] = "";
    mainWindow()->getTextIn(IdStatusText, text, sizeof text);
    return editMenu() + " " + text;
}

TEST(MainWindow, EditMenuFollowsTheHistoryAndItsChords) {
    FaceCanvasPane* face = mainWindow()->canvasPane;
    PoseModel& model = mainWindow()->document.pose();
    model.selection = HandleMouthFirst;
    EXPECT_EQ(type('0'), " Mouth part Selected  0") << "nothing to undo yet";
    std::vector<COLORREF> before = facePixels();
    EXPECT_EQ(type('8'), "U Mouth part Selected  0.05");
    std::vector<COLORREF> after = facePixels();
    ASSERT_NE(after, before);
    EXPECT_EQ(type(KeyCtrlZ, true), "R Mouth part Selected  0");
    EXPECT_EQ(facePixels(), before) << "the face shows the undone pose";
    EXPECT_EQ(type(KeyCtrlZ, true, true), "U Mouth part Selected  0.05");
    EXPECT_EQ(facePixels(), after) << "the face shows the redone pose";
    type(KeyCtrlZ, true);
    EXPECT_EQ(type(KeyCtrlY, true), "U Mouth part Selected  0.05");
    type(KeyCtrlZ, true);
    EXPECT_EQ(type('5'), "U Mouth part Selected  -0.05") << "a new step drops the redo steps";
    EXPECT_EQ(type(KeyCtrlE, true).substr(0, 2), "US");
    model.pose[PoseEyeY] = 5;
    type('\r');
    EXPECT_EQ(face->pose[PoseEyeY], 5) << "Return is no Ctrl+M";
    type(KeyCtrlM, true);
    EXPECT_EQ(face->pose[PoseEyeY], -5);
    EXPECT_EQ(type(KeyCtrlE, true).substr(0, 2), "U ");
}

// A drag of the middle mouth point ended by Ctrl+Z (in the first drag, then
// after a key) is undone; ended by a lost capture, a second press (far from
// every part) or a menu command, it is one step for the next Ctrl+Z.
TEST(MainWindow, EveryWayADragEndsMakesItOneStep) {
    FaceCmdWindow* window = mainWindow();
    HWND child = window->nativeWindow;
    const MSG endings[] = {{},
                           {},
                           {child, WM_CAPTURECHANGED, 0, 0, 0, {}},
                           {child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2000, 2000), 0, {}},
                           {app.frameWindow, WM_COMMAND, IdSymmetric, 0, 0, {}}};
    for (const MSG& end : endings) {
        while (window->document.undo()) {
        }
        window->document.pose().selection = HandleMouthFirst + 2;
        if (&end != endings) type('8');
        // A redo step, which the drag drops as it ends.
        if (end.hwnd) type(KeyCtrlZ, true);
        float *value = &window->canvasPane->pose[PoseMouthFirst + 2], start = *value;
        HandlePoint at = window->canvasPane->handles[HandleMouthFirst + 2];
        window->activationClick = 0;
        SendMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(int(at.x), int(at.y)));
        SendMessageA(child, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(int(at.x), int(at.y) - 11));
        ASSERT_NE(*value, start) << &end - endings;
        if (end.hwnd) SendMessageA(end.hwnd, end.message, end.wParam, end.lParam);
        EXPECT_EQ(window->canvasPane->dragging(), !end.hwnd) << &end - endings;
        if (end.hwnd) {
            EXPECT_EQ(undoRedo(), "U") << "after the drag " << &end - endings;
        }
        type(KeyCtrlZ, true);
        EXPECT_EQ(*value, start) << &end - endings;
        EXPECT_EQ(undoRedo(), &end - endings == 1 ? "UR" : "R") << &end - endings;
    }
    SendMessageA(app.frameWindow, WM_COMMAND, IdSymmetric, 0);
    window->setString(IdStatusText, faceStatusBar[0].title);
}

// A key with the virtual-key message, as the platform sends arrows and Delete.
void press(int key, bool control = false) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    SendMessageA(mainWindow()->nativeWindow, WM_KEYDOWN, WPARAM(key), 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

// The keys' frames and the playhead: "0 10 @10".
std::string frames() {
    const Document& document = mainWindow()->document;
    std::string text;
    for (int frame = 0; frame <= document.lastFrame(); ++frame)
        if (document.animation().hasKey(frame)) text += std::to_string(frame) + " ";
    return text + "@" + std::to_string(document.playhead());
}

TEST(MainWindow, TimelineKeysFollowThePlayheadAndUndo) {
    FaceCmdWindow* window = mainWindow();
    window->document.pose().selection = -1;
    RECT frame, face, grown;
    GetWindowRect(app.frameWindow, &frame);
    GetClientRect(window->nativeWindow, &face);
    window->onMenuCommand(IdTimeline);
    GetWindowRect(app.frameWindow, &grown);
    EXPECT_EQ(grown.bottom - frame.bottom, TimelinePane::Height);
    RECT after;
    GetClientRect(window->nativeWindow, &after);
    EXPECT_TRUE(sameRect(after, face)) << "the face keeps its size";
    type('k');
    for (int i = 0; i < 10; ++i)
        press(VK_RIGHT);
    type('4');
    ASSERT_EQ(frames(), "0 10 @10") << "a pose change keys the playhead";
    EXPECT_EQ(window->document.animation().track(TrackEyes).keyAt(10)->values[PoseEyeX], 1);
    press(VK_LEFT, true);
    EXPECT_EQ(window->canvasPane->pose[PoseEyeX], 0) << "the face shows the playhead's pose";
    press(VK_END);
    EXPECT_EQ(frames(), "0 10 @99");
    press(VK_LEFT, true);
    press(VK_DELETE);
    EXPECT_EQ(frames(), "0 @10");
    type(KeyCtrlZ, true);
    type(KeyCtrlZ, true);
    EXPECT_EQ(frames(), "0 @10") << "undo of the delete, then of the key";
    type(KeyCtrlY, true);
    EXPECT_EQ(frames(), "0 10 @10");
    TimelinePane* strip = window->animationEditor->pane;
    auto mouse = [&](UINT message, int frame, int y = TimelinePane::KeyTop + 5) {
        SendMessageA(strip->barWindow(), message, MK_LBUTTON, MAKELPARAM(strip->frameX(frame), y));
    };
    mouse(WM_LBUTTONDOWN, 10);
    mouse(WM_MOUSEMOVE, 0);
    mouse(WM_MOUSEMOVE, 40);
    mouse(WM_LBUTTONUP, 40);
    mouse(WM_LBUTTONDOWN, 20, 10);
    mouse(WM_LBUTTONUP, 20, 10);
    EXPECT_EQ(frames(), "0 40 @20") << "a key dragged along the ruler, then a click on it";
    press(VK_HOME);
    window->onMenuCommand(IdTimeline);
    GetWindowRect(app.frameWindow, &grown);
    EXPECT_TRUE(sameRect(grown, frame));
    type('k');
    type('4');
    EXPECT_EQ(frames(), "0 40 @0") << "hidden, the timeline changes nothing";
    window->onMenuCommand(IdRestore);
    window->setString(IdStatusText, faceStatusBar[0].title);
}

// The Edit menu's text of `id`.
std::string menuText(int id) {
    char text[96] = "";
    GetMenuStringA(GetMenu(app.frameWindow), UINT(id), text, sizeof text, MF_BYCOMMAND);
    return text;
}

// The timeline's seams: every change is one step of the one history, named
// on the Edit menu, whichever window made it.
TEST(MainWindow, TheTimelineAndTheFaceShareOneHistory) {
    FaceCmdWindow* window = mainWindow();
    Document& document = window->document;
    HWND child = window->nativeWindow;
    window->onMenuCommand(IdRestore);
    document.begin("No keys");
    document.replaceAnimation(Animation());
    document.commit();
    document.moveTo(0);
    window->onMenuCommand(IdTimeline);
    document.pose().selection = -1;
    type('4');
    EXPECT_EQ(menuText(IdUndo), "&Undo Key 4  \tCtrl+Z");
    type(KeyCtrlZ, true);
    EXPECT_EQ(window->canvasPane->pose[PoseEyeX], 0) << "undone to no keys, the face too";
    EXPECT_EQ(menuText(IdRedo), "&Redo Key 4  \tCtrl+Y");
    type(KeyCtrlZ, true, true);
    EXPECT_EQ(frames(), "0 @0") << "Ctrl+Shift+Z redoes with the timeline shown";
    for (int i = 0; i < 10; ++i)
        press(VK_RIGHT);
    type('4');
    // A press on an iris that only selects is no step.
    HandlePoint iris = window->canvasPane->handles[0];
    SendMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(int(iris.x), int(iris.y)));
    SendMessageA(child, WM_LBUTTONUP, 0, MAKELPARAM(int(iris.x), int(iris.y)));
    type(KeyCtrlZ, true);
    EXPECT_EQ(frames(), "0 @10") << "the click took the key's step, not a stale one";
    // A key moving the playhead ends a drag first: the drag keys frame 10 only.
    window->activationClick = 0;
    HandlePoint at = window->canvasPane->handles[HandleMouthFirst + 2];
    SendMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(int(at.x), int(at.y)));
    SendMessageA(child, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(int(at.x), int(at.y) - 11));
    press(VK_RIGHT);
    EXPECT_FALSE(window->canvasPane->dragging());
    SendMessageA(child, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(int(at.x), int(at.y) - 22));
    EXPECT_EQ(frames(), "0 10 @11");
    EXPECT_EQ(menuText(IdUndo), "&Undo Drag  \tCtrl+Z");
    type(KeyCtrlZ, true);
    EXPECT_EQ(frames(), "0 @10");
    // A key's mark whose drag lost the pointer to another window stays.
    TimelinePane* strip = window->animationEditor->pane;
    auto mouse = [&](UINT message, int frame) {
        SendMessageA(strip->barWindow(), message, MK_LBUTTON,
                     MAKELPARAM(strip->frameX(frame), TimelinePane::KeyTop + 5));
    };
    mouse(WM_LBUTTONDOWN, 0);
    mouse(WM_MOUSEMOVE, 30);
    SendMessageA(strip->barWindow(), WM_CAPTURECHANGED, 0, 0);
    mouse(WM_MOUSEMOVE, 40);
    mouse(WM_LBUTTONUP, 40);
    ReleaseCapture();
    EXPECT_EQ(frames(), "0 @10");
    // A key held down is one step, however often it repeats.
    document.pose().selection = -1;
    type('8');
    for (int repeat = 0; repeat < 3; ++repeat)
        SendMessageA(child, WM_CHAR, '8', LPARAM(1) << 30);
    type(KeyCtrlZ, true);
    EXPECT_EQ(frames(), "0 @10");
    window->onMenuCommand(IdTimeline);
    window->onMenuCommand(IdRestore);
}

// The settings' typed length is taken, one out of range is named and the
// dialog stays; with the timeline hidden the face keeps its pose.
TEST(MainWindow, TypedSettingsAreTakenAndLeaveTheHiddenFaceAlone) {
    FaceCmdWindow* window = mainWindow();
    window->document.pose().selection = -1;
    type('4');
    std::vector<float> face(window->canvasPane->pose, window->canvasPane->pose + PoseCount);
    std::vector<std::string> notices;
    int asked = 0;
    answerDialogs([&](HWND box, bool) {
        if (HWND done = GetDlgItem(box, IdDone)) {
            char text[128] = "";
            GetDlgItemTextA(box, 92, text, sizeof text);
            notices.push_back(text);
            return PostMessageA(done, BM_CLICK, 0, 0) != 0;
        }
        // The second field is the length's.
        HWND field =
            FindWindowExA(box, FindWindowExA(box, nullptr, "Edit", nullptr), "Edit", nullptr);
        // Typed as a person types: the longest length must fit, one more is refused.
        SendMessageA(field, EM_SETSEL, 0, -1);
        for (char c : std::string(asked++ ? "10000" : "10001"))
            SendMessageA(field, WM_CHAR, WPARAM(c), 0);
        return PostMessageA(GetDlgItem(box, IdOk), BM_CLICK, 0, 0) != 0;
    });
    window->onMenuCommand(IdAnimationSettings);
    EXPECT_EQ(window->document.animation().settings().length, 10000);
    EXPECT_EQ(notices, std::vector<std::string>{"Type a whole number from 1 to 10000."});
    EXPECT_EQ(std::vector<float>(window->canvasPane->pose, window->canvasPane->pose + PoseCount),
              face);
    EXPECT_EQ(menuText(IdUndo), "&Undo Animation settings  \tCtrl+Z");
    type(KeyCtrlZ, true);
    EXPECT_EQ(window->document.animation().settings().length, 100);
    window->onMenuCommand(IdRestore);
}

TEST(MainWindow, BarControlsSitWhereTheirDialogUnitsSay) {
    HWND bar = mainWindow()->commandPane->windowHandle;
    HWND button = GetDlgItem(bar, IdRestore);
    EXPECT_TRUE(sameRect(placement(button, bar), dialogRect(bar, 2, 2, 38, 14)));
    LONG style = GetWindowLongA(button, GWL_STYLE);
    EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(style & WS_TABSTOP, 0);

    HWND status = mainWindow()->statusPane->windowHandle;
    HWND field = GetDlgItem(status, IdStatusText);
    int width = dialogTextWidth(faceStatusBar[0].title) + 4;
    RECT got = placement(field, status), want = dialogRect(status, 6, 3, width, 11);
    EXPECT_TRUE(sameRect(got, want))
        << got.left << "," << got.top << "," << got.right << "," << got.bottom << " not "
        << want.left << "," << want.top << "," << want.right << "," << want.bottom;
}

int relayoutRequests = 0;

LRESULT CALLBACK countRelayout(int code, WPARAM wParam, LPARAM lParam) {
    auto* sent = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (sent->message == RelayoutMessage && sent->hwnd == app.frameWindow) ++relayoutRequests;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(MainWindow, HidingABarTwiceAsksForOneLayout) {
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, countRelayout, nullptr, GetCurrentThreadId());
    vCommandPane* status = mainWindow()->statusPane;
    status->showPane(0);
    status->showPane(0);
    EXPECT_EQ(relayoutRequests, 1);
    RECT area, middle = placement(app.clientWindow, app.frameWindow);
    GetClientRect(app.frameWindow, &area);
    EXPECT_EQ(middle.bottom, area.bottom) << "the client area takes the bar's room";
    status->showPane(1);
    EXPECT_EQ(relayoutRequests, 2);
    UnhookWindowsHookEx(hook);
}

TEST(MainWindow, RealPointerShowsTheTipAndClicksRestore) {
    resizeFrame({420, 420});
    HWND button = GetDlgItem(mainWindow()->commandPane->windowHandle, IdRestore);
    RECT rect;
    GetWindowRect(button, &rect);
    int x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
    xdotool("search --onlyvisible --name '^TavokFace' windowfocus --sync");
    // The pointer may rest there from an earlier run: it has to arrive.
    xdotool("mousemove --sync 1 1");
    xdotool("mousemove --sync " + std::to_string(x) + " " + std::to_string(y));
    char tip[80] = "";
    EXPECT_TRUE(pumpUntil(
        [&] {
            if (!barTipWindow || !IsWindowVisible(barTipWindow)) return false;
            TOOLINFOA tool = {};
            tool.cbSize = TTTOOLINFOA_V1_SIZE;
            tool.lpszText = tip;
            SendMessageA(barTipWindow, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
            return true;
        },
        10000))
        << "no tip over the button";
    EXPECT_STREQ(tip, "Clear to Defaults");

    app.log.take();
    float* pose = mainWindow()->document.pose().pose;
    pose[0] = 5;
    xdotool("click 1");
    EXPECT_TRUE(pumpUntil([pose] { return pose[0] == 0; }, 10000)) << "the pose was not restored";
    EXPECT_EQ(GetFocus(), mainWindow()->nativeWindow);
    xdotool("key 8");
    EXPECT_TRUE(pumpUntil([] { return logged("key 56 0"); }, 10000)) << "the key went elsewhere";
}

void deleteClosedWindows() {
    for (vWindow* window : app.deleteList)
        delete window;
    app.deleteList.clear();
}

TEST(MainWindow, CloseBoxAndExitEachCloseThroughTheApplicationOnce) {
    // The window appMain made goes first; each way then closes a new one.
    SendMessageA(mainWindow()->nativeWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    deleteClosedWindows();
    int code = -1;
    EXPECT_TRUE(takeQuit(code));
    struct Way {
        const char* name;
        void (*close)(HWND child);
        Events events;
    };
    Way ways[] = {{"close box",
                   [](HWND child) { SendMessageA(child, WM_SYSCOMMAND, SC_CLOSE, 0); },
                   {"close", "settings written"}},
                  {"E&xit",
                   [](HWND) { SendMessageA(app.frameWindow, WM_COMMAND, IdExit, 0); },
                   {"close", "settings written"}}};
    for (const Way& way : ways) {
        app.log.take();
        app.newAppWindow(new RecordingWindow("TavokFace", 350, 350), "", 350, 350, nullptr);
        ASSERT_NE(mainWindow()->nativeWindow, nullptr) << way.name;
        way.close(mainWindow()->nativeWindow);
        pumpMessages();
        EXPECT_EQ(app.log.take(), way.events) << way.name;
        EXPECT_TRUE(app.windows.empty()) << way.name;
        EXPECT_TRUE(takeQuit(code)) << way.name;
        EXPECT_EQ(code, 0);
        deleteClosedWindows();
    }
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    char program[] = "main_window_tests";
    char* args[] = {program, nullptr};
    int count = 1;
    // A settings file that is there (empty: no directory to enter), so the
    // start shows no notice.
    std::fclose(std::fopen(besideThisProgram("TavokF.ini").c_str(), "w"));
    // No test here expects a dialog box: one that shows fails its test.
    answerDialogs(nullptr);
    app.initApp(count, args, GetModuleHandleA(nullptr), nullptr, SW_SHOWNORMAL);
    appMain(count, args);
    pumpMessages(300);
    return RUN_ALL_TESTS();
}
