// The gallery dialog in this process, through real control messages, and
// the gallery program run whole.
#include "framework/controls/vCmd.h"
#include "framework/dialogs/vThisList.h"
#include "framework/draw/GdiTally.h"
#include "gallery/GalleryDialog.h"
#include "tests/win/WinTest.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using G = GalleryDialog;

BOOL CALLBACK countChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK countWindow(HWND window, LPARAM count) {
    countChild(window, count);
    EnumChildWindows(window, countChild, count);
    return TRUE;
}

int entries(vThisList& list) {
    int count = 0;
    for (void* entry = list.first(); entry; entry = list.next())
        ++count;
    return count;
}

// What a showing could leave behind.
struct Tally {
    int windows, drawingObjects, dialogs, timers;
    bool operator==(const Tally& o) const {
        return windows == o.windows && drawingObjects == o.drawingObjects && dialogs == o.dialogs &&
               timers == o.timers;
    }
};

Tally tally() {
    Tally t = {0, GdiTally::live, entries(dialogList), entries(timerList)};
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&t.windows));
    return t;
}

void clickIn(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    pumpMessages(10);
}

void scrollIn(HWND dialog, int id, int code) {
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(code, 0),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

TEST(Gallery, OpensAndClosesWithoutLeaving) {
    Tally first = {};
    for (int cycle = 0; cycle < 10; ++cycle) {
        {
            GalleryDialog gallery(nullptr);
            gallery.showDialog(nullptr);
            pumpMessages(50);
            ASSERT_TRUE(IsWindowVisible(gallery.dialogHandle));
            int progress = gallery.getValue(G::IdProgress);
            gallery.advance();
            EXPECT_EQ(gallery.getValue(G::IdProgress), (progress + G::ProgressStep) % 105);
            clickIn(gallery.dialogHandle, IdOk);
            EXPECT_FALSE(gallery.displayed);
        }
        pumpMessages(10);
        // The first showing builds what every later one reuses (the icon's bitmap).
        if (cycle == 0)
            first = tally();
        else
            EXPECT_TRUE(tally() == first) << "cycle " << cycle;
    }
    EXPECT_EQ(first.dialogs, 0);
    EXPECT_EQ(first.timers, 0);
}

TEST(Gallery, CancelRestoresTheValuesAndOkKeepsThem) {
    GalleryDialog gallery(nullptr);
    gallery.showDialog(nullptr);
    pumpMessages(30);
    HWND dialog = gallery.dialogHandle;
    scrollIn(dialog, G::IdSlider, SB_PAGEDOWN);
    clickIn(dialog, G::IdDetails);
    clickIn(dialog, G::IdFirstRadio + 1);
    SetFocus(GetDlgItem(dialog, G::IdList));
    SendMessageA(GetDlgItem(dialog, G::IdList), WM_KEYDOWN, VK_DOWN, 0);
    pumpMessages(10);
    EXPECT_EQ(G::record(G::IdSlider)->value, 50) << "reports are kept in the table";
    EXPECT_EQ(gallery.getValue(G::IdDetailsProgress), 50) << "the details follow the slider";
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, G::IdDetailsFrame)));
    EXPECT_EQ(G::record(G::IdFirstRadio)->value, 0);
    EXPECT_STREQ(gallery.findCommand(G::IdSliderValue)->title, "List: Damson");

    // The close box cancels.
    SendMessageA(dialog, WM_CLOSE, 0, 0);
    pumpMessages(10);
    EXPECT_FALSE(gallery.displayed);
    EXPECT_EQ(G::record(G::IdSlider)->value, 40);
    EXPECT_EQ(G::record(G::IdDetails)->value, 1);
    EXPECT_EQ(G::record(G::IdFirstRadio)->value, 1);
    EXPECT_EQ(G::record(G::IdFirstRadio + 1)->value, 0);
    EXPECT_EQ(G::record(G::IdList)->value, 2);

    gallery.showDialog(nullptr);
    pumpMessages(30);
    dialog = gallery.dialogHandle;
    EXPECT_EQ(GetScrollPos(GetDlgItem(dialog, G::IdSlider), SB_CTL), 40);
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, G::IdList), LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(IsDlgButtonChecked(dialog, G::IdFirstRadio), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, G::IdFirstRadio + 1), BST_UNCHECKED);

    clickIn(dialog, G::IdDetails);
    scrollIn(dialog, G::IdSlider, SB_PAGEDOWN);
    clickIn(dialog, IdOk);
    gallery.showDialog(nullptr);
    pumpMessages(30);
    dialog = gallery.dialogHandle;
    EXPECT_EQ(GetScrollPos(GetDlgItem(dialog, G::IdSlider), SB_CTL), 50) << "OK keeps";
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, G::IdDetailsFrame)))
        << "the details frame follows its kept check box";
    // Back to the declared values for whoever shows the gallery next.
    scrollIn(dialog, G::IdSlider, SB_PAGEUP);
    clickIn(dialog, G::IdDetails);
    clickIn(dialog, IdOk);
}

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK findGallery(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    if (owner != search->process || !IsWindowVisible(window) ||
        std::strcmp(title, "Every control") != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

// Ends the program if the test stops early, so no process outlives it.
struct Program {
    PROCESS_INFORMATION info = {};
    ~Program() {
        if (!info.hProcess) return;
        if (WaitForSingleObject(info.hProcess, 0) != WAIT_OBJECT_0)
            TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
};

TEST(Gallery, ProgramShowsTheDialogAndEndsWithZeroWhenItCloses) {
    std::string exe = besideThisProgram("Gallery.exe");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    Program program;
    std::string commandLine = "\"" + exe + "\"";
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &program.info))
        << exe;
    Search search = {program.info.dwProcessId, nullptr};
    for (int waited = 0; waited < 30000 && !search.found; waited += 50) {
        Sleep(50);
        EnumWindows(findGallery, reinterpret_cast<LPARAM>(&search));
    }
    ASSERT_NE(search.found, nullptr) << "no gallery shown";
    PostMessageA(search.found, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(program.info.hProcess, 30000), WAIT_OBJECT_0);
    DWORD exitCode = 1234;
    GetExitCodeProcess(program.info.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
}

} // namespace
