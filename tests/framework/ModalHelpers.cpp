#include "tests/framework/ModalHelpers.h"

#include <map>
#include <set>
#include <string_view>

namespace {

std::map<UINT_PTR, std::function<void()>> actions;
std::function<void(HWND)> answer;
std::set<HWND> answered;
HHOOK hook = nullptr;

void CALLBACK runAction(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    auto action = std::move(actions[timer]);
    actions.erase(timer);
    if (action) action();
}

LRESULT CALLBACK watchActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char name[16] = "";
        GetClassNameA(window, name, sizeof name);
        // Answered a little later: the box fills its controls after activation.
        if (std::string_view(name) == "#32770" && answered.insert(window).second && answer)
            whileModal([window] {
                if (answer) answer(window);
            });
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

} // namespace

void whileModal(std::function<void()> action) {
    actions[SetTimer(nullptr, 0, 100, runAction)] = std::move(action);
}

void answerDialogs(std::function<void(HWND)> newAnswer) {
    answer = std::move(newAnswer);
    answered.clear();
    if (!hook) hook = SetWindowsHookExA(WH_CBT, watchActivation, nullptr, GetCurrentThreadId());
}

void stopAnswering() {
    if (hook) UnhookWindowsHookEx(hook);
    hook = nullptr;
    answer = nullptr;
}
