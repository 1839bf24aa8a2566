#include "render/ChildStart.h"

#include <windows.h>

std::string programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length;
    while ((length = GetModuleFileNameW(nullptr, &path[0], DWORD(path.size()))) == path.size())
        path.resize(path.size() * 2);
    std::string program = utf8Text(path.substr(0, length));
    return program.substr(0, program.find_last_of('\\') + 1);
}

bool underWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

bool startChild(const std::string& command, const std::string& folder, void* log, bool minimised,
                void* job, void*& process, bool below) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (log != INVALID_HANDLE_VALUE) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = log;
        startup.hStdError = log;
    }
    if (minimised) {
        startup.dwFlags |= STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWMINNOACTIVE;
    }
    std::wstring line = wideText(command);
    PROCESS_INFORMATION info = {};
    // Suspended until it is in the job, so nothing it starts escapes it.
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, log != INVALID_HANDLE_VALUE,
                        CREATE_NO_WINDOW | CREATE_SUSPENDED |
                            (below ? BELOW_NORMAL_PRIORITY_CLASS : 0),
                        nullptr, wideText(folder).c_str(), &startup, &info))
        return false;
    if (info.hProcess && job) AssignProcessToJobObject(job, info.hProcess);
    if (info.hThread) {
        ResumeThread(info.hThread);
        CloseHandle(info.hThread);
    }
    process = info.hProcess;
    return true;
}

void* childJob() {
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job)
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return job;
}

std::string childFileText(const std::string& path, unsigned long limit) {
    HANDLE file = CreateFileW(wideText(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text(limit, '\0');
    DWORD got = 0;
    if (!ReadFile(file, &text[0], DWORD(limit), &got, nullptr)) got = 0;
    CloseHandle(file);
    text.resize(got);
    return text;
}
