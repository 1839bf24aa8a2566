#include "tests/win/WinTest.h"

#include <cstdarg>
#include <cstdio>

namespace {

bool quitSeen = false;
int quitCode = 0;

} // namespace

void pumpMessages(int milliseconds) {
    DWORD end = GetTickCount() + DWORD(milliseconds);
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quitSeen = true;
                quitCode = int(message.wParam);
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        long left = long(end - GetTickCount());
        if (left <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(left), QS_ALLINPUT);
    }
}

bool pumpUntil(const std::function<bool()>& done, int milliseconds) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= DWORD(milliseconds)) return false;
        pumpMessages(10);
    }
    return true;
}

bool takeQuit(int& code) {
    pumpMessages(0);
    bool seen = quitSeen;
    code = quitCode;
    quitSeen = false;
    return seen;
}

void setHeldKeys(bool shift, bool control) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(state);
}

void EventLog::add(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    events.push_back(text);
}

std::vector<std::string> EventLog::take() {
    std::vector<std::string> taken;
    taken.swap(events);
    return taken;
}

std::string besideThisProgram(const char* name) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, length);
    return dir.substr(0, dir.find_last_of("\\/") + 1) + name;
}
