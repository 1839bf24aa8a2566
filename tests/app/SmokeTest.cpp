// Starts the real TavokF.exe, finds its window, closes it and checks that the
// program ends with exit code 0.
#include "tests/win/WinTest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

struct Search {
    DWORD process;
    HWND found;
};

// The frame shows "TavokFace", followed by the maximised child's title in
// brackets while one is maximised.
BOOL CALLBACK findFrame(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    if (owner != search->process || !IsWindowVisible(window) ||
        std::strncmp(title, "TavokFace", 9) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND waitForWindow(DWORD process, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 50) {
        Search search = {process, nullptr};
        EnumWindows(findFrame, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(50);
    }
    return nullptr;
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

// A copy of the program in a folder of its own, beside a settings file, so
// the start shows no notice and the build's own settings stay untouched.
std::string programCopy() {
    std::string folder = besideThisProgram("smoke");
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string exe = folder + "\\TavokF.exe";
    CopyFileA(besideThisProgram("TavokF.exe").c_str(), exe.c_str(), FALSE);
    std::fclose(std::fopen((folder + "\\TavokF.ini").c_str(), "w"));
    return exe;
}

TEST(Program, StartsShowsItsWindowAndExitsCleanlyWhenClosed) {
    std::string exe = programCopy();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    Program program;
    std::string commandLine = "\"" + exe + "\"";
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &program.info))
        << exe;
    HWND window = waitForWindow(program.info.dwProcessId, 10000);
    ASSERT_NE(window, nullptr) << "no visible window within 10 s";
    // The child's title is read once its creation has settled.
    char title[64] = "";
    for (int waited = 0; waited < 5000 && std::strcmp(title, "TavokFace") != 0; waited += 50) {
        Sleep(50);
        HWND client = FindWindowExA(window, nullptr, "MDIClient", nullptr);
        GetWindowTextA(client ? GetWindow(client, GW_CHILD) : nullptr, title, sizeof title);
    }
    EXPECT_STREQ(title, "TavokFace");
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(program.info.hProcess, 10000), WAIT_OBJECT_0)
        << "the program did not end within 10 s of WM_CLOSE";
    DWORD exitCode = 1234;
    GetExitCodeProcess(program.info.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
}

} // namespace
