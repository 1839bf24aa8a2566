// An application in single-window mode: one maximised child, no window
// menu, a canvas that takes the window's size.
#include "framework/app/vMenuPane.h"
#include "tests/framework/Recorders.h"
#include "tests/framework/ModalHelpers.h"

#include <gtest/gtest.h>

namespace {

vApp application("Single", 1, 0, 0);

using Events = std::vector<std::string>;

MenuItemDef helpItems[] = {{"About", 103, 1, nullptr, 0, nullptr, 0}, {}};
MenuItemDef menuBar[] = {
    {"&File", 0, 1, nullptr, 0, helpItems, 0}, {"Help", 0, 1, nullptr, 0, helpItems, 0}, {}};

TEST(SingleWindow, OneMaximisedChildWithoutWindowMenu) {
    EventLog log;
    auto* window = new RecordingWindow(log, "Only", 350, 350);
    theApp->newAppWindow(window, "Only", 350, 350, nullptr);
    ASSERT_NE(window->nativeWindow, nullptr);
    EXPECT_TRUE(pumpUntil([&] { return IsZoomed(window->nativeWindow) != 0; }, 5000))
        << "the child was not maximised within 5 s";
    EXPECT_EQ(windowCount, 1);

    vMenuPane menu(menuBar);
    window->addPane(&menu);
    EXPECT_EQ(GetMenuItemCount(window->menuBar), 2);
    EXPECT_EQ(window->windowMenuIndex, 1);

    // The frame's client area takes the window's size; the maximised child
    // fills what the client area leaves, and the canvas follows it.
    // The window manager may still be resizing the frame: wait for it.
    window->addPane(&window->canvas);
    RECT frameClient, childClient;
    pumpUntil(
        [&] {
            GetClientRect(theApp->frameWindow, &frameClient);
            GetClientRect(window->nativeWindow, &childClient);
            return frameClient.right == 350 && frameClient.bottom == 350 &&
                   window->canvas.getWidth() == childClient.right;
        },
        5000);
    EXPECT_EQ(frameClient.right, 350);
    EXPECT_EQ(frameClient.bottom, 350);
    EXPECT_EQ(window->canvas.getWidth(), childClient.right);
    EXPECT_EQ(window->canvas.getHeight(), childClient.bottom);
    EXPECT_EQ(window->width, childClient.right);
    EXPECT_GT(childClient.right, 300);

    // The only child ever activated: every click is delivered.
    log.take();
    EXPECT_EQ(previousActive, nullptr);
    SendMessageA(window->nativeWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 5));
    EXPECT_EQ(log.take(), (Events{"down 4 5 1"}));

    // A second window gets no native window.
    EventLog other;
    auto* second = new RecordingWindow(other, "Second");
    EXPECT_EQ(second->nativeWindow, nullptr);
    EXPECT_EQ(second->created, 0);
    EXPECT_EQ(windowCount, 1);
    delete second;

    window->panes.clear();
    RecordingWindow::closeAndDelete(window);
    int code = -1;
    EXPECT_TRUE(takeQuit(code));
    EXPECT_EQ(code, 0);
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    char program[] = "framework_single_tests";
    char* args[] = {program, nullptr};
    int count = 1;
    theApp->initApp(count, args, GetModuleHandleA(nullptr), nullptr, SW_SHOWNORMAL);
    answerDialogs(nullptr); // a box no test expects fails it and is closed
    return RUN_ALL_TESTS();
}
