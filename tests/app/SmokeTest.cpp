// Starts the real TavokF.exe, finds its window, closes it and checks that the
// program ends with exit code 0.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string besideThisProgram(const char* name) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, length);
    return dir.substr(0, dir.find_last_of("\\/") + 1) + name;
}

HWND waitForWindow(const char* title, DWORD process, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 50) {
        HWND window = FindWindowA(nullptr, title);
        DWORD owner = 0;
        if (window) GetWindowThreadProcessId(window, &owner);
        if (window && owner == process && IsWindowVisible(window)) return window;
        Sleep(50);
    }
    return nullptr;
}

TEST(Program, StartsShowsItsWindowAndExitsCleanlyWhenClosed) {
    std::string exe = besideThisProgram("TavokF.exe");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + exe + "\"";
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process))
        << exe;
    HWND window = waitForWindow("TavokFace", process.dwProcessId, 30000);
    ASSERT_NE(window, nullptr) << "no visible window";
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD waited = WaitForSingleObject(process.hProcess, 30000);
    if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    DWORD exitCode = 1234;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(waited, WAIT_OBJECT_0);
    EXPECT_EQ(exitCode, 0u);
}

} // namespace
