// Sliders, spinners, progress bars, lists and combo boxes in real dialogs
// built from tables, driven through real scroll, key and mouse messages.
#include "framework/app/vApp.h"
#include "framework/controls/vCmd.h"
#include "framework/controls/vSpinnerCmd.h"
#include "framework/dialogs/vDialog.h"
#include "framework/draw/GdiTally.h"
#include "tests/framework/DrawItemSurface.h"
#include "tests/win/WinTest.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Reports = std::vector<std::string>;

// A shown dialog that records its commands' reports.
class ValueDialog : public vDialog {
  public:
    explicit ValueDialog(CommandObject* table) : vDialog(nullptr, "Values") {
        addDialogCmds(table);
        showDialog(nullptr);
        pumpMessages();
    }

    void onDialogCommand(int id, int value, int) override {
        reports.push_back(std::to_string(id) + " " + std::to_string(value));
    }
    Reports take() { return std::exchange(reports, {}); }
    HWND control(int id) { return GetDlgItem(dialogHandle, id); }
    std::string text(int id) {
        char buffer[100] = "";
        GetWindowTextA(control(id), buffer, sizeof buffer);
        return buffer;
    }
    vSpinnerCmd& spinner(int id) { return *static_cast<vSpinnerCmd*>(findCommand(id)); }
    // The spinner's text field.
    std::string field(int id) { return text(spinner(id).editId); }
    // The message a scroll bar control sends its dialog.
    void scroll(int id, int code, int thumb = 0) {
        bool vertical = GetWindowLongA(control(id), GWL_STYLE) & SBS_VERT;
        SendMessageA(dialogHandle, vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, thumb),
                     reinterpret_cast<LPARAM>(control(id)));
    }
    void key(int id, int virtualKey) {
        SetFocus(control(id));
        SendMessageA(control(id), WM_KEYDOWN, WPARAM(virtualKey), 0);
        pumpMessages(10);
    }

  private:
    Reports reports;
};

CommandObject command(int kind, int id, int value = 0, void* items = nullptr,
                      std::uint32_t attributes = 0, int below = 0, int size = 0) {
    return {kind, id, value, "", items, attributes, 1, 0, 0, below, size, nullptr};
}

const CommandObject End = {EndOfList, 0, 0, nullptr, nullptr, 0, 0, 0, 0, 0, 0, nullptr};

const char* threeTexts[] = {"one", "two", "three", nullptr};
const char* twelveChars[] = {"twelve chars", nullptr};
const char* oneText[] = {"only", nullptr};

TEST(ValueControls, SizesAndStartingValues) {
    int reversed[] = {50, 10};
    int nextEdit = nextSpinnerEditId;
    CommandObject table[] = {command(Slider, 1, 150),
                             command(Slider, 2, -5, reversed, AttrVertical | AttrSmall, 1),
                             command(Spinner, 3, 0, nullptr, 0, 2),
                             command(Spinner, 4, 0, threeTexts, AttrTextList, 3),
                             command(List, 5, 5, threeTexts, 0, 4),
                             command(List, 6, -1, threeTexts, AttrRows, 5, 5),
                             command(List, 7, 0, threeTexts, AttrRows | AttrLarge, 6, 40),
                             command(ComboBox, 8, 0, twelveChars, AttrLarge, 7),
                             command(Progress, 9, 0, nullptr, AttrVertical, 8),
                             command(List, 10, 80, threeTexts, AttrNoSpace, 9),
                             End};
    ValueDialog dialog(table);
    EXPECT_EQ(dialog.getValue(1), 100) << "clamped to the default range";
    EXPECT_EQ(dialog.getValue(2), 0) << "a reversed range is 0..100";
    EXPECT_EQ(GetScrollPos(dialog.control(1), SB_CTL), 100);
    EXPECT_EQ(dialog.getValue(5), 2) << "beyond the texts: the last one";
    EXPECT_EQ(dialog.getValue(6), 0) << "negative: the first one";
    EXPECT_EQ(SendMessageA(dialog.control(5), LB_GETCURSEL, 0, 0), 2);

    struct Size {
        int id, width, height;
    } expected[] = {{1, 110, 14}, {2, 12, 60}, {3, 36, 14}, {4, 32, 14},  {5, 50, 68},
                    {6, 50, 44},  {7, 70, 68}, {8, 82, 14}, {9, 10, 100}, {10, 80, 68}};
    for (const Size& size : expected) {
        vCmd& c = *dialog.findCommand(size.id);
        EXPECT_EQ(c.width, size.width) << size.id;
        EXPECT_EQ(c.height, size.height) << size.id;
    }
    // The spinner's field has the next edit id; its arrows, with the
    // command's id, sit right of it.
    vSpinnerCmd* numeric = &dialog.spinner(3);
    EXPECT_EQ(numeric->editId, nextEdit);
    EXPECT_EQ(nextSpinnerEditId, nextEdit + 2);
    RECT field, arrows;
    GetWindowRect(dialog.control(numeric->editId), &field);
    GetWindowRect(dialog.control(3), &arrows);
    EXPECT_EQ(arrows.left, field.right);
    EXPECT_EQ(arrows.top, field.top);
    EXPECT_EQ(dialog.field(3), "0");
    EXPECT_EQ(dialog.field(4), "one");
}

TEST(ValueControls, SliderFollowsScrollMessages) {
    int wide[] = {-40000, 40000};
    int signedRange[] = {-50, 50};
    CommandObject table[] = {command(Slider, 1, 95), command(Slider, 2, 0, signedRange, 0, 1),
                             command(Slider, 3, -39995, wide, 0, 2), End};
    ValueDialog dialog(table);
    dialog.scroll(1, SB_PAGEDOWN);
    dialog.scroll(1, SB_LINEDOWN);
    dialog.scroll(1, SB_THUMBTRACK, 40);
    dialog.scroll(1, SB_THUMBTRACK, 41);
    dialog.scroll(1, SB_THUMBPOSITION, 41);
    dialog.scroll(1, SB_TOP);
    dialog.scroll(1, SB_LINEUP);
    dialog.scroll(1, SB_PAGEUP);
    dialog.scroll(1, SB_ENDSCROLL);
    dialog.scroll(1, SB_THUMBTRACK, 500);
    dialog.scroll(2, SB_THUMBTRACK, -10);
    dialog.scroll(3, SB_PAGEUP);
    dialog.scroll(3, SB_LINEDOWN);
    EXPECT_EQ(dialog.take(),
              (Reports{"1 100", "1 40", "1 41", "1 0", "1 100", "2 -10", "3 -40000", "3 -39999"}))
        << "no report without a change; a forged thumb stops at the end";
    EXPECT_EQ(GetScrollPos(dialog.control(1), SB_CTL), 100);
    EXPECT_EQ(GetScrollPos(dialog.control(3), SB_CTL), -39999) << "positions beyond 16 bits";

    dialog.setValue(1, 101, SetPosition);
    dialog.setValue(1, -1, SetPosition);
    EXPECT_EQ(dialog.getValue(1), 100);
    dialog.setValue(1, 7, SetPosition);
    EXPECT_EQ(GetScrollPos(dialog.control(1), SB_CTL), 7);
    EXPECT_EQ(dialog.findCommand(1)->getValue(2), -1) << "another id";

    // Cancelling brings each slider back to its value at the showing.
    dialog.cancelDialog();
    EXPECT_EQ(dialog.getValue(1), 95);
    EXPECT_EQ(dialog.getValue(3), -39995);
    EXPECT_TRUE(dialog.take().empty()) << "restoring reports nothing";
}

// Drags a horizontal scroll bar's thumb with the pointer, through the
// platform's own tracking, to just beyond one end.
void dragThumb(HWND bar, bool right) {
    SCROLLBARINFO info = {};
    info.cbSize = sizeof info;
    GetScrollBarInfo(bar, OBJID_CLIENT, &info);
    RECT client;
    GetClientRect(bar, &client);
    int y = client.bottom / 2, end = right ? client.right + 10 : -10;
    PostMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(end, y));
    PostMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(end, y));
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM((info.xyThumbTop + info.xyThumbBottom) / 2, y));
    pumpMessages(10);
}

TEST(ValueControls, SliderDraggedBeyondSixteenBits) {
    int wide[] = {0, 70000}, belowZero[] = {-100, 40000};
    CommandObject table[] = {command(Slider, 1, 100, wide),
                             command(Slider, 2, 100, belowZero, 0, 1), End};
    ValueDialog dialog(table);
    dragThumb(dialog.control(1), true);
    dragThumb(dialog.control(2), false);
    EXPECT_EQ(dialog.getValue(1), 70000);
    EXPECT_EQ(dialog.getValue(2), -100);
}

// Spinners give their fields' ids back: a dialog opened again uses the same.
TEST(ValueControls, SpinnerFieldIdsAreReused) {
    CommandObject table[] = {command(Spinner, 1), command(Spinner, 2, 0, nullptr, 0, 1), End};
    auto fieldId = [&] {
        ValueDialog dialog(table);
        EXPECT_EQ(dialog.field(2), "0");
        return dialog.spinner(2).editId;
    };
    EXPECT_EQ(fieldId(), fieldId());
}

TEST(ValueControls, SpinnerStepsThroughRangesAndTexts) {
    int byFive[] = {0, 10, 5};
    int zero[] = {0, 0, 1};
    const char* longer[] = {"first", "second and longest", nullptr};
    CommandObject table[] = {command(Spinner, 1, 0, byFive),
                             command(Spinner, 2, 0, zero, 0, 1),
                             command(Spinner, 3, 0, threeTexts, AttrTextList, 2),
                             command(Spinner, 4, 0, oneText, AttrTextList, 3),
                             command(Spinner, 5, 3, nullptr, AttrTextList, 4),
                             command(Spinner, 6, 0, nullptr, AttrNoNotify, 5),
                             End};
    ValueDialog dialog(table);
    int up = SB_LINEUP, down = SB_LINEDOWN;
    for (int code : {down, up, up, up})
        dialog.scroll(1, code);
    for (int code : {up, up, down, down, down, down})
        dialog.scroll(2, code);
    for (int code : {up, down, SB_PAGEDOWN, down})
        dialog.scroll(3, code);
    for (int id : {4, 5})
        for (int code : {up, down})
            dialog.scroll(id, code);
    dialog.scroll(6, up);
    EXPECT_EQ(dialog.take(),
              (Reports{"1 5", "1 10", "2 1", "2 2", "2 1", "2 0", "2 -1", "2 -2", "3 1", "3 2"}))
        << "the ends of a range or list are kept and not reported";
    EXPECT_EQ(dialog.field(1), "10") << "spun up to exactly its top";
    EXPECT_EQ(dialog.field(2), "-2") << "0..0 has no bounds";
    EXPECT_EQ(dialog.field(3), "three");
    EXPECT_EQ(dialog.field(4), "only");
    EXPECT_EQ(dialog.field(5), "") << "a missing list shows nothing";
    EXPECT_EQ(dialog.getValue(5), 0);
    EXPECT_EQ(dialog.getValue(6), 1) << "changed without a report";

    dialog.setValue(1, -7, SetValue);
    EXPECT_EQ(dialog.field(1), "0") << "set as any control's value, within the range";
    table[2].items = longer;
    dialog.setValue(3, 5, SetListReplaced);
    EXPECT_EQ(dialog.field(3), "second and longest") << "beyond the new list: its last text";
    EXPECT_EQ(dialog.spinner(3).maxChars, 18);

    dialog.setValue(1, 1, SetHidden);
    EXPECT_FALSE(IsWindowVisible(dialog.control(1)));
    EXPECT_FALSE(IsWindowVisible(dialog.control(dialog.spinner(1).editId)))
        << "the field hides with its arrows";
    dialog.cancelDialog();
    EXPECT_EQ(dialog.getValue(6), 0) << "back to its value at the showing";
}

TEST(ValueControls, ListAndComboSelections) {
    const char* other[] = {"red", "green", nullptr};
    CommandObject table[] = {command(List, 1, 1, threeTexts),
                             command(ComboBox, 2, 1, threeTexts, 0, 1),
                             command(List, 3, 0, nullptr, 0, 2),
                             command(ComboBox, 4, -1, other, 0, 3),
                             command(List, 5, 0, threeTexts, AttrNoNotify, 4),
                             End};
    ValueDialog dialog(table);
    auto selected = [&](int id, UINT message) {
        return SendMessageA(dialog.control(id), message, 0, 0);
    };
    EXPECT_EQ(dialog.getValue(3), -1) << "no texts, nothing selected";
    EXPECT_EQ(selected(3, LB_GETCOUNT), 0);

    // Keys and a double click, as the user gives them.
    dialog.key(1, VK_DOWN);
    dialog.key(2, VK_DOWN);
    dialog.key(4, VK_DOWN);
    dialog.key(5, VK_DOWN);
    RECT item;
    SendMessageA(dialog.control(1), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    LPARAM at = MAKELPARAM(item.left + 2, item.top + 2);
    SendMessageA(dialog.control(1), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(dialog.control(1), WM_LBUTTONUP, 0, at);
    SendMessageA(dialog.control(1), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(dialog.control(1), WM_LBUTTONUP, 0, at);
    pumpMessages(10);
    EXPECT_EQ(dialog.take(), (Reports{"1 2", "2 2", "4 1", "1 0", "1 0"}))
        << "a double click reports again; no reports with AttrNoNotify";
    EXPECT_EQ(dialog.getValue(5), 1);

    dialog.setValue(1, 3, SetPosition);
    dialog.setValue(2, 3, SetPosition);
    EXPECT_EQ(dialog.getValue(1), 0) << "beyond the texts: ignored";
    EXPECT_EQ(dialog.getValue(2), 2);
    dialog.setValue(1, -1, SetPosition);
    dialog.setValue(2, -1, SetPosition);
    EXPECT_EQ(dialog.getValue(1), -1);
    EXPECT_EQ(selected(1, LB_GETCURSEL), -1) << "a list clears its selection";
    EXPECT_EQ(dialog.getValue(2), -1);
    EXPECT_EQ(selected(2, CB_GETCURSEL), 2) << "a combo box keeps showing its choice";

    table[3].items = threeTexts;
    dialog.setValue(4, 2, SetListReplaced);
    EXPECT_EQ(selected(4, CB_GETCOUNT), 3);
    char text[20] = "";
    SendMessageA(dialog.control(4), CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "three");
    EXPECT_EQ(dialog.getValue(4), 2);
    dialog.setValue(4, 7, SetListChanged);
    EXPECT_EQ(dialog.getValue(4), -1) << "never an index past the texts";
    EXPECT_EQ(selected(4, CB_GETCURSEL), -1);
    table[0].items = nullptr;
    dialog.setValue(1, 0, SetListReplaced);
    EXPECT_EQ(dialog.getValue(1), -1);
    EXPECT_EQ(selected(1, LB_GETCOUNT), 0);
    dialog.cancelDialog();
    EXPECT_EQ(dialog.getValue(4), 0) << "back to the selection at the showing";
    EXPECT_EQ(dialog.getValue(1), -1) << "the old selection is gone with the texts";
}

TEST(ValueControls, ProgressBarPaintsItsValue) {
    CommandObject table[] = {command(Progress, 1, 50),
                             command(Progress, 2, 50, nullptr, AttrVertical, 1),
                             command(Progress, 3, 50, nullptr, AttrPercent, 2),
                             command(Progress, 4, 50, nullptr, AttrNoValueText, 3), End};
    ValueDialog dialog(table);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    int live = GdiTally::live;
    DrawItemSurface half, vertical, percent, plain;
    half.paint(*dialog.findCommand(1));
    vertical.paint(*dialog.findCommand(2));
    percent.paint(*dialog.findCommand(3));
    plain.paint(*dialog.findCommand(4));
    // 38 pixels inside the edges, half of them filled: the bar ends at 2 + 19.
    EXPECT_EQ(half.at(4, 5), face);
    EXPECT_EQ(half.at(17, 5), face);
    EXPECT_NE(half.at(22, 5), face);
    EXPECT_NE(half.at(36, 5), face);
    EXPECT_NE(vertical.at(5, 5), face) << "a vertical bar fills from the bottom";
    EXPECT_EQ(vertical.at(5, 24), face);
    EXPECT_TRUE(percent.rowDiffers(half, 15)) << "a percent sign follows the value";
    EXPECT_TRUE(half.rowDiffers(plain, 15)) << "the value is written";
    EXPECT_FALSE(half.rowDiffers(plain, 5)) << "above the text both are alike";

    for (int outside : {101, -1}) {
        dialog.setValue(1, outside, SetPosition);
        EXPECT_EQ(dialog.getValue(1), 50) << outside << " is beyond the range: ignored";
    }
    dialog.setValue(4, 0, SetPosition);
    plain.paint(*dialog.findCommand(4));
    EXPECT_NE(plain.at(4, 5), face) << "no bar at the lowest value";
    dialog.setValue(4, 100, SetPosition);
    plain.paint(*dialog.findCommand(4));
    EXPECT_EQ(plain.at(36, 5), face) << "a full bar at the highest";
    plain.paint(*dialog.findCommand(4), ODA_FOCUS);
    EXPECT_EQ(plain.at(36, 5), 0xFFFFFFu) << "only a whole redraw paints";
    EXPECT_EQ(GdiTally::live, live) << "the trough brush is deleted";
}

} // namespace
