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
    kill({this});
}

void ShellChild::kill(const std::vector<ShellChild*>& children) {
    std::vector<int> groups(children.size());
    ULONGLONG deadline = GetTickCount64() + 1000;
    for (bool waiting = true; waiting && GetTickCount64() < deadline;) {
        waiting = false;
        for (std::size_t i = 0; i < children.size(); ++i)
            if (groups[i] <= 0 && !children[i]->ended())
                groups[i] = std::atoi(childFileText(children[i]->path("pid")).c_str()),
                waiting = waiting || groups[i] <= 0;
        if (waiting) Sleep(10);
    }
    std::string script;
    for (std::size_t i = 0; i < children.size(); ++i)
        if (groups[i] > 0 && !children[i]->ended())
            script += unixSignalScript(groups[i], "KILL", children[i]->name_ + ".status") + "\n";
    if (!script.empty()) runShell(script, children[0]->folder_);
}
