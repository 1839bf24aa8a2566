// Menu bars built from tables, read back from the native menus, and their
// accelerators and commands.
#include "framework/app/vMenuPane.h"
#include "framework/dialogs/CommandObject.h"
#include "tests/framework/Recorders.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Events = std::vector<std::string>;

MenuItemDef recentItems[] = {
    {"First", 601, MenuSensitive, nullptr, 0, nullptr, 0},
    {"Second", 602, MenuSensitive | MenuCheckMark, nullptr, 0, nullptr, 0},
    {},
};

MenuItemDef fileItems[] = {
    {"&Open", IdOpen, MenuSensitive, nullptr, 0, nullptr, 0},
    {"&Save", IdSave, MenuSensitive, "Ctrl+S", 19, nullptr, 0},
    {"-", IdSeparator, 0, nullptr, 0, nullptr, 0},
    {"&Recent", 0, 0, nullptr, 0, recentItems, 0},
    {"&Greyed", 501, 0, "Ctrl+G", 7, nullptr, 0},
    {"&Checked", 502, MenuSensitive | MenuCheckMark, nullptr, 0, nullptr, 0},
    {"E&xit", IdExit, MenuSensitive, "", 0, nullptr, 0},
    {},
};

MenuItemDef helpItems[] = {
    {"About", 503, MenuSensitive, nullptr, 0xFFC1, nullptr, 0},
    {},
};

MenuItemDef menuBar[] = {
    {"&File", 0, MenuSensitive, nullptr, 0, fileItems, 0},
    {"&Help", 0, MenuSensitive, nullptr, 0, helpItems, 0},
    {},
};

std::string itemText(HMENU menu, UINT position) {
    char text[128] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

class Menus : public ::testing::Test {
  protected:
    void SetUp() override {
        window = new RecordingWindow(log, "Menus");
        theApp->newAppWindow(window, "Menus", 0, 0, nullptr);
        pane = new vMenuPane(menuBar);
        window->addPane(pane);
        window->activationClick = 0;
        log.take();
    }
    void TearDown() override {
        RecordingWindow::closeAndDelete(window);
        delete pane;
        int code;
        takeQuit(code);
        setHeldKeys(false, false);
    }
    EventLog log;
    RecordingWindow* window = nullptr;
    vMenuPane* pane = nullptr;
};

TEST_F(Menus, BarIsBuiltFromTheTables) {
    HMENU bar = window->menuBar;
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(itemText(bar, 0), "&File");
    EXPECT_EQ(itemText(bar, 1), "&Help");
    EXPECT_EQ(itemText(bar, 2), "&Window"); // outside single-window mode
    EXPECT_EQ(pane->menuCount, 3);
    EXPECT_EQ(pane->entryCount, 4);
    EXPECT_EQ(window->windowMenuIndex, 2);

    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(file), 7);
    EXPECT_EQ(itemText(file, 0), "&Open");
    EXPECT_EQ(itemText(file, 1), "&Save  \tCtrl+S");
    EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(itemText(file, 3), "&Recent");
    EXPECT_TRUE(GetMenuState(file, 4, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(file, 5, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(file, 0, MF_BYPOSITION) & (MF_CHECKED | MF_GRAYED));
    EXPECT_EQ(itemText(file, 6), "E&xit");
    EXPECT_EQ(GetMenuItemID(file, 6), UINT(IdExit));

    HMENU recent = GetSubMenu(file, 3);
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(GetMenuItemCount(recent), 2);
    EXPECT_TRUE(GetMenuState(recent, 1, MF_BYPOSITION) & MF_CHECKED);

    HMENU windows = GetSubMenu(bar, 2);
    EXPECT_EQ(itemText(windows, 0), "&Cascade");
    EXPECT_EQ(GetMenuItemID(windows, 2), UINT(IdArrangeIcons));
}

TEST_F(Menus, AcceleratorBecomesTheItemsCommand) {
    setHeldKeys(false, true);
    SendMessageA(window->nativeWindow, WM_CHAR, 19, 0); // Ctrl+S
    SendMessageA(window->nativeWindow, WM_CHAR, 7, 0);  // greyed: a plain key
    window->setValue(501, 1, SetSensitive);
    SendMessageA(window->nativeWindow, WM_CHAR, 7, 0);
    setHeldKeys(false, false);
    SendMessageA(window->nativeWindow, WM_KEYDOWN, VK_F1, 0);
    EXPECT_EQ(log.take(), (Events{"command 32103 32103 15", "key 7 0", "command 501 501 15",
                                  "command 503 503 15"}));
    EXPECT_FALSE(GetMenuState(GetSubMenu(window->menuBar, 0), 4, MF_BYPOSITION) & MF_GRAYED);
    window->setValue(501, 0, SetSensitive);
    int id = -1;
    EXPECT_EQ(pane->findAccelerator(7, 0, id), 0);
    EXPECT_EQ(id, 0);
}

TEST_F(Menus, CheckMarksFollowValues) {
    EXPECT_EQ(window->getValue(502), 1);
    EXPECT_EQ(window->getValue(IdOpen), 0);
    window->setValue(502, 0, SetValue);
    EXPECT_EQ(window->getValue(502), 0);
    EXPECT_FALSE(GetMenuState(GetSubMenu(window->menuBar, 0), 5, MF_BYPOSITION) & MF_CHECKED);
    window->setValue(IdOpen, 3, SetPosition);
    EXPECT_EQ(window->getValue(IdOpen), 1);
    window->setValue(IdOpen, 1, SetHidden); // not a menu setting
    window->setValue(IdOpen, 0, SetValue);
    window->setValue(502, 1, SetValue);
    int value = -1;
    EXPECT_EQ(pane->getPaneValue(9999, value), 0);
    EXPECT_EQ(value, 0);
}

TEST_F(Menus, SetStringRewritesTheTableAndTheItem) {
    window->setString(502, "Re&named");
    EXPECT_STREQ(fileItems[5].label, "Re&named");
    HMENU file = GetSubMenu(window->menuBar, 0);
    EXPECT_EQ(itemText(file, 5), "Re&named");
    EXPECT_TRUE(GetMenuState(file, 5, MF_BYPOSITION) & MF_CHECKED);
    window->setString(501, "Still greyed");
    EXPECT_TRUE(GetMenuState(file, 4, MF_BYPOSITION) & MF_GRAYED);
    window->setString(502, nullptr);
    EXPECT_STREQ(fileItems[5].label, "") << "a null label would end the table";
    EXPECT_EQ(itemText(file, 5), "");
    window->setString(502, "&Checked");
    window->setString(501, "&Greyed");
}

TEST_F(Menus, ChosenItemReachesTheActiveWindowThroughTheFrame) {
    SendMessageA(theApp->clientWindow, WM_MDIACTIVATE, WPARAM(window->nativeWindow), 0);
    SendMessageA(theApp->frameWindow, WM_COMMAND, MAKEWPARAM(IdSave, 0), 0);
    EXPECT_EQ(log.take(), (Events{"command 32103 32103 15"}));
    EXPECT_EQ(GetMenu(theApp->frameWindow), window->menuBar);
}

TEST(MenuLimits, TwentyMenusLeaveNoRoomForSubmenusOrTheWindowMenu) {
    static MenuItemDef nested[] = {{"Deep", 700, 1, nullptr, 0, nullptr, 0}, {}};
    static MenuItemDef items[] = {{"Item", 701, 1, nullptr, 0, nullptr, 0},
                                  {"Sub", 0, 0, nullptr, 0, nested, 0},
                                  {"Last", 702, 1, nullptr, 0, nullptr, 0},
                                  {}};
    static MenuItemDef bar[22];
    static char titles[21][8];
    for (int i = 0; i < 21; ++i) {
        snprintf(titles[i], sizeof titles[i], "M%d", i);
        bar[i] = {titles[i], 0, 1, nullptr, 0, items, 0};
    }
    EventLog log;
    auto* window = new RecordingWindow(log, "Limits");
    theApp->newAppWindow(window, "Limits", 0, 0, nullptr);
    auto* pane = new vMenuPane(bar);
    window->addPane(pane);
    EXPECT_EQ(pane->menuCount, 20);
    EXPECT_EQ(pane->entryCount, 20);
    ASSERT_EQ(GetMenuItemCount(window->menuBar), 20);
    EXPECT_EQ(itemText(window->menuBar, 19), "M19");
    HMENU first = GetSubMenu(window->menuBar, 0);
    ASSERT_EQ(GetMenuItemCount(first), 2);
    EXPECT_EQ(itemText(first, 1), "Last");
    RecordingWindow::closeAndDelete(window);
    delete pane;
    int code;
    takeQuit(code);
}

} // namespace
