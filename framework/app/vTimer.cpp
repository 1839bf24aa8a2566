#include "framework/app/vTimer.h"

#include "framework/app/vApp.h"
#include "framework/dialogs/vThisList.h"

#include <windows.h>

namespace {

// Called while the message loop dispatches a tick. A tick of a timer no
// longer registered (stopped, or deleted) is dropped; nothing of the timer
// is touched after onTick, which may delete or restart it.
void CALLBACK timerCallback(HWND, UINT code, UINT_PTR id, DWORD) {
    if (code != WM_TIMER) return;
    if (auto* timer = static_cast<vTimer*>(timerList.find(id))) timer->onTick();
}

} // namespace

vTimer::~vTimer() {
    vTimer::stop();
}

int vTimer::start(int milliseconds) {
    if (timerId) stop();
    interval = milliseconds;
    timerId = SetTimer(nullptr, 0, UINT(milliseconds), timerCallback);
    if (timerId) {
        timerList.add(timerId, this);
        return 1;
    }
    if (theApp) theApp->warningBox("Failed to create timer");
    return 0;
}

void vTimer::stop() {
    if (!timerId) return;
    KillTimer(nullptr, timerId);
    timerList.remove(timerId);
    timerId = 0;
}

void _appWorkTimer::onTick() {
    if (theApp) theApp->doWorkSlice();
}
