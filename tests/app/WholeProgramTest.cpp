// The whole program in this process: the real start-up, commands sent as
// the menu sends them, keys as the platform delivers them, and every modal
// dialog answered from a hook as a user would answer it.
#include "app/FaceApp.h"
#include "app/FaceCmdWindow.h"
#include "app/FaceTables.h"
#include "app/FileDialogState.h"
#include "face/FaceCanvasPane.h"
#include "tests/framework/ModalHelpers.h"
#include "tests/win/WinTest.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
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

// A window's text; a notice shows its line ends as CR LF.
std::string textOf(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    std::string shown;
    for (const char* c = text; *c; ++c)
        if (*c != '\r') shown += *c;
    return shown;
}

// Answers every dialog until the next call: a file dialog gets `name` typed
// and OK, or Cancel when `name` is null; a notice is recorded and closed; a
// question (replace the file?) gets Yes.
void answerWith(const char* name) {
    std::string typed = name ? name : "";
    bool cancel = !name;
    answerDialogs([typed, cancel](HWND box) {
        HWND nameField = GetDlgItem(box, cmb13) ? GetDlgItem(box, cmb13) : GetDlgItem(box, edt1);
        if (nameField) {
            SetWindowTextA(nameField, typed.c_str());
            PostMessageA(box, WM_COMMAND, cancel ? IDCANCEL : IDOK, 0);
        } else if (HWND ok = GetDlgItem(box, IdDone)) {
            bool modal =
                GetWindow(box, GW_OWNER) == app.frameWindow && !IsWindowEnabled(app.frameWindow);
            notices.push_back({textOf(box), textOf(GetDlgItem(box, 92)), modal});
            PostMessageA(ok, BM_CLICK, 0, 0);
        } else {
            PostMessageA(box, WM_COMMAND, IDYES, 0);
        }
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

void command(int id) {
    SendMessageA(app.frameWindow, WM_COMMAND, WPARAM(id), 0);
    pumpMessages(50);
}

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
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
    std::string bytes = bytesOf(besideThisProgram("TavokF.ini"));
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
    face()->resetPose();
    for (const Case& c : cases) {
        std::string folder = enterFolder(c.folder);
        std::string file = folder + "\\" + c.written;
        DeleteFileA(file.c_str());
        // The dialog may open in the folder it showed last.
        answerWith((folder + "\\" + c.typed).c_str());
        command(IdSave);
        EXPECT_EQ(bytesOf(file), defaultFile) << file;
        EXPECT_EQ(textOf(window()->nativeWindow), c.written);
        EXPECT_EQ(std::string(lastFileName), file);
        EXPECT_EQ(std::string(lastDirectory), currentDirectory());
    }
    EXPECT_EQ(takeNotices(), Notices{});
}

TEST(WholeProgram, NameWithNoRoomForTxtIsRefusedWithSaveError) {
    std::string folder = enterFolder("long");
    std::string before = lastFileName, title = textOf(window()->nativeWindow);
    // The chosen path, 252 characters, leaves no room for ".txt" in 255.
    std::string name = folder + "\\" + std::string(252 - folder.size() - 1, 'n');
    answerWith(name.c_str());
    command(IdSave);
    EXPECT_EQ(takeNotices(), (Notices{{"Notice", "Save error", true}}));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\n*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "written: " << found.cFileName;
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    EXPECT_EQ(lastFileName, before);
    EXPECT_EQ(textOf(window()->nativeWindow), title);
}

TEST(WholeProgram, CancelledOpenKeepsThePoseAndRedraws) {
    face()->resetPose();
    face()->drawFace();
    float before = face()->handles[8].y;
    face()->pose[10] = 1; // the middle mouth point, not drawn yet
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
    face()->selection = -1;
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

TEST(WholeProgram, KeysRefreshTheStatusAndOnlyTheirTableChangesThePose) {
    HWND child = window()->nativeWindow;
    face()->resetPose();
    face()->selection = 0;
    // Keys outside the table: the pose stays, the status and face catch up.
    face()->pose[1] = 7;
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

    SendMessageA(child, WM_CHAR, '+', 0);
    EXPECT_EQ(statusText(), "Eyes Selected <0,7,0> 0.55");
    face()->selection = 3;
    SendMessageA(child, WM_CHAR, '8', 0);
    EXPECT_EQ(statusText(), "Eye Lid Selected  -31");
}

void deleteClosedWindows() {
    for (vWindow* closed : app.deleteList)
        delete closed;
    app.deleteList.clear();
}

TEST(WholeProgram, UnwritableSettingsFileIsNoticedAtClosingAndTheProgramStillEnds) {
    std::string settings = besideThisProgram("TavokF.ini");
    DeleteFileA(settings.c_str());
    CreateDirectoryA(settings.c_str(), nullptr); // nothing can be written there
    answerWith(nullptr);
    SendMessageA(window()->nativeWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    pumpMessages(50);
    EXPECT_EQ(takeNotices(), (Notices{{"Notice", "Unable to Save INI", true}}));
    int code = -1;
    EXPECT_TRUE(takeQuit(code));
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(app.windows.empty());
    RemoveDirectoryA(settings.c_str());
    deleteClosedWindows();
}

TEST(WholeProgram, ExitWritesTheDirectoryOfTheLastSave) {
    app.newAppWindow(nullptr, "", 350, 350, nullptr);
    std::string folder = enterFolder();
    answerWith((folder + "\\exit").c_str());
    command(IdSave);
    ASSERT_EQ(std::string(lastFileName), folder + "\\exit.txt");
    command(IdExit);
    EXPECT_EQ(bytesOf(besideThisProgram("TavokF.ini")),
              currentDirectory() + "\r\n\r\n\r\n---- DO NOT EDIT THIS FILE !!!----\r\n\r\n"
                                   " *** containts directory information ***");
    int code = -1;
    EXPECT_TRUE(takeQuit(code));
    EXPECT_EQ(takeNotices(), Notices{});
    deleteClosedWindows();
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
