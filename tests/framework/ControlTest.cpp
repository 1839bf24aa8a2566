// Controls in real dialogs built from tables: their sizes, clicks through
// real messages, owner-drawn pixels and text entry.
#include "framework/app/vApp.h"
#include "framework/controls/vBoxedLabelCmd.h"
#include "framework/controls/vCmd.h"
#include "framework/dialogs/vCmdParent.h"
#include "framework/dialogs/vCommandPane.h"
#include "framework/dialogs/vDialog.h"
#include "framework/draw/vColor.h"
#include "framework/draw/vIcon.h"
#include "tests/framework/DrawItemSurface.h"
#include "tests/framework/Recorders.h"
#include "tests/win/WinTest.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using Reports = std::vector<std::string>;

// A real modeless dialog, shown through its own start-up, which records the
// commands' reports.
class TestDialog : public vDialog {
  public:
    explicit TestDialog(CommandObject* table) : vDialog(nullptr, "Controls") {
        addDialogCmds(table);
        show();
    }

    void show() {
        showDialog(nullptr);
        pumpMessages();
    }
    void onDialogCommand(int id, int value, int kind) override {
        reports.push_back(std::to_string(id) + " " + std::to_string(value));
        vDialog::onDialogCommand(id, value, kind);
    }
    Reports take() { return std::exchange(reports, {}); }
    HWND control(int id) { return GetDlgItem(windowHandle, id); }
    void click(int id) {
        SendMessageA(control(id), BM_CLICK, 0, 0);
        pumpMessages(10);
    }
    std::string text(int id) {
        char buffer[300] = "";
        GetWindowTextA(control(id), buffer, sizeof buffer);
        return buffer;
    }
    // Focus changes reach a dialog late under a window manager: the focus
    // must have stayed on the control a while before reports are recorded.
    void focusSteadily(int id) {
        DWORD since = GetTickCount();
        EXPECT_TRUE(pumpUntil(
            [&] {
                if (GetFocus() != control(id)) {
                    SetFocus(control(id));
                    since = GetTickCount();
                }
                return GetTickCount() - since >= 300;
            },
            5000))
            << "the focus never stayed on control " << id;
        take();
    }
    bool checked(int id) { return IsDlgButtonChecked(windowHandle, id) == BST_CHECKED; }

  private:
    Reports reports;
};

CommandObject command(int kind, int id, const char* title, int below = 0, int size = 0,
                      std::uint32_t attributes = 0, void* items = nullptr, int value = 0,
                      int frame = 0) {
    return {kind, id, value, title, items, attributes, 1, frame, 0, below, size, nullptr};
}

const CommandObject End = {EndOfList, 0, 0, nullptr, nullptr, 0, 0, 0, 0, 0, 0, nullptr};

// 16 by 16, one bit: the left half set.
const unsigned char* halfSet() {
    static unsigned char rows[32];
    for (int i = 0; i < 32; i += 2)
        rows[i] = 0xFF;
    return rows;
}
vIcon halfIcon(halfSet(), 16, 16, 1);

const std::string title80(80, 'x');
const std::string title130(130, 'y');
const std::string title79(79, 'x'), title129(129, 'y');

TEST(Controls, SizesOfTheDeclaredExamples) {
    CommandObject table[] = {command(Button, 1, "&Ok", 0, 30),
                             command(ColorButton, 2, "", 1, 30),
                             command(CheckBox, 3, "Check", 2),
                             command(TextIn, 4, "", 3),
                             command(TextIn, 5, "", 4, 0, AttrSmall | AttrLarge),
                             command(TextIn, 6, "twelve chars", 5, 5),
                             command(Text, 7, "title", 6, 0, 0, const_cast<char*>("a\nbc")),
                             command(BoxedLabel, 8, title80.c_str(), 7),
                             command(IconButton, 9, "Plain", 8),
                             command(IconButton, 10, "", 9, 0, 0, &halfIcon),
                             command(Icon, 11, "", 10, 0, 0, &halfIcon),
                             command(RadioButton, 12, "Radio", 11),
                             End};
    TestDialog dialog(table);
    struct Size {
        int id, width, height;
    } expected[] = {{1, 30, 14}, {2, 30, 30},  {3, 34, 11},  {4, 86, 14},
                    {5, 46, 14}, {6, 78, 14},  {7, 11, 23},  {8, 324, 11},
                    {9, 30, 14}, {10, 13, 13}, {11, 22, 14}, {12, 34, 11}};
    for (const Size& size : expected) {
        vCmd& c = *dialog.findCommand(size.id);
        EXPECT_EQ(c.width, size.width) << size.id;
        EXPECT_EQ(c.height, size.height) << size.id;
        RECT units = {c.x, c.y, c.width, c.height}, actual;
        MapDialogRect(dialog.windowHandle, &units);
        GetWindowRect(dialog.control(size.id), &actual);
        MapWindowPoints(nullptr, dialog.windowHandle, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, units.left) << size.id;
        EXPECT_EQ(actual.top, units.top) << size.id;
        EXPECT_EQ(actual.right - actual.left, units.right) << size.id;
        EXPECT_EQ(actual.bottom - actual.top, units.bottom) << size.id;
    }
    // Check boxes and radio buttons sit 2 units below their place.
    EXPECT_EQ(dialog.findCommand(3)->y, dialog.findCommand(2)->y + 30 + 2 + 2);
    EXPECT_EQ(dialog.text(7), "a\r\nbc") << "items over title, a carriage return added";
    EXPECT_TRUE(GetWindowLongA(dialog.control(7), GWL_STYLE) & ES_MULTILINE);
    EXPECT_EQ(dialog.text(8), title80);
    EXPECT_EQ(GetWindowLongA(dialog.control(9), GWL_STYLE) & 0xF, BS_PUSHBUTTON);
    EXPECT_EQ(GetWindowLongA(dialog.control(10), GWL_STYLE) & 0xF, BS_OWNERDRAW);

    dialog.setString(7, "two\nlines");
    EXPECT_EQ(dialog.text(7), "two\r\nlines");
    // Every kind keeps its own copy of a text; a null text is an empty one.
    for (const Size& size : expected) {
        char caller[] = "kept";
        dialog.setString(size.id, caller);
        caller[0] = '-';
        EXPECT_STREQ(dialog.findCommand(size.id)->title, "kept") << size.id;
        dialog.setString(size.id, nullptr);
        EXPECT_STREQ(dialog.findCommand(size.id)->title, "") << size.id;
    }
    EXPECT_EQ(dialog.text(4), "");
    EXPECT_EQ(dialog.text(1), "");
}

TEST(Controls, ClicksReportTheirValues) {
    CommandObject table[] = {command(Button, 1, "Push", 0, 0, 0, nullptr, 7),
                             command(ToggleButton, 2, "Toggle", 1),
                             command(CheckBox, 3, "Check", 2),
                             command(RadioButton, 4, "One", 3, 0, 0, nullptr, 1, 0),
                             command(RadioButton, 5, "Two", 4),
                             command(ToggleButton, 6, "Hidden", 5, 0, AttrHidden),
                             End};
    TestDialog dialog(table);
    CommandObject loneTable[] = {command(RadioButton, 4, "Lone", 0), End};
    TestDialog lone(loneTable);
    EXPECT_EQ(IsDlgButtonChecked(dialog.windowHandle, 4), BST_CHECKED);

    for (int id : {1, 2, 2, 3, 5, 5})
        dialog.click(id);
    EXPECT_EQ(dialog.take(), (Reports{"1 7", "2 1", "2 0", "3 1", "4 0", "5 1"}))
        << "the radio button already on reports nothing";
    EXPECT_EQ(IsDlgButtonChecked(dialog.windowHandle, 3), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog.windowHandle, 4), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog.windowHandle, 5), BST_CHECKED);

    // A group of one, in another dialog, with the same id as a button here.
    lone.click(4);
    EXPECT_EQ(lone.take(), (Reports{"4 1"}));
    EXPECT_EQ(IsDlgButtonChecked(lone.windowHandle, 4), BST_CHECKED);
    EXPECT_TRUE(dialog.take().empty());
    EXPECT_EQ(dialog.getValue(5), 1);

    // Cancelling puts each changed button back to its value at this showing
    // and reports it once; OK keeps the values for the next showing.
    dialog.click(2);
    dialog.take();
    dialog.cancelDialog();
    EXPECT_EQ(dialog.take(), (Reports{"5 0", "4 1", "3 0", "2 0"}));
    EXPECT_EQ(table[2].value, 0) << "the record is left alone";
    dialog.show();
    EXPECT_EQ(IsDlgButtonChecked(dialog.windowHandle, 3), BST_UNCHECKED);
    for (int id : {2, 3, 5})
        dialog.click(id);
    dialog.closeDialog();
    dialog.show();
    for (int id : {2, 3, 4})
        dialog.click(id);
    dialog.take();
    dialog.cancelDialog();
    EXPECT_EQ(dialog.take(), (Reports{"5 1", "4 0", "3 1", "2 1"}));

    dialog.show();
    dialog.setValue(6, 1, SetValue);
    EXPECT_FALSE(IsWindowVisible(dialog.control(6))) << "repainting keeps it hidden";
    EXPECT_EQ(dialog.getValue(6), 1);
}

// Cancelling a dialog never shown keeps every command's current value.
TEST(Controls, CancelBeforeAnyShowingKeepsValues) {
    const char* texts[] = {"a", "b", nullptr};
    CommandObject table[] = {command(Slider, 1, ""), command(List, 2, "", 1, 0, 0, texts),
                             command(CheckBox, 3, "", 2), End};
    vDialog dialog(nullptr, "Never shown");
    dialog.addDialogCmds(table);
    for (int id : {1, 2, 3})
        dialog.setValue(id, 1, SetPosition);
    dialog.cancelDialog();
    for (int id : {1, 2, 3})
        EXPECT_EQ(dialog.getValue(id), 1) << id;
}

// One start rule for dialogs and bars: a non-zero value is on, and of a
// group declared on, the button declared first wins. Both pass on every
// notification but the edit ones of focus gain, update, lack of space,
// overflow and scrolling. A bar's tips go with it.
TEST(Controls, DialogsAndBarsStartAndNotifyAlike) {
    CommandObject table[] = {command(CheckBox, 1, "Minus one", 0, 0, 0, nullptr, -1),
                             command(RadioButton, 2, "First", 1, 0, 0, nullptr, 1, 70),
                             command(RadioButton, 3, "Second", 2, 0, 0, nullptr, 1, 70),
                             command(RadioButton, 4, "Minus one", 3, 0, 0, nullptr, -1, 80),
                             command(RadioButton, 5, "Other", 4, 0, 0, nullptr, 0, 80),
                             command(Button, 6, "Push", 5),
                             End};
    table[0].tip = "A tip";
    TestDialog dialog(table);
    EventLog log;
    auto* window = new RecordingWindow(log, "Bar owner");
    theApp->newAppWindow(window, "Bar owner", 0, 0, nullptr);
    auto* bar = new vCommandPane(table);
    window->addPane(bar);
    const int on[] = {1, 1, 0, 1, 0};
    for (int id = 1; id <= 5; ++id) {
        EXPECT_EQ(dialog.checked(id), on[id - 1] == 1) << id;
        EXPECT_EQ(IsDlgButtonChecked(bar->windowHandle, id), UINT(on[id - 1])) << id;
    }
    dialog.click(5);
    EXPECT_EQ(dialog.take(), (Reports{"4 0", "5 1"}));
    EXPECT_TRUE(dialog.checked(2) && dialog.checked(1)) << "another group is left alone";
    SendMessageA(GetDlgItem(bar->windowHandle, 5), BM_CLICK, 0, 0);
    EXPECT_EQ(log.take(), (std::vector<std::string>{"command 4 0 17", "command 5 1 17"}));
    const std::set<int> ignored = {0x100, 0x400, 0x500, 0x501, 0x601, 0x602};
    for (int code = 0; code <= 0xFFFF; code += code < 0x1000 ? 1 : 0xFF) {
        for (HWND container : {dialog.windowHandle, bar->windowHandle})
            SendMessageA(container, WM_COMMAND, MAKEWPARAM(6, code), 0);
        EXPECT_EQ(dialog.take().size(), ignored.count(code) ? 0u : 1u) << std::hex << code;
        EXPECT_EQ(log.take().size(), ignored.count(code) ? 0u : 1u) << std::hex << code;
    }
    LRESULT tools = SendMessageA(barTipWindow, TTM_GETTOOLCOUNT, 0, 0);
    window->panes.remove(bar);
    delete bar;
    EXPECT_EQ(SendMessageA(barTipWindow, TTM_GETTOOLCOUNT, 0, 0), tools - 1);
    RecordingWindow::closeAndDelete(window);
}

TEST(Controls, OwnerDrawnPixels) {
    static const unsigned char noData[1] = {0};
    vIcon badDepth(noData, 16, 16, 4);
    vIcon noPixels(nullptr, 16, 16, 1);
    vColor teal(0, 128, 128);
    CommandObject table[] = {command(ToggleButton, 1, "T"),
                             command(IconButton, 2, "", 1, 0, 0, &halfIcon),
                             command(ColorButton, 3, "", 2, 0, 0, &teal),
                             command(BoxedLabel, 4, "Before", 3),
                             command(Icon, 5, "", 4, 0, 0, &halfIcon),
                             command(IconButton, 6, "", 5, 0, 0, &badDepth),
                             command(IconButton, 7, "", 6, 0, 0, &noPixels),
                             End};
    TestDialog dialog(table);
    COLORREF face = GetSysColor(COLOR_BTNFACE), shadow = GetSysColor(COLOR_BTNSHADOW);

    DrawItemSurface off, on;
    EXPECT_EQ(off.paint(*dialog.findCommand(1)), 1);
    dialog.setValue(1, 1, SetValue);
    on.paint(*dialog.findCommand(1));
    EXPECT_NE(off.at(0, 15), shadow) << "raised when off";
    EXPECT_EQ(on.at(0, 15), shadow) << "sunk when on";
    EXPECT_EQ(on.at(39, 15), off.at(0, 15));

    // The icon is centred: (40 - 16) / 2, (30 - 16) / 2; its set half black.
    DrawItemSurface icon;
    icon.paint(*dialog.findCommand(2));
    EXPECT_EQ(icon.at(12, 7), 0u);
    EXPECT_EQ(icon.at(19, 22), 0u);
    EXPECT_EQ(icon.at(20, 15), face);
    EXPECT_EQ(icon.at(11, 15), face);
    DrawItemSurface label;
    label.paint(*dialog.findCommand(5));
    EXPECT_EQ(label.at(0, 0), 0u);
    EXPECT_EQ(label.at(8, 0), 0xFFFFFFu) << "the unset half is left alone";

    DrawItemSurface color;
    color.paint(*dialog.findCommand(3));
    EXPECT_EQ(color.at(20, 15), teal.packed);
    dialog.setValue(3, 200, SetRed);
    color.paint(*dialog.findCommand(3));
    EXPECT_EQ(color.at(20, 15), vColor(200, 128, 128).packed);

    DrawItemSurface before, after;
    before.paint(*dialog.findCommand(4));
    dialog.setString(4, "After, and longer");
    after.paint(*dialog.findCommand(4));
    EXPECT_NE(before.at(0, 0), 0xFFFFFFu);
    bool changed = false;
    for (int x = 0; x < 40; ++x)
        changed |= before.at(x, 15) != after.at(x, 15);
    EXPECT_TRUE(changed);

    // Bad icon data paints the face and edges only.
    for (int id : {6, 7}) {
        DrawItemSurface bad;
        EXPECT_EQ(bad.paint(*dialog.findCommand(id)), 1);
        EXPECT_EQ(bad.at(20, 15), face) << id;
        EXPECT_EQ(bad.at(12, 7), face) << id;
    }
    EXPECT_EQ(off.paint(*dialog.findCommand(1), ODA_FOCUS), 1);
    EXPECT_EQ(off.paint(*dialog.findCommand(4), 0), 0);
}

TEST(Controls, TextEntryKeepsItsText) {
    CommandObject table[] = {
        command(TextIn, 1, "ab", 0, 0, AttrReportChanges), command(TextIn, 2, title130.c_str(), 1),
        command(TextIn, 3, "", 2, 0, AttrPassword),        command(TextIn, 4, title129.c_str(), 3),
        command(BoxedLabel, 5, title79.c_str(), 4),        End};
    TestDialog dialog(table);
    char text[200] = "unchanged";
    EXPECT_EQ(dialog.getTextIn(4, text, sizeof text), 129);
    EXPECT_EQ(dialog.text(5), title79);
    dialog.setString(5, title80.c_str());
    EXPECT_EQ(dialog.text(5), title80) << "a boxed label keeps any length";
    EXPECT_EQ(dialog.getTextIn(1, text, 1), 0);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(dialog.getTextIn(1, text, 2), 1);
    EXPECT_STREQ(text, "a");

    dialog.focusSteadily(1);
    SendMessageA(dialog.control(1), EM_SETSEL, 2, 2);
    SendMessageA(dialog.control(1), WM_CHAR, 'c', 0);
    EXPECT_EQ(dialog.take(), (Reports{"1 32158"}));
    EXPECT_EQ(dialog.getTextIn(1, text, sizeof text), 3);
    EXPECT_STREQ(text, "abc");
    SendMessageW(dialog.control(1), WM_CHAR, 0x65E5, 0);
    EXPECT_EQ(dialog.take(), (Reports{"1 32158"}));
    EXPECT_EQ(dialog.textIn(1), "abc\xE6\x97\xA5") << "UTF-8, beyond the ANSI code page";
    SetFocus(dialog.control(3));
    EXPECT_EQ(dialog.take(), (Reports{"1 32159"}));

    EXPECT_EQ(dialog.text(2), title130);
    EXPECT_EQ(dialog.getTextIn(2, text, sizeof text), 130) << "kept whole";
    SendMessageA(dialog.control(2), WM_CHAR, 'z', 0);
    EXPECT_EQ(dialog.getTextIn(2, text, sizeof text), 131) << "however long";
    EXPECT_TRUE(dialog.take().empty()) << "no reports without the attribute";
    // A later showing cancelled puts back what OK kept, not the typed text.
    const std::string kept = text;
    dialog.closeDialog();
    dialog.show();
    SendMessageA(dialog.control(2), WM_CHAR, 'w', 0);
    dialog.cancelDialog();
    dialog.show();
    EXPECT_EQ(dialog.text(2), kept);

    dialog.setString(3, "secret");
    EXPECT_TRUE(GetWindowLongA(dialog.control(3), GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(dialog.getTextIn(3, text, sizeof text), 6);
    EXPECT_STREQ(text, "secret");
}

} // namespace
