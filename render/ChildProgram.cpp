#include "render/ChildProgram.h"

#include "render/ChildStart.h"
#include "render/Quoting.h"

#include <windows.h>

void ChildProgram::HandleCloser::operator()(void* handle) const {
    CloseHandle(handle);
}

bool ChildProgram::start(const std::vector<std::string>& args, const std::string& folder,
                         const std::string& logName, bool nice) {
    process_.reset();
    exitCode = -1;
    throughShell_ = underWine() && !isWindowsProgram(args[0]);
    bool started = throughShell_ ? shell_.start(args, folder, logName.substr(0, logName.rfind('.')),
                                                logName, nice)
                                 : startWindows(args, folder, logName, nice);
    // One that never started has ended.
    if (!started) throughShell_ = false;
    return started;
}

bool ChildProgram::startWindows(const std::vector<std::string>& args, const std::string& folder,
                                const std::string& logName, bool nice) {
    // One job for the whole program, closed by the system as it ends.
    static void* const job = childJob();
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    // Shared for writing: POV-Ray for Windows writes its messages there itself.
    HANDLE log = CreateFileW(wideText(folder + "\\" + logName).c_str(), GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return false;
    void* process = nullptr;
    bool started = startChild(windowsLine(args), folder, log, true, job, process, nice);
    CloseHandle(log);
    process_.reset(process);
    return started && process;
}

bool ChildProgram::ended() {
    if (exitCode >= 0) return true;
    if (throughShell_) {
        if (!shell_.ended()) return false;
        exitCode = shell_.exitCode;
        return true;
    }
    if (!process_) return true;
    if (WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0) return false;
    DWORD code = 1;
    GetExitCodeProcess(process_.get(), &code);
    exitCode = int(code);
    return true;
}

void ChildProgram::kill() {
    kill({this});
}

void ChildProgram::kill(const std::vector<ChildProgram*>& programs) {
    std::vector<ShellChild*> shells;
    for (ChildProgram* program : programs)
        if (program->ended())
            continue;
        else if (program->throughShell_)
            shells.push_back(&program->shell_);
        else
            TerminateProcess(program->process_.get(), 1);
    if (!shells.empty()) ShellChild::kill(shells);
}

bool ChildProgram::waitEnded(double seconds) {
    for (ULONGLONG deadline = GetTickCount64() + ULONGLONG(seconds > 0 ? seconds * 1000 : 0);
         !ended(); Sleep(10))
        if (GetTickCount64() >= deadline) return false;
    return true;
}
