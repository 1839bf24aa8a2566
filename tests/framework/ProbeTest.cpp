// Runs the probe program: the real entry, command line, start hook, message
// loop and shutdown.
#include "tests/win/WinTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace {

struct ProbeRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::vector<std::string> notes;
};

ProbeRun runProbe(const std::string& arguments) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string outPath = std::string(temp) + "tavok-probe.txt";
    DeleteFileA(outPath.c_str());
    SetEnvironmentVariableA("TAVOK_PROBE_OUT", outPath.c_str());
    std::string exe = besideThisProgram("framework_probe.exe");
    std::string commandLine = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ProbeRun run;
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "cannot start " << exe;
        return run;
    }
    // Every run gets 8 s, and all of them together 30 s: below the ctest timeout.
    static const DWORD allEnd = GetTickCount() + 30000;
    DWORD wait = std::min<DWORD>(8000, std::max<long>(0, long(allEnd - GetTickCount())));
    if (WaitForSingleObject(process.hProcess, wait) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the probe (" << arguments << ") did not end within " << wait << " ms";
        TerminateProcess(process.hProcess, 1);
    }
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::ifstream in(outPath);
    for (std::string line; std::getline(in, line);)
        run.notes.push_back(line);
    return run;
}

using Notes = std::vector<std::string>;

TEST(Program, StartHookResultEndsTheProgramWithoutALoop) {
    ProbeRun run = runProbe("-vDebug abc \"two words\" pose.txt return5");
    EXPECT_EQ(run.exitCode, 5u);
    EXPECT_EQ(run.notes, (Notes{"argc 4", "arg two words", "arg pose.txt", "arg return5"}));
}

TEST(Program, ClosingTheFrameClosesEveryWindowThenDeletesThemAfterTheLoop) {
    ProbeRun run = runProbe("loop");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.notes,
              (Notes{"argc 2", "arg loop", "closing B", "closing A", "deleted A", "deleted B"}));
}

TEST(Program, DroppedFilesReachTheApplication) {
    ProbeRun run = runProbe("drop");
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_GE(run.notes.size(), 3u);
    EXPECT_EQ(run.notes[2], "drop C:\\dropped\\pose.txt 5 6");
}

TEST(Program, AWindowThatRefusesToCloseCancelsTheExit) {
    ProbeRun run = runProbe("refuse");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.notes, (Notes{"argc 2", "arg refuse", "refused B", "closing B", "closing A",
                                "deleted A", "deleted B"}));
}

} // namespace
