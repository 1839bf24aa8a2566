// File selection through the platform's real open and save dialogs,
// answered as a user would answer them.
#include "framework/dialogs/vFileSelect.h"
#include "tests/framework/ModalHelpers.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const patterns[] = {"*.txt", "*.bas", "*", nullptr};

// A folder of the test's own, without dots, holding one file.
std::string folder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string path = std::string(temp) + "tavokfiles";
    CreateDirectoryA(path.c_str(), nullptr);
    CloseHandle(CreateFileA((path + "\\pose.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            0, nullptr));
    return path;
}

// What the file dialog offered, and how it was answered.
struct Answer {
    std::vector<std::string> filters;
    int selected = -1;
};

// Answers the file dialog: picks filter `pick` (if >= 0), types `name` and
// presses OK, or cancels when `name` is null; answers Yes to a question.
void answerWith(Answer& seen, const char* name, int pick = -1) {
    std::string typed = name ? name : "";
    bool cancel = !name;
    answerDialogs([&seen, typed, cancel, pick](HWND box, bool fileDialog) {
        if (!fileDialog) return GetDlgItem(box, IDYES) && PostMessageA(box, WM_COMMAND, IDYES, 0);
        HWND types = GetDlgItem(box, cmb1);
        seen.filters.clear();
        for (int i = 0, n = int(SendMessageA(types, CB_GETCOUNT, 0, 0)); i < n; ++i) {
            char text[300] = "";
            SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            seen.filters.push_back(text);
        }
        if (seen.selected < 0) seen.selected = int(SendMessageA(types, CB_GETCURSEL, 0, 0));
        if (pick >= 0) {
            SendMessageA(types, CB_SETCURSEL, pick, 0);
            // A user's choice ends with both notifications.
            for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK})
                SendMessageA(box, WM_COMMAND, MAKEWPARAM(cmb1, code),
                             reinterpret_cast<LPARAM>(types));
        }
        SetWindowTextA(fileNameField(box), typed.c_str());
        PostMessageA(box, WM_COMMAND, cancel ? IDCANCEL : IDOK, 0);
        return true;
    });
}

TEST(FileSelect, OpenShowsThePatternsAndGivesBackPathAndFilter) {
    std::string file = folder() + "\\pose.txt";
    vFileSelect select(nullptr, "open");
    char buffer[MAX_PATH] = "last.txt";
    int index = 0;
    Answer seen;
    answerWith(seen, file.c_str(), 1);
    EXPECT_EQ(select.fileSelect("Open Pose", buffer, sizeof buffer, patterns, index), 1);
    stopAnswering();
    EXPECT_EQ(seen.filters, (std::vector<std::string>{"*.txt", "*.bas", "*"}));
    EXPECT_EQ(seen.selected, 0);
    EXPECT_STREQ(buffer, file.c_str());
    EXPECT_EQ(index, 1);
}

TEST(FileSelect, CancelKeepsTheOpenNameAndEmptiesTheSaveName) {
    vFileSelect select(nullptr, "cancel");
    char buffer[MAX_PATH] = "kept.txt";
    int index = 0;
    Answer seen;
    answerWith(seen, nullptr);
    EXPECT_EQ(select.fileSelect("Open", buffer, sizeof buffer, nullptr, index), 0);
    EXPECT_EQ(select.pathTooLong, 0);
    EXPECT_EQ(seen.filters, std::vector<std::string>{"All files(*.*)"});
    EXPECT_STREQ(buffer, "kept.txt");
    EXPECT_EQ(select.fileSelectSave("Save", buffer, sizeof buffer, patterns, index, 0, nullptr), 0);
    stopAnswering();
    EXPECT_STREQ(buffer, "");
}

TEST(FileSelect, DirectoryOnlySaveGivesTheFolder) {
    std::string path = folder();
    vFileSelect select(nullptr, "save");
    char buffer[MAX_PATH] = "";
    int index = 2;
    Answer seen;
    answerWith(seen, (path + "\\b.txt").c_str());
    EXPECT_EQ(
        select.fileSelectSave("Folder", buffer, sizeof buffer, patterns, index, 1, path.c_str()),
        1);
    stopAnswering();
    EXPECT_EQ(seen.selected, 2);
    EXPECT_STREQ(buffer, path.c_str());
}

TEST(FileSelect, APathLongerThanTheBufferIsRefusedNotCut) {
    std::string file = folder() + "\\pose.txt";
    vFileSelect select(nullptr, "short");
    char buffer[12] = "short.txt";
    int index = 0;
    Answer seen;
    answerWith(seen, file.c_str());
    EXPECT_EQ(select.fileSelect("Open", buffer, sizeof buffer, patterns, index), 0);
    stopAnswering();
    EXPECT_STREQ(buffer, "short.txt");
    EXPECT_EQ(select.pathTooLong, 1);
}

TEST(FileSelect, PatternsThatDoNotFitTheFilterTextAreLeftOut) {
    std::string wide(100, 'w');
    const char* const list[] = {wide.c_str(), "*.txt", wide.c_str(), "*.bas", nullptr};
    char text[256];
    EXPECT_EQ(vFileSelect::filterText(list, 3, text), 4);
    // 2 x 101 fits; 202 + 2 x 6 = 214 fits; the next 202 would reach 256.
    EXPECT_EQ(std::string(text + 202), "*.txt");
    EXPECT_EQ(std::string(text + 208), "*.txt");
    EXPECT_EQ(text[214], '\0');
}

} // namespace
