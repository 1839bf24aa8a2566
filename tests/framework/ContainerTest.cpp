// Command containers: building from tables, lookups by id, the placement
// rules, frames, and templates accepted by the platform's dialog manager.
#include "framework/app/vApp.h"
#include "framework/controls/DialogText.h"
#include "framework/controls/vCmd.h"
#include "framework/dialogs/vCmdParent.h"
#include "tests/win/WinTest.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A container that records the commands' reports.
class Container : public vCmdParent {
  public:
    explicit Container(int kind = PaneDialog) : vCmdParent(kind) {
        layoutStyle = kind == PaneCommandBar  ? LayoutCommandBar
                      : kind == PaneStatusBar ? LayoutStatusBar
                                              : LayoutDialog;
        std::uint32_t style = kind == PaneDialog ? 0x90C00040 : 0x54000040;
        beginTemplate(style, kind == PaneDialog ? 10 : 0, kind == PaneDialog ? 25 : 0, 1, 1, "", "",
                      kind == PaneDialog ? "Test dialog" : "", 8, "Helv");
    }
    void processCommand(int id, int value, int kind) override {
        reports.push_back(std::to_string(id) + " " + std::to_string(value) + " " +
                          std::to_string(kind));
    }
    vCmd& at(int id) {
        vCmd* command = findCommand(id);
        EXPECT_NE(command, nullptr) << id;
        return *command;
    }
    int read16(int at) const {
        const std::uint8_t* d = dialogTemplate.data();
        return d[at] | d[at + 1] << 8;
    }
    std::vector<std::string> reports;
};

CommandObject label(int id, int size, int frame = 0, int rightOf = 0, int below = 0,
                    const char* title = "Label") {
    return {Label, id, 0, title, nullptr, 0, 1, frame, rightOf, below, size, nullptr};
}

CommandObject frame(int id, std::uint32_t attributes = 0, int outer = 0) {
    return {Frame, id, 0, "Frame title", nullptr, attributes, 1, outer, 0, 0, 0, nullptr};
}

// A command of the base class: it reports its record's value.
struct PlainCommand : vCmd {
    PlainCommand(vCmdParent* parent, CommandObject* record) : vCmd(parent, record) { loadCommon(); }
};

const CommandObject End = {};

TEST(Placement, RightOfAndBelowAnEarlierCommand) {
    CommandObject table[] = {label(1, 40), label(2, 30, 0, 1), label(3, 30, 0, 0, 1),
                             label(4, 30, 0, 2, 3), End};
    Container c;
    c.buildCommands(table);
    // Labels sit 3 units below their place.
    EXPECT_EQ(c.at(1).x, 2);
    EXPECT_EQ(c.at(1).y, 2 + 3);
    EXPECT_EQ(c.at(2).x, 44);
    EXPECT_EQ(c.at(2).y, 2 + 3) << "right of, but on the top row";
    EXPECT_EQ(c.at(3).x, 2);
    EXPECT_EQ(c.at(3).y, 18 + 3);
    EXPECT_EQ(c.at(4).x, 76);
    EXPECT_EQ(c.at(4).y, 34 + 3);
}

TEST(Placement, FirstCommandAndTemplateSize) {
    CommandObject table[] = {label(1, 40), End};
    Container c;
    c.buildCommands(table);
    EXPECT_EQ(c.extentX, 42);
    EXPECT_EQ(c.extentY, 16);
    c.endTemplate();
    EXPECT_EQ(c.extentX, 44);
    EXPECT_EQ(c.read16(14), 44);
    EXPECT_EQ(c.read16(16), 18);
}

TEST(Placement, FramesGrowAroundTheirContents) {
    CommandObject table[] = {frame(10), label(1, 40, 10), End};
    Container c;
    c.buildCommands(table);
    vCmd& box = c.at(10);
    EXPECT_EQ(c.at(1).x, 4);
    EXPECT_EQ(c.at(1).y, 4 + 3);
    EXPECT_EQ(box.width, 44);
    EXPECT_EQ(box.height, 18);
    // The frame's template item was rewritten with the grown size.
    EXPECT_EQ(c.read16(box.templateItemOffset + 12), 44);
    EXPECT_EQ(c.read16(box.templateItemOffset + 14), 18);
    EXPECT_EQ(c.extentX, 46);
    EXPECT_EQ(c.extentY, 20);

    CommandObject tight[] = {frame(10, AttrNoSpace), label(1, 40, 10), End};
    Container t;
    t.buildCommands(tight);
    EXPECT_EQ(t.at(1).x, 3);
    EXPECT_EQ(t.at(1).y, 3 + 3);
    EXPECT_EQ(t.at(10).width, 42);
    EXPECT_EQ(t.at(10).height, 16);
}

TEST(Placement, EnclosingFramesKeepTwoUnits) {
    CommandObject table[] = {frame(10), frame(11, AttrNoSpace, 10), label(1, 40, 11),
                             label(2, 20, 10, 11), End};
    Container c;
    c.buildCommands(table);
    vCmd& outer = c.at(10);
    vCmd& inner = c.at(11);
    EXPECT_EQ(inner.x, 4);
    EXPECT_EQ(c.at(1).x, 5);
    EXPECT_EQ(inner.width, 42);
    // Right of the inner frame inside the outer one: gap + its right edge.
    EXPECT_EQ(c.at(2).x, 2 + 4 + 42);
    EXPECT_EQ(outer.x + outer.width, c.at(2).x + 20 + 2);
    EXPECT_EQ(outer.y + outer.height, inner.y + inner.height + 2);
}

TEST(Placement, BarsLineUpTheirFields) {
    CommandObject table[] = {label(1, 40), label(2, 30, 0, 0, 1), End};
    Container status(PaneStatusBar);
    status.buildCommands(table);
    EXPECT_EQ(status.at(1).x, 6);
    EXPECT_EQ(status.at(1).y, 3 + 2) << "status bar labels are compact";
    EXPECT_EQ(status.at(1).height, 9);
    EXPECT_EQ(status.at(2).x, 48) << "references are ignored in bars";
    Container bar(PaneCommandBar);
    bar.buildCommands(table);
    EXPECT_EQ(bar.at(1).x, 2);
    EXPECT_EQ(bar.at(1).y, 2 + 3);
    EXPECT_EQ(bar.at(2).x, 44);
    EXPECT_EQ(bar.at(2).y, 2 + 3);
}

TEST(Labels, SizeRules) {
    CommandObject message19 = label(2, 0, 0, 0, 0, "1234567890123456789");
    message19.attributes = AttrMessage;
    CommandObject message20 = label(3, 0, 0, 0, 0, "12345678901234567890");
    message20.attributes = AttrMessage;
    CommandObject compact = label(4, 0, 0, 0, 0, "Hi");
    compact.kind = CompactLabel;
    CommandObject untitled = label(5, 0, 0, 0, 0, nullptr);
    untitled.sensitive = 2;
    CommandObject table[] = {
        label(1, 0, 0, 0, 0, "Name:"), message19, message20, compact, untitled, End};
    Container c;
    c.buildCommands(table);
    EXPECT_EQ(c.at(1).width, 28);
    EXPECT_EQ(c.at(2).width, 88);
    EXPECT_EQ(c.at(3).width, dialogTextWidth("12345678901234567890") + 8);
    EXPECT_EQ(c.at(4).height, 9);
    EXPECT_EQ(c.at(4).y, 2 + 2);
    EXPECT_STREQ(c.at(5).title, "");
    EXPECT_EQ(c.at(5).sensitive, 0);
    EXPECT_EQ(c.at(1).sensitive, 1);
}

TEST(Commands, UnknownKindsBecomeTheBadObjectLabel) {
    std::vector<CommandObject> table;
    int id = 1;
    for (int kind : {1, 8, 15, 18, 20, 28, 300})
        table.push_back({kind, id++, 0, "Original", nullptr, 0, 1, 0, 0, 0, 0, nullptr});
    table.push_back(End);
    Container c;
    c.buildCommands(table.data());
    for (int i = 1; i < id; ++i) {
        EXPECT_STREQ(table[size_t(i - 1)].title, "?? Bad CommandObject ??");
        EXPECT_STREQ(c.at(i).title, "?? Bad CommandObject ??");
    }
}

TEST(Commands, EmptyTableAndLookups) {
    CommandObject empty[] = {End, label(1, 40)};
    Container none;
    none.buildCommands(empty);
    EXPECT_TRUE(none.commands.empty());
    EXPECT_EQ(none.getValue(1), 0);

    CommandObject first = label(7, 40, 0, 0, 0, "first");
    CommandObject second = label(7, 40, 0, 0, 0, "second");
    CommandObject table[] = {first, second, End};
    Container c;
    c.buildCommands(table);
    EXPECT_EQ(c.findCommand(7)->cmdObject, &table[1]) << "the later one wins";
    EXPECT_TRUE(c.hasCommand(7));
    EXPECT_FALSE(c.hasCommand(8));
    char text[16] = "xx";
    EXPECT_EQ(c.getTextIn(7, text, 1), 0);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(c.getTextIn(7, text, 4), 3);
    EXPECT_STREQ(text, "sec");
    EXPECT_EQ(c.getTextIn(99, text, 16), 0);
    EXPECT_STREQ(text, "");
    c.setValue(99, 1, SetHidden); // ignored
    c.at(7).onNotify(0, 0);
    EXPECT_TRUE(c.reports.empty()) << "labels report nothing";
    PlainCommand plain(&c, &table[1]);
    table[1].value = 3;
    plain.onNotify(0, 0);
    EXPECT_EQ(c.reports, (std::vector<std::string>{"7 3 13"}));
    table[1].value = 5;
    c.at(7).saveValue();
    table[1].value = 9;
    c.at(7).restoreValue();
    EXPECT_EQ(table[1].value, 5);
}

INT_PTR CALLBACK dialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

// The container's template made into a real dialog.
struct RealDialog {
    explicit RealDialog(Container& c) {
        c.endTemplate();
        window = CreateDialogIndirectParamA(
            GetModuleHandleA(nullptr),
            reinterpret_cast<const DLGTEMPLATE*>(c.dialogTemplate.data()), theApp->frameWindow,
            dialogProc, 0);
        c.windowHandle = window;
    }
    ~RealDialog() { DestroyWindow(window); }
    HWND window;
};

TEST(RealDialogs, TheDialogManagerBuildsTheDeclaredControls) {
    CommandObject tipped = label(2, 30, 10, 0, 0, "Tipped");
    tipped.tip = "A tip";
    CommandObject hidden = label(3, 30, 0, 10);
    hidden.attributes = AttrHidden;
    CommandObject table[] = {frame(10), tipped, hidden, End};
    Container c;
    c.buildCommands(table);
    RealDialog dialog(c);
    ASSERT_NE(dialog.window, nullptr);
    char name[32];
    GetClassNameA(GetDlgItem(dialog.window, 2), name, sizeof name);
    EXPECT_STREQ(name, "Static");
    GetClassNameA(GetDlgItem(dialog.window, 10), name, sizeof name);
    EXPECT_STREQ(name, "Button");
    LONG style = GetWindowLongA(GetDlgItem(dialog.window, 10), GWL_STYLE);
    EXPECT_EQ(style & 0xFFFF000F, 0x5002000B);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog.window, 2), GWL_STYLE) & 0xF, SS_LEFTNOWORDWRAP);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog.window, 3)));
    GetWindowTextA(GetDlgItem(dialog.window, 10), name, sizeof name);
    EXPECT_STREQ(name, "") << "frames show no title";
    // Where each control sits is checked once, by the controls' tests.
    RECT client, whole = {0, 0, c.extentX, c.extentY};
    GetClientRect(dialog.window, &client);
    MapDialogRect(dialog.window, &whole);
    EXPECT_EQ(client.right, whole.right);
    EXPECT_EQ(client.bottom, whole.bottom);

    HWND tips = nullptr;
    c.registerToolTips(tips);
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
    c.registerToolTips(tips); // the same window again
    EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 2);
    DestroyWindow(tips);

    c.setString(2, "Changed");
    GetWindowTextA(GetDlgItem(dialog.window, 2), name, sizeof name);
    EXPECT_STREQ(name, "Changed");
    EXPECT_STREQ(c.at(2).title, "Changed");
    c.setString(2, nullptr);
    EXPECT_EQ(c.getTextIn(2, name, sizeof name), 0);
    EXPECT_STREQ(name, "");
    c.setValue(2, 0, SetSensitive);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog.window, 2)));
    EXPECT_EQ(c.at(2).sensitive, 0);
}

TEST(RealDialogs, ToggleFramesShowAndHideNestedContents) {
    CommandObject toggle = frame(10);
    toggle.kind = ToggleFrame;
    CommandObject plain = frame(20);
    CommandObject table[] = {
        toggle, frame(11, 0, 10), label(1, 30, 11), label(2, 30, 10), plain, label(3, 30, 20), End};
    Container c;
    c.buildCommands(table);
    RealDialog dialog(c);
    auto visible = [&](int id) { return IsWindowVisible(GetDlgItem(dialog.window, id)) != 0; };
    c.setValue(10, 0, SetPosition);
    EXPECT_FALSE(visible(10));
    EXPECT_FALSE(visible(11));
    EXPECT_FALSE(visible(1));
    EXPECT_FALSE(visible(2));
    c.setValue(10, 1, SetPosition);
    EXPECT_TRUE(visible(10));
    EXPECT_TRUE(visible(1));
    c.setValue(20, 0, SetPosition); // a plain frame ignores it
    EXPECT_TRUE(visible(20));
    EXPECT_TRUE(visible(3));
    c.setValue(3, 7, SetHidden);
    EXPECT_FALSE(visible(3));
    c.setValue(3, 0, SetHidden);
    EXPECT_TRUE(visible(3));
}

TEST(RealDialogs, FrameReferencesThatWouldLoopPlaceNothing) {
    CommandObject self = frame(10, 0, 10);
    self.kind = ToggleFrame;
    // 21 lies in 20; 20 names 21, which comes later; 30 names the later 31.
    CommandObject table[] = {self,
                             label(1, 30, 10),
                             frame(20, 0, 21),
                             frame(21, 0, 20),
                             label(2, 30, 21),
                             frame(30, 0, 31),
                             frame(31),
                             label(3, 30, 30),
                             End};
    Container c;
    c.buildCommands(table);
    vCmd& outer = c.at(20);
    vCmd& inner = c.at(21);
    EXPECT_EQ(c.at(10).x, 2) << "a frame naming itself is a top-level frame";
    EXPECT_EQ(c.at(10).width, 2 + 30 + 2) << "it holds its label";
    EXPECT_EQ(inner.x, outer.x + 2);
    EXPECT_EQ(outer.x + outer.width, inner.x + inner.width + 2);
    EXPECT_EQ(c.at(31).width, 4) << "a later frame does not grow";
    EXPECT_EQ(c.at(31).height, 4);

    RealDialog dialog(c);
    auto visible = [&](int id) { return IsWindowVisible(GetDlgItem(dialog.window, id)) != 0; };
    c.setValue(10, 0, SetPosition);
    EXPECT_FALSE(visible(10));
    EXPECT_FALSE(visible(1));
    c.setValue(10, 1, SetPosition);
    EXPECT_TRUE(visible(10));
    EXPECT_TRUE(visible(1));
}

TEST(Frames, PaintFaceAndSunkenEdge) {
    CommandObject table[] = {frame(10), End};
    Container c;
    c.buildCommands(table);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 20);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 20, 20};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DRAWITEMSTRUCT item = {ODT_BUTTON, 10, 0, ODA_SELECT, 0, nullptr, dc, {0, 0, 19, 19}, 0};
    EXPECT_EQ(c.at(10).drawItem(10, &item), 1);
    EXPECT_EQ(GetPixel(dc, 10, 10), 0u) << "nothing painted for a selection change";
    item.itemAction = ODA_DRAWENTIRE;
    EXPECT_EQ(c.at(10).drawItem(10, &item), 1);
    EXPECT_EQ(GetPixel(dc, 10, 10), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetPixel(dc, 1, 10), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(GetPixel(dc, 10, 1), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(GetPixel(dc, 18, 10), GetPixel(dc, 10, 18));
    EXPECT_NE(GetPixel(dc, 18, 10), GetSysColor(COLOR_BTNSHADOW));
    item.itemAction = 0;
    EXPECT_EQ(c.at(10).drawItem(10, &item), 0);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

} // namespace
