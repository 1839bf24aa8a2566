#include "framework/app/vTimer.h"

#include "framework/app/vApp.h"
#include "framework/dialogs/vThisList.h"

#include <algorithm>
#include <vector>
#include <windows.h>

namespace {

// The timers belong to one message-only window, which lets the framework
// choose their ids: each start takes a new one, so a tick of a stopped
// timer, still queued, can never reach a newer timer.
HWND timerWindow() {
    static HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         GetModuleHandleA(nullptr), nullptr);
    return window;
}

std::uintptr_t nextTimerId = 0;

// Ids of the timers whose onTick is running: a tick that arrives from a loop
// nested in the handler (a notice, say) is dropped, not delivered again.
std::vector<std::uintptr_t> ticking;

// Called while the message loop dispatches a tick. A tick of a timer no
// longer registered (stopped, or deleted) is dropped; nothing of the timer
// is touched after onTick, which may delete or restart it.
void CALLBACK timerCallback(HWND, UINT code, UINT_PTR id, DWORD) {
    if (code != WM_TIMER) return;
    auto* timer = static_cast<vTimer*>(timerList.find(id));
    if (!timer || std::find(ticking.begin(), ticking.end(), id) != ticking.end()) return;
    ticking.push_back(id);
    timer->onTick();
    ticking.erase(std::find(ticking.begin(), ticking.end(), id));
}

} // namespace

vTimer::~vTimer() {
    vTimer::stop();
}

int vTimer::start(int milliseconds) {
    if (timerId) stop();
    interval = milliseconds;
    // Never 0, the id of a stopped timer.
    std::uintptr_t id = ++nextTimerId ? nextTimerId : ++nextTimerId;
    if (timerWindow() && SetTimer(timerWindow(), id, UINT(milliseconds), timerCallback)) {
        timerId = id;
        timerList.add(timerId, this);
        return 1;
    }
    if (theApp) theApp->warningBox("Failed to create timer");
    return 0;
}

void vTimer::stop() {
    if (!timerId) return;
    KillTimer(timerWindow(), timerId);
    timerList.remove(timerId);
    timerId = 0;
}

void _appWorkTimer::onTick() {
    if (theApp) theApp->doWorkSlice();
}
