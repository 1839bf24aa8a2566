// The gallery dialog in this process, through real control messages.
#include "framework/controls/vCmd.h"
#include "framework/dialogs/vThisList.h"
#include "framework/draw/GdiTally.h"
#include "gallery/GalleryDialog.h"
#include "tests/win/WinTest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using G = GalleryDialog;

BOOL CALLBACK countChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK countWindow(HWND window, LPARAM count) {
    EnumChildWindows(window, countChild, count);
    return countChild(window, count);
}

int entries(vThisList& list) {
    int count = 0;
    for (void* entry = list.first(); entry; entry = list.next())
        ++count;
    return count;
}

// What a showing could leave behind: windows, drawing objects, registry entries.
std::vector<int> tally() {
    int windows = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&windows));
    return {windows, GdiTally::live, entries(dialogList), entries(timerList)};
}

void click(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    pumpMessages(10);
}

void scroll(HWND dialog, int id, int code) {
    SendMessageA(dialog, WM_HSCROLL, code, reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

HWND show(GalleryDialog& gallery) {
    gallery.showDialog(nullptr);
    pumpMessages(30);
    return gallery.dialogHandle;
}

TEST(Gallery, OpensAndClosesTenTimesWithoutLeaving) {
    std::vector<int> first;
    for (int cycle = 0; cycle < 10; ++cycle) {
        {
            GalleryDialog gallery(nullptr);
            HWND dialog = show(gallery);
            ASSERT_TRUE(IsWindowVisible(dialog));
            // The dialog's own timer may have ticked while it was shown.
            int shown = gallery.getValue(G::IdProgress);
            gallery.advance();
            EXPECT_EQ(gallery.getValue(G::IdProgress), shown + 5);
            gallery.setValue(G::IdProgress, 100, SetPosition);
            gallery.advance();
            EXPECT_EQ(gallery.getValue(G::IdProgress), 0) << "past the end it starts again";
            click(dialog, IdOk);
            EXPECT_FALSE(gallery.displayed);
        }
        pumpMessages(10);
        // The first showing builds what the later ones reuse (the icon's bitmap).
        if (cycle == 0) first = tally();
        EXPECT_EQ(tally(), first) << "cycle " << cycle;
    }
    EXPECT_EQ(first[2] + first[3], 0) << "no dialog or timer left registered";
}

TEST(Gallery, CancelRestoresTheValuesAndOkKeepsThem) {
    GalleryDialog gallery(nullptr);
    HWND dialog = show(gallery);
    scroll(dialog, G::IdSlider, SB_PAGEDOWN);
    click(dialog, G::IdDetails);
    click(dialog, G::IdFirstRadio + 1);
    SetFocus(GetDlgItem(dialog, G::IdList));
    SendMessageA(GetDlgItem(dialog, G::IdList), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(G::record(G::IdSlider)->value, 50) << "reports are kept in the table";
    EXPECT_EQ(gallery.getValue(G::IdDetailsProgress), 50) << "the details follow the slider";
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, G::IdDetailsFrame)));
    EXPECT_STREQ(gallery.findCommand(G::IdSliderValue)->title, "List: Damson");

    // The close box cancels.
    SendMessageA(dialog, WM_CLOSE, 0, 0);
    pumpMessages(10);
    EXPECT_FALSE(gallery.displayed);
    int declared[][2] = {{G::IdSlider, 40},
                         {G::IdDetails, 1},
                         {G::IdFirstRadio, 1},
                         {G::IdFirstRadio + 1, 0},
                         {G::IdList, 2}};
    for (auto [id, value] : declared)
        EXPECT_EQ(G::record(id)->value, value) << id;
    dialog = show(gallery);
    EXPECT_EQ(GetScrollPos(GetDlgItem(dialog, G::IdSlider), SB_CTL), 40);
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, G::IdList), LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(IsDlgButtonChecked(dialog, G::IdFirstRadio + 1), BST_UNCHECKED);

    click(dialog, G::IdDetails);
    scroll(dialog, G::IdSlider, SB_PAGEDOWN);
    click(dialog, IdOk);
    dialog = show(gallery);
    EXPECT_EQ(GetScrollPos(GetDlgItem(dialog, G::IdSlider), SB_CTL), 50) << "OK keeps";
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, G::IdDetailsFrame)))
        << "the details frame follows its kept check box";
    // The declared values again, for whoever shows the gallery next.
    scroll(dialog, G::IdSlider, SB_PAGEUP);
    click(dialog, G::IdDetails);
    click(dialog, IdOk);
}

} // namespace
