#include "render/ShellChild.h"

#include "render/ChildStart.h"
#include "render/Povray.h"

#include <cstdlib>
#include <windows.h>

namespace {

const char* const unixShell = "Z:\\bin\\sh";

void touch(const std::string& path) {
    HANDLE file = CreateFileW(wideText(path).c_str(), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    SetFileTime(file, nullptr, nullptr, &now);
    CloseHandle(file);
}

bool runShell(const std::string& script, const std::string& folder) {
    void* process = nullptr;
    if (!startChild(shellCommand(unixShell, script), folder, INVALID_HANDLE_VALUE, true, nullptr,
                    process))
        return false;
    if (process) CloseHandle(process);
    return true;
}

} // namespace

bool isWindowsProgram(const std::string& program) {
    return childFileText(program, 2) == "MZ";
}

std::string ShellChild::path(const char* kind) const {
    return folder_ + "\\" + name_ + "." + kind;
}

bool ShellChild::start(std::vector<std::string> args, const std::string& folder,
                       const std::string& name, const std::string& logName, bool nice) {
    folder_ = folder;
    name_ = name;
    exitCode = -1;
    for (const char* kind : {"pid", "status"})
        DeleteFileW(wideText(path(kind)).c_str());
    if (!unixPathOf(args[0]).empty()) args[0] = unixPathOf(args[0]);
    if (nice) args.insert(args.begin(), {"nice", "-n", "10"});
    touch(path("alive"));
    toldAt_ = GetTickCount64();
    return runShell(unixRunScript(args, logName, name + ".pid", name + ".status", name + ".alive",
                                  StaleSeconds),
                    folder);
}

bool ShellChild::ended() {
    if (exitCode >= 0) return true;
    if (GetTickCount64() - toldAt_ >= 1000) {
        touch(path("alive"));
        toldAt_ = GetTickCount64();
    }
    std::string status = childFileText(path("status"));
    if (status.find('\n') == std::string::npos) return false;
    exitCode = std::atoi(status.c_str());
    return true;
}

void ShellChild::kill() {
    int group = 0;
    for (ULONGLONG deadline = GetTickCount64() + 1000; !ended() && GetTickCount64() < deadline;
         Sleep(10))
        if ((group = std::atoi(childFileText(path("pid")).c_str())) > 0) break;
    if (group > 0 && !ended())
        runShell(unixSignalScript(group, "KILL", name_ + ".status"), folder_);
}
