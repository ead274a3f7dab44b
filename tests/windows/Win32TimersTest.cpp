// The program's timers on Windows keep the contract the other desktops keep:
// a start counts from zero, a period of 0 or less and a stop are final, and a
// handler may stop or destroy its own timer. Time is told by a second timer's
// ticks, never by the clock.
#include "Win32Timers.h"
#include "MessagePump.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class Win32TimersTest : public ::testing::Test {
protected:
    // Runs the loop until the reference timer has ticked n times.
    void runFor(int n) {
        int ticks = 0;
        auto clock = timers_.createTimer([&] { ++ticks; });
        clock->start(10);
        ASSERT_TRUE(pumpUntil([&] { return ticks >= n; }));
    }

    Win32Timers timers_;
};

TEST_F(Win32TimersTest, TicksInTheMessageLoopUntilItsHandlerStopsIt) {
    int ticks = 0;
    std::unique_ptr<TimerSource> timer;
    timer = timers_.createTimer([&] {
        if (++ticks == 3)
            timer->stop();
    });
    timer->start(10);
    ASSERT_TRUE(pumpUntil([&] { return ticks == 3; }));
    runFor(8);
    EXPECT_EQ(ticks, 3);
    // Stopped is not gone: it starts again.
    timer->start(10);
    ASSERT_TRUE(pumpUntil([&] { return ticks == 4; }));
}

// Timers share their desktop's window: starting one leaves the others
// running.
TEST_F(Win32TimersTest, TimersStartedOneAfterAnotherTickSideBySide) {
    int first = 0, second = 0;
    auto a = timers_.createTimer([&] { ++first; });
    a->start(10);
    auto b = timers_.createTimer([&] { ++second; });
    b->start(10);
    ASSERT_TRUE(pumpUntil([&] { return (first >= 3 && second >= 3) || second >= 30; }));
    EXPECT_GE(first, 3);
}

TEST_F(Win32TimersTest, APeriodOfZeroOrLessStopsIt) {
    for (const int period : {0, -5}) {
        int ticks = 0;
        auto timer = timers_.createTimer([&] { ++ticks; });
        timer->start(10);
        timer->start(period);
        runFor(8);
        EXPECT_EQ(ticks, 0) << period;
    }
}

TEST_F(Win32TimersTest, AHandlerMayDestroyItsOwnTimer) {
    int ticks = 0;
    std::unique_ptr<TimerSource> timer;
    timer = timers_.createTimer([&] {
        ++ticks;
        timer.reset();
    });
    timer->start(10);
    ASSERT_TRUE(pumpUntil([&] { return ticks == 1; }));
    runFor(8);
    EXPECT_EQ(ticks, 1);
}

TEST(Win32TimersLifetime, ATimerOutlivingItsDesktopIsHarmless) {
    int ticks = 0;
    auto timers = std::make_unique<Win32Timers>();
    auto timer = timers->createTimer([&] { ++ticks; });
    timer->start(10);
    timers.reset();
    EXPECT_NO_THROW(timer->start(10));
    Win32Timers other;
    int otherTicks = 0;
    auto clock = other.createTimer([&] { ++otherTicks; });
    clock->start(10);
    ASSERT_TRUE(pumpUntil([&] { return otherTicks >= 5; }));
    EXPECT_EQ(ticks, 0);
}

} // namespace
