// Periodic calls on the GUI thread: after start(interval) onTick runs about
// every interval milliseconds, from the message loop, until stop().
#pragma once

#include <cstdint>

class vTimer {
  public:
    vTimer() = default;
    virtual ~vTimer();
    vTimer(const vTimer&) = delete;
    vTimer& operator=(const vTimer&) = delete;

    // Restarts a running timer; 1 when running, 0 when the platform refused.
    virtual int start(int interval);
    virtual void stop();
    virtual void onTick() {}

    int interval = 0;
    std::uintptr_t timerId = 0; // 0 while stopped
};

// The application's work timer: each tick runs the application's work slice.
class _appWorkTimer : public vTimer {
  public:
    void onTick() override;
};
