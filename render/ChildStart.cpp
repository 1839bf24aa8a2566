#include "render/ChildStart.h"

#include <windows.h>

std::wstring wideText(const std::string& text) {
    int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(std::size_t(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), &out[0], size);
    return out;
}

bool underWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

bool startChild(const std::string& command, const std::string& folder, void* log, bool minimised,
                void* job, void*& process) {
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
                        CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, wideText(folder).c_str(),
                        &startup, &info))
        return false;
    if (info.hProcess && job) AssignProcessToJobObject(job, info.hProcess);
    if (info.hThread) {
        ResumeThread(info.hThread);
        CloseHandle(info.hThread);
    }
    process = info.hProcess;
    return true;
}
