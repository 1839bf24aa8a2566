// The whole program in this process: the real start-up, commands sent as
// the menu sends them, keys as the platform delivers them, and every modal
// dialog answered as a user would answer it.
#include "app/FaceApp.h"
#include "app/FaceCmdWindow.h"
#include "app/FaceTables.h"
#include "app/FileDialogState.h"
#include "framework/app/WideText.h"
#include "face/FaceCanvasPane.h"
#include "framework/dialogs/vCommandPane.h"
#include "tests/framework/ModalHelpers.h"
#include "tests/win/WinTest.h"

#include <dlgs.h>
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

FaceApp app("TavokFace", 1, 0, 0);

const char* const defaultFile =
    "<0,0,0>,0.5,\r\n30,-30,\r\n30,-30,\r\n0,\r\n0,\r\n0,\r\n0,\r\n0\r\n";

// A notice as the user saw it: caption, message, and whether it was modal
// over the main window.
struct Notice {
    std::string caption;
    std::string message;
    bool overMainWindow;
    bool operator==(const Notice& o) const {
        return caption == o.caption && message == o.message && overMainWindow == o.overMainWindow;
    }
};
using Notices = std::vector<Notice>;

void PrintTo(const Notice& n, std::ostream* out) {
    *out << "{" << n.caption << "|" << n.message << "|" << n.overMainWindow << "}";
}

Notices notices;
Notices startNotices;

// A window's text in UTF-8; a notice shows its line ends as CR LF.
std::string textOf(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    std::string shown;
    for (char c : utf8Text(text))
        if (c != '\r') shown += c;
    return shown;
}

// The file types the last file dialog offered, in order.
std::vector<std::string> filtersOffered;

// Answers every dialog until the next call: a file dialog gets `name` typed
// and OK, or Cancel when `name` is null (first `folder` and OK, when given:
// the dialog enters it); a notice is recorded and closed; a question
// (replace the file?) gets Yes.
void answerWith(const char* name, const std::string& folder = "") {
    std::string typed = name ? name : "";
    bool cancel = !name;
    auto browsed = std::make_shared<HWND>();
    answerDialogs([typed, cancel, folder, browsed](HWND box, bool fileDialog) {
        if (fileDialog) {
            HWND types = GetDlgItem(box, cmb1);
            filtersOffered.clear();
            for (int i = 0, n = int(SendMessageA(types, CB_GETCOUNT, 0, 0)); i < n; ++i) {
                char text[64] = "";
                SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                filtersOffered.push_back(text);
            }
            bool browse = !folder.empty() && *browsed != box;
            *browsed = box;
            SetWindowTextW(fileNameField(box), wideText(browse ? folder : typed).c_str());
            return PostMessageA(box, WM_COMMAND, cancel && !browse ? IDCANCEL : IDOK, 0) != 0;
        }
        if (HWND ok = GetDlgItem(box, IdDone)) {
            bool modal =
                GetWindow(box, GW_OWNER) == app.frameWindow && !IsWindowEnabled(app.frameWindow);
            // A notice answered again, its first click lost, is one notice.
            static HWND recorded = nullptr;
            if (box != recorded)
                notices.push_back({textOf(box), textOf(GetDlgItem(box, 92)), modal});
            recorded = box;
            return PostMessageA(ok, BM_CLICK, 0, 0) != 0;
        }
        return GetDlgItem(box, IDYES) && PostMessageA(box, WM_COMMAND, IDYES, 0);
    });
}

Notices takeNotices() {
    Notices taken;
    taken.swap(notices);
    return taken;
}

FaceCmdWindow* window() {
    return app.mainWindow;
}

FaceCanvasPane* face() {
    return app.mainWindow->canvasPane;
}

// The document's pose, set outside any step as a test begins.
PoseModel& model() {
    return app.mainWindow->document.pose();
}

void command(int id) {
    SendMessageA(app.frameWindow, WM_COMMAND, WPARAM(id), 0);
    pumpMessages(50);
}

std::string statusText() {
    char text[180] = "";
    window()->getTextIn(IdStatusText, text, sizeof text);
    return text;
}

// A folder of this test's own, without dots, as the current directory.
std::string enterFolder(const std::string& below = "") {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string path = std::string(temp) + "tavokwhole";
    CreateDirectoryA(path.c_str(), nullptr);
    if (!below.empty()) {
        path += "\\" + below;
        CreateDirectoryA(path.c_str(), nullptr);
    }
    SetCurrentDirectoryA(path.c_str());
    return path;
}

std::string currentDirectory() {
    char path[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, path);
    return path;
}

bool samePose(const float* a, const float* b) {
    return std::memcmp(a, b, 13 * sizeof(float)) == 0;
}

TEST(WholeProgram, FirstStartCreatesTheSettingsFileAfterOneNotice) {
    EXPECT_EQ(startNotices,
              (Notices{{"Notice", "Unable to open INI FILE\n\n Creating NEW INI FILE", true}}));
    std::string bytes = fileBytes(besideThisProgram("TavokF.ini"));
    EXPECT_EQ(bytes.size(), 87u);
    EXPECT_EQ(bytes.substr(0, 5), "C:\\\r\n");
    EXPECT_STREQ(lastDirectory, "C:\\");
}

TEST(WholeProgram, SavingAddsTxtOnlyToAPathWithoutAnyDot) {
    struct Case {
        const char* folder;
        const char* typed;
        const char* written;
    } cases[] = {
        {"", "pose", "pose.txt"}, {"", "pose.inc", "pose.inc"}, {"my.poses", "pose", "pose"}};
    model().resetPose();
    for (const Case& c : cases) {
        std::string folder = enterFolder(c.folder);
        std::string file = folder + "\\" + c.written;
        DeleteFileA(file.c_str());
        // The dialog may open in the folder it showed last.
        answerWith((folder + "\\" + c.typed).c_str());
        command(IdSave);
        EXPECT_EQ(fileBytes(file), defaultFile) << file;
        EXPECT_EQ(textOf(window()->nativeWindow), c.written);
        EXPECT_EQ(std::string(lastFileName), file);
        EXPECT_EQ(std::string(lastDirectory), currentDirectory());
    }
    EXPECT_EQ(takeNotices(), Notices{});
}

// Paths from the length that just fails (the longest, typed into the real
// dialog, once crashed the platform's dialog), a name without room for its
// ".txt", a folder in the file's place, a file held open.
TEST(WholeProgram, FilesThatCannotBeUsedShowTheirNoticeAndNothingIsRemembered) {
    std::string folder = enterFolder("failing");
    auto path = [&](std::size_t length) {
        return folder + "\\" + std::string(length - folder.size() - 5, 'n') + ".txt";
    };
    for (std::size_t length : {255, 256})
        DeleteFileA(path(length).c_str());
    CreateDirectoryA((folder + "\\taken.txt").c_str(), nullptr);
    std::string held = folder + "\\held.txt";
    std::ofstream(held, std::ios::binary) << defaultFile;
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    // 252 characters leave no room for ".txt" in 255; one less fits exactly.
    std::string noRoom = folder + "\\" + std::string(252 - folder.size() - 1, 'm');
    std::string fits = noRoom.substr(0, noRoom.size() - 1);
    DeleteFileA((fits + ".txt").c_str());
    const struct {
        int command;
        std::string name;
        const char* notice;
    } cases[] = {{IdSave, path(256), "Save error"},     {IdSave, noRoom, "Save error"},
                 {IdSave, path(290), "Save error"},     {IdOpen, path(256), "File Not found"},
                 {IdOpen, path(290), "File Not found"}, {IdSave, folder + "\\taken", "Save error"},
                 {IdSave, held, "Save error"},          {IdOpen, held, "File Not found"}};
    for (const auto& c : cases) {
        std::string before = lastFileName, where = lastDirectory;
        std::string title = textOf(window()->nativeWindow);
        bool tooLong = c.name.size() > 255;
        if (tooLong && c.command == IdOpen) std::ofstream(c.name, std::ios::binary) << defaultFile;
        answerWith(c.name.c_str());
        command(c.command);
        EXPECT_EQ(takeNotices(), (Notices{{"Notice", c.notice, true}})) << c.name;
        if (tooLong && c.command == IdSave) {
            EXPECT_EQ(GetFileAttributesA(c.name.c_str()), INVALID_FILE_ATTRIBUTES);
        }
        EXPECT_EQ(lastFileName, before) << c.name;
        EXPECT_EQ(lastDirectory, where) << c.name;
        EXPECT_EQ(textOf(window()->nativeWindow), title) << c.name;
    }
    CloseHandle(holder);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\m*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "written: " << found.cFileName;
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    answerWith(fits.c_str());
    command(IdSave);
    EXPECT_EQ(std::string(lastFileName), fits + ".txt");
    answerWith(path(255).c_str());
    command(IdSave);
    EXPECT_EQ(fileBytes(path(255)), defaultFile);
    EXPECT_EQ(lastFileName, path(255));
    EXPECT_EQ(takeNotices(), Notices{});
}

// The settings file's folder becomes current, and the dialogs start there
// even after the platform's dialog showed another.
TEST(WholeProgram, TheRememberedFolderIsWhereTheDialogsStart) {
    std::string other = enterFolder("other"), remembered = enterFolder("remembered");
    std::ofstream(other + "\\first.txt") << "an older file";
    answerWith("first", other); // the replace question gets Yes
    command(IdSave);
    EXPECT_EQ(fileBytes(other + "\\first.txt"), defaultFile);
    EXPECT_EQ(std::string(lastDirectory), other) << "the folder saved into is remembered";

    std::ofstream(besideThisProgram("TavokF.ini"), std::ios::binary) << remembered << "\r\n";
    std::strcpy(lastFileName, "Default"); // as at a fresh start
    window()->loadSettings(window(), 0);
    EXPECT_EQ(currentDirectory(), remembered);
    DeleteFileA((remembered + "\\bare.txt").c_str());
    const std::vector<std::string> types = {"*.txt", "*.bas", "*"};
    answerWith("bare");
    command(IdSave);
    EXPECT_EQ(fileBytes(remembered + "\\bare.txt"), defaultFile);
    EXPECT_EQ(filtersOffered, types);
    std::strcpy(lastFileName, "Default");
    answerWith("bare.txt");
    filtersOffered.clear();
    command(IdOpen);
    EXPECT_EQ(filtersOffered, types);
    EXPECT_EQ(std::string(lastFileName), remembered + "\\bare.txt");
    EXPECT_EQ(takeNotices(), Notices{});
}

// The animation's dialogs start in the remembered folder, not the one the
// platform's dialog showed last, and offer the name last used.
TEST(WholeProgram, AnimationDialogsStartInTheRememberedFolderWithTheLastName) {
    std::string other = enterFolder("other"), remembered = enterFolder("remembered");
    answerWith("second", other);
    command(IdSave);
    std::ofstream(besideThisProgram("TavokF.ini"), std::ios::binary) << remembered << "\r\n";
    window()->loadSettings(window(), 0);
    DeleteFileA((remembered + "\\walk.tfa").c_str());
    answerWith("walk");
    command(IdSaveAnimation);
    EXPECT_EQ(fileBytes(remembered + "\\walk.tfa").substr(0, 19), "TavokFace animation");
    std::vector<std::string> offered;
    answerDialogs([&offered](HWND box, bool) {
        char name[MAX_PATH] = "";
        GetWindowTextA(fileNameField(box), name, sizeof name);
        offered.push_back(name);
        return PostMessageA(box, WM_COMMAND, IDCANCEL, 0) != 0;
    });
    for (int id : {IdSaveAnimation, IdOpenAnimation, IdExportAnimation})
        command(id);
    EXPECT_EQ(offered, (std::vector<std::string>{"walk.tfa", "walk.tfa", "animation.inc"}));
    EXPECT_EQ(takeNotices(), Notices{});
}

// What Help > Contents asks of the help viewer, as the viewer's window
// receives it from the platform's help call: file, command, topic.
struct HelpRequest {
    WORD size, command;
    LONG data, reserved;
    WORD fileOffset;
};
std::string helpAsked;

LRESULT CALLBACK helpViewer(HWND window, UINT code, WPARAM wParam, LPARAM lParam) {
    if (code != WM_COPYDATA) return DefWindowProcA(window, code, wParam, lParam);
    auto* request =
        static_cast<const HelpRequest*>(reinterpret_cast<COPYDATASTRUCT*>(lParam)->lpData);
    helpAsked = reinterpret_cast<const char*>(request) + request->fileOffset;
    helpAsked += " " + std::to_string(request->command) + " " + std::to_string(request->data);
    return TRUE;
}

TEST(WholeProgram, HelpAsksTheViewerForTopicThreeAndAboutTellsTheVersion) {
    WNDCLASSA viewerClass = {};
    viewerClass.lpfnWndProc = helpViewer;
    viewerClass.lpszClassName = "MS_WINHELP";
    RegisterClassA(&viewerClass);
    HWND viewer =
        CreateWindowA("MS_WINHELP", "Help", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    command(IdHelpContents);
    DestroyWindow(viewer);
    EXPECT_EQ(helpAsked, "TavokF.hlp " + std::to_string(HELP_CONTEXT) + " 3");
    answerWith(nullptr);
    command(IdAbout);
    EXPECT_EQ(takeNotices(),
              (Notices{{"    About ",
                        " TavokFace helps you pose the face of a robot\n for a ray-traced POV-Ray "
                        "robot model.\n\n Written by Tavo K. Ferrand\n tavok@tavokface.example\n\n "
                        "This is version 1.1",
                        true}}));
}

TEST(WholeProgram, CancelledOpenKeepsThePoseAndRedraws) {
    command(IdRestore);
    float before = face()->handles[8].y;
    model().pose[10] = 1; // the middle mouth point, not drawn yet
    answerWith(nullptr);
    command(IdOpen);
    EXPECT_EQ(face()->pose[10], 1);
    EXPECT_NE(face()->handles[8].y, before) << "not redrawn";
    EXPECT_EQ(takeNotices(), Notices{});
}

TEST(WholeProgram, OpeningBringsAPoseBackOrShowsDataErrorAndResets) {
    std::string folder = enterFolder();
    std::ofstream(folder + "\\good.txt", std::ios::binary)
        << "<1,2,3>,0.25,\r\n10,-10,\r\n20,-20,\r\n0.5,\r\n0,\r\n0,\r\n0,\r\n-1\r\n";
    std::ofstream(folder + "\\bad.txt", std::ios::binary) << "<1,2,3>,0.25,\r\n10,x,\r\n";
    model().selection = -1;
    answerWith((folder + "\\good.txt").c_str());
    command(IdOpen);
    const float good[13] = {1, 2, 3, 0.25f, 10, -10, 20, -20, 0.5f, 0, 0, 0, -1};
    EXPECT_TRUE(samePose(face()->pose, good));
    EXPECT_EQ(textOf(window()->nativeWindow), "good.txt");
    EXPECT_EQ(statusText(), "Eyes Selected <1,2,3> 0.25");

    answerWith((folder + "\\bad.txt").c_str());
    command(IdOpen);
    EXPECT_EQ(takeNotices(), (Notices{{"Notice", "data error in File", true}}));
    EXPECT_TRUE(samePose(face()->pose, PoseModel().pose)) << "not reset";
    EXPECT_EQ(textOf(window()->nativeWindow), "good.txt");
    EXPECT_EQ(std::string(lastFileName), folder + "\\good.txt");
}

TEST(WholeProgram, NamesBeyondTheCodePageShowWholeInTheTitleMenuAndStatus) {
    const std::string name = "日本 café.txt", folder = enterFolder();
    std::ofstream(std::filesystem::u8path(folder + "\\" + name), std::ios::binary)
        << "<0,5,0>,0.5,\r\n30,-30,\r\n30,-30,\r\n0,\r\n0,\r\n0,\r\n0,\r\n0\r\n";
    answerWith((folder + "\\" + name).c_str());
    command(IdOpen);
    EXPECT_EQ(textOf(window()->nativeWindow), name);
    wchar_t undo[96] = L"";
    GetMenuStringW(GetMenu(app.frameWindow), IdUndo, undo, 96, MF_BYCOMMAND);
    EXPECT_EQ(utf8Text(undo), "&Undo Open " + name + "  \tCtrl+Z");
    window()->setString(IdStatusText, name.c_str());
    EXPECT_EQ(textOf(GetDlgItem(window()->statusPane->windowHandle, IdStatusText)), name);
}

TEST(WholeProgram, KeysRefreshTheStatusAndOnlyTheirTableChangesThePose) {
    HWND child = window()->nativeWindow;
    model().resetPose();
    model().selection = 0;
    // Keys outside the table: the pose stays, the status and face catch up.
    model().pose[1] = 7;
    HandlePoint before = face()->handles[0];
    SendMessageA(child, WM_CHAR, '0', 0);
    EXPECT_NE(face()->handles[0].x, before.x) << "not redrawn";
    EXPECT_EQ(statusText(), "Eyes Selected <0,7,0> 0.5");
    window()->setString(IdStatusText, "stale");
    SendMessageA(child, WM_CHAR, 'q', 0);
    EXPECT_EQ(statusText(), "Eyes Selected <0,7,0> 0.5");
    window()->setString(IdStatusText, "stale");
    SendMessageA(child, WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(statusText(), "Eyes Selected <0,7,0> 0.5");

    // Every key of the eyes' table, each from the same pose.
    const struct {
        char key;
        const char* status;
    } keys[] = {{'4', "<6,6,7> 0.5"},  {'7', "<4,6,7> 0.5"},  {'8', "<5,7,7> 0.5"},
                {'5', "<5,5,7> 0.5"},  {'9', "<5,6,8> 0.5"},  {'6', "<5,6,6> 0.5"},
                {'+', "<5,6,7> 0.55"}, {'-', "<5,6,7> 0.45"}, {'1', "<0,6,7> 0.5"},
                {'2', "<5,0,7> 0.5"},  {'3', "<5,6,0> 0.5"}};
    for (const auto& k : keys) {
        const float start[] = {5, 6, 7, 0.5f};
        std::memcpy(model().pose, start, sizeof start);
        SendMessageA(child, WM_CHAR, k.key, 0);
        EXPECT_EQ(statusText(), std::string("Eyes Selected ") + k.status) << k.key;
    }
    model().selection = 3;
    SendMessageA(child, WM_CHAR, '8', 0);
    EXPECT_EQ(statusText(), "Eye Lid Selected  -31");
}

// The ways the program ends: the close box, Exit, and the end of the
// desktop session (after which the platform may end the process at once).
const struct Ending {
    const char* name;
    void (*end)();
} endings[] = {
    {"close box", [] { SendMessageA(window()->nativeWindow, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    {"Exit", [] { SendMessageA(app.frameWindow, WM_COMMAND, IdExit, 0); }},
    {"end of session", [] {
         SendMessageA(app.frameWindow, WM_QUERYENDSESSION, 0, 0);
         SendMessageA(app.frameWindow, WM_ENDSESSION, TRUE, 0);
     }}};

void expectEnded(const char* way) {
    pumpMessages(50);
    int code = -1;
    EXPECT_TRUE(takeQuit(code)) << way;
    EXPECT_EQ(code, 0) << way;
    EXPECT_TRUE(app.windows.empty()) << way;
    for (vWindow* closed : app.deleteList)
        delete closed;
    app.deleteList.clear();
    app.newAppWindow(nullptr, "", 350, 350, nullptr);
}

// Each ending with the settings file unwritable, then writable.
TEST(WholeProgram, EveryEndingWritesTheDirectoryOfTheLastSaveOrNoticesItCannot) {
    std::string settings = besideThisProgram("TavokF.ini"), folder = enterFolder();
    for (const Ending& ending : endings) {
        DeleteFileA(settings.c_str());
        CreateDirectoryA(settings.c_str(), nullptr); // nothing can be written there
        answerWith(nullptr);
        ending.end();
        EXPECT_EQ(takeNotices(), (Notices{{"Notice", "Unable to Save INI", true}})) << ending.name;
        expectEnded(ending.name);
        RemoveDirectoryA(settings.c_str());

        answerWith((folder + "\\exit").c_str());
        command(IdSave);
        ASSERT_EQ(std::string(lastFileName), folder + "\\exit.txt");
        ending.end();
        // The file's other bytes are the settings file's own tests' concern.
        EXPECT_EQ(fileBytes(settings).substr(0, std::strlen(lastDirectory) + 2),
                  std::string(lastDirectory) + "\r\n")
            << ending.name;
        EXPECT_EQ(takeNotices(), Notices{}) << ending.name;
        expectEnded(ending.name);
    }
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // A first start: no settings file yet.
    DeleteFileA(besideThisProgram("TavokF.ini").c_str());
    char program[] = "whole_program_tests";
    char* args[] = {program, nullptr};
    int count = 1;
    answerWith(nullptr);
    app.initApp(count, args, GetModuleHandleA(nullptr), nullptr, SW_SHOWNORMAL);
    appMain(count, args);
    pumpMessages(300);
    startNotices = takeNotices();
    int result = RUN_ALL_TESTS();
    stopAnswering();
    return result;
}
