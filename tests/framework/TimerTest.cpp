// Timers tick from the message loop, keep one registry entry each, and are
// safe to delete or restart at any time, from inside a tick too.
#include "framework/app/vTimer.h"
#include "framework/dialogs/vThisList.h"
#include "tests/framework/Recorders.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class CountingTimer : public vTimer {
  public:
    explicit CountingTimer(int& ticks, std::function<void(CountingTimer*)> action = {})
        : ticks(ticks), action(std::move(action)) {}
    void onTick() override {
        ++ticks;
        if (action) action(this);
    }

  private:
    int& ticks;
    std::function<void(CountingTimer*)> action;
};

// Registry entries of `timer`, or of every timer.
int registered(const vTimer* timer = nullptr) {
    int count = 0;
    for (void* entry = timerList.first(); entry; entry = timerList.next())
        count += !timer || entry == timer;
    return count;
}

// Pumps until `count` reaches `wanted`, at most five seconds.
bool pumpUntil(const int& count, int wanted) {
    for (int i = 0; i < 500 && count < wanted; ++i)
        pumpMessages(10);
    return count >= wanted;
}

TEST(Timers, TickFromTheMessageLoopUntilStoppedAndRestartInPlace) {
    int ticks = 0;
    CountingTimer timer(ticks);
    timer.start(1000);
    EXPECT_EQ(timer.start(10), 1);
    EXPECT_EQ(registered(&timer), 1) << "a restart keeps one entry";
    Sleep(50);
    EXPECT_EQ(ticks, 0) << "nothing ticks while no message is dispatched";
    EXPECT_TRUE(pumpUntil(ticks, 3));
    timer.stop();
    timer.stop();
    EXPECT_EQ(registered(), 0);
    int stoppedAt = ticks;
    pumpMessages(50);
    EXPECT_EQ(ticks, stoppedAt);
}

TEST(Timers, DeletedOrRestartedAnyTime) {
    int running = 0, selfDeleted = 0, restarts = 0, witness = 0;
    auto* deleted = new CountingTimer(running);
    deleted->start(10);
    (new CountingTimer(selfDeleted, [](CountingTimer* t) { delete t; }))->start(10);
    CountingTimer restarting(restarts, [](CountingTimer* t) { t->start(t->interval + 1); });
    restarting.start(10);
    CountingTimer other(witness);
    other.start(10);
    ASSERT_TRUE(pumpUntil(running, 1));
    delete deleted;
    int deletedAt = running;
    EXPECT_TRUE(pumpUntil(witness, 5));
    EXPECT_TRUE(pumpUntil(restarts, 3));
    EXPECT_EQ(running, deletedAt) << "no tick reaches a deleted timer";
    EXPECT_EQ(selfDeleted, 1) << "deleted in its first tick";
    EXPECT_EQ(registered(&restarting), 1);
    EXPECT_EQ(registered(), 2);
    EXPECT_EQ(restarting.interval, 10 + restarts);
}

class SlicedWindow : public RecordingWindow {
  public:
    using RecordingWindow::RecordingWindow;
    void onWorkSlice() override { ++slices; }
    int slices = 0;
};

TEST(Timers, WorkTimerRunsTheWorkSliceOfEveryWindow) {
    EventLog log;
    auto* window = new SlicedWindow(log, "Sliced");
    theApp->newAppWindow(window, "Sliced", 0, 0, nullptr);
    theApp->workTimer = new _appWorkTimer;
    theApp->workTimer->start(10);
    EXPECT_TRUE(pumpUntil(window->slices, 2));
    delete theApp->workTimer;
    theApp->workTimer = nullptr;
    RecordingWindow::closeAndDelete(window);
}

} // namespace
