#include "tools/tavokpose/Process.h"

#include "render/Povray.h"
#ifdef _WIN32
#include "render/ChildStart.h"
#include "render/ShellChild.h"
#endif
#include "render/Quoting.h"

#include <cstdlib>

#ifdef _WIN32
#include "framework/app/WideText.h"

#include <windows.h>
#else
#include "tools/tavokpose/ChildProcess.h"

#include <chrono>
#include <thread>
#include <unistd.h>
#endif

#ifdef _WIN32

namespace {

// Started by the process handle the platform gives, with no console window;
// a window it opens (POV-Ray for Windows) stays minimised and never takes
// the keyboard; the job ends it should this program end first.
bool start(const std::string& command, const std::string& workDir, HANDLE log,
           PROCESS_INFORMATION& process) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    startup.hStdInput = input;
    startup.hStdOutput = log;
    startup.hStdError = log;
    std::wstring line = wideText(command);
    BOOL created = CreateProcessW(nullptr, &line[0], nullptr, nullptr, log != nullptr,
                                  CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr,
                                  wideText(workDir).c_str(), &startup, &process);
    if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
    if (!created) return false;
    static HANDLE job = [] {
        HANDLE made = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (made)
            SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits,
                                    sizeof limits);
        return made;
    }();
    if (process.hProcess && job) AssignProcessToJobObject(job, process.hProcess);
    if (process.hThread) ResumeThread(process.hThread);
    return true;
}

void closeHandles(PROCESS_INFORMATION& process) {
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);
}

// Wine starts a Unix program with no process handle: the shell runs it.
ProcessResult runThroughShell(const std::vector<std::string>& args, const std::string& workDir,
                              const std::string& logName, int seconds) {
    ShellChild child;
    if (!child.start(args, workDir, "run", logName)) return {};
    for (ULONGLONG deadline = GetTickCount64() + ULONGLONG(seconds) * 1000; !child.ended();
         Sleep(20))
        if (GetTickCount64() >= deadline) {
            child.kill();
            return {true, -1};
        }
    // The shell's own answer when it finds no such program.
    return {child.exitCode != 127, child.exitCode};
}

} // namespace

ProcessResult runProcess(const std::vector<std::string>& args, const std::string& workDir,
                         const std::string& logName, int seconds) {
    if (underWine() && !isWindowsProgram(args[0]))
        return runThroughShell(args, workDir, logName, seconds);
    std::string line = windowsLine(args);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE log =
        CreateFileW(wideText(workDir + "\\" + logName).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                    &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return {};
    PROCESS_INFORMATION process = {};
    bool created = start(line, workDir, log, process);
    CloseHandle(log);
    if (!created) return {};
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(process.hProcess, DWORD(seconds) * 1000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    closeHandles(process);
    return {true, int(code)};
}

#else

ProcessResult runProcess(const std::vector<std::string>& args, const std::string& workDir,
                         const std::string& logName, int seconds) {
    // As the renders' children: nothing it starts outlives this program.
    ChildProcess child;
    if (!child.start(args, workDir, logName)) return {};
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (child.running()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            child.end();
            return {true, -1};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // The exec's own answer when it finds no such program.
    return {child.exitCode != 127, child.exitCode};
}

std::string programPath() {
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    return length > 0 && std::size_t(length) < sizeof path ? std::string(path, std::size_t(length))
                                                           : std::string();
}

#endif
