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
bool reaches(const int& count, int wanted) {
    return pumpUntil([&] { return count >= wanted; }, 5000);
}

TEST(Timers, TickFromTheMessageLoopUntilStoppedAndRestartInPlace) {
    int ticks = 0;
    CountingTimer timer(ticks);
    timer.start(1000);
    EXPECT_EQ(timer.start(10), 1);
    EXPECT_EQ(registered(&timer), 1) << "a restart keeps one entry";
    Sleep(50);
    EXPECT_EQ(ticks, 0) << "nothing ticks while no message is dispatched";
    EXPECT_TRUE(reaches(ticks, 3));
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
    ASSERT_TRUE(reaches(running, 1));
    delete deleted;
    int deletedAt = running;
    EXPECT_TRUE(reaches(witness, 5));
    EXPECT_TRUE(reaches(restarts, 3));
    EXPECT_EQ(running, deletedAt) << "no tick reaches a deleted timer";
    EXPECT_EQ(selfDeleted, 1) << "deleted in its first tick";
    EXPECT_EQ(registered(&restarting), 1);
    EXPECT_EQ(registered(), 2);
    EXPECT_EQ(restarting.interval, 10 + restarts);
}

// A tick whose handler runs a nested message loop (a notice's, say) is not
// entered again by the ticks that loop delivers; it ticks on once it returns.
TEST(Timers, ATickIsNotDeliveredWhileItsHandlerRuns) {
    int ticks = 0, running = 0;
    CountingTimer timer(ticks, [&](CountingTimer*) {
        EXPECT_EQ(++running, 1) << "tick " << ticks;
        if (ticks == 1) pumpMessages(100);
        --running;
    });
    timer.start(10);
    EXPECT_TRUE(reaches(ticks, 3));
}

// A tick of a stopped timer, taken from the queue before the stop and
// dispatched after, reaches no timer: a newer one never gets the same id.
TEST(Timers, AStaleTickReachesNoNewerTimer) {
    int oldTicks = 0, newTicks = 0;
    CountingTimer old(oldTicks), newer(newTicks);
    old.start(10);
    MSG stale = {};
    bool taken = false;
    for (int i = 0; i < 500 && !taken; ++i, Sleep(10))
        while (!taken && PeekMessageA(&stale, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
            if (!(taken = stale.wParam == old.timerId)) DispatchMessageA(&stale);
    ASSERT_TRUE(taken) << "no tick within 5 s";
    old.stop();
    newer.start(100000);
    EXPECT_NE(newer.timerId, stale.wParam);
    DispatchMessageA(&stale);
    EXPECT_EQ(oldTicks + newTicks, 0);
}

EventLog sliceLog;

// Counts its work slices; told to, closes itself in one and opens another.
class SlicedWindow : public RecordingWindow {
  public:
    SlicedWindow() : RecordingWindow(sliceLog, "Sliced") {
        theApp->newAppWindow(this, "Sliced", 0, 0, nullptr);
    }
    void onWorkSlice() override {
        ++slices;
        if (!replacesItself || replacement) return;
        theApp->closeAppWindow(this);
        replacement = new SlicedWindow;
    }
    int slices = 0;
    bool replacesItself = false;
    SlicedWindow* replacement = nullptr;
};

// The work timer runs the work slice of every window, once a round, also
// when one closes itself and opens another in its slice.
TEST(Timers, WorkTimerRunsTheWorkSliceOfEveryWindow) {
    SlicedWindow* windows[] = {new SlicedWindow, new SlicedWindow, new SlicedWindow};
    theApp->workTimer = new _appWorkTimer;
    theApp->workTimer->start(10);
    EXPECT_TRUE(reaches(windows[0]->slices, 2));
    delete theApp->workTimer;
    theApp->workTimer = nullptr;

    for (SlicedWindow* window : windows)
        window->slices = 0;
    windows[1]->replacesItself = true;
    theApp->doWorkSlice();
    for (SlicedWindow* window : windows)
        EXPECT_EQ(window->slices, 1);
    ASSERT_NE(windows[1]->replacement, nullptr);
    for (SlicedWindow* window : {windows[0], windows[2], windows[1]->replacement})
        RecordingWindow::closeAndDelete(window);
    theApp->deleteList.remove(windows[1]);
    delete windows[1];
}

} // namespace
