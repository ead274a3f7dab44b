// The rates of pauses, turns and vertical steps over many seeded ticks, and
// the walking area holding over long runs. Every run is seeded, so the
// counts are reproducible; the bounds are about four standard deviations
// wide, narrow enough that a wrong constant (1/29 for 1/30, 1/2 or 1/4 for
// 1/3, turns on two values of r) lands outside them.

#include "MascotFixture.h"

#include <cmath>

namespace {

struct Counts {
    int ticks = 0;
    int pauses = 0;
    int turns = 0;
    int verticalSteps = 0;
};

class StatisticsTest : public MascotFixture {
protected:
    // Runs Timer1 ticks until `ticks` have happened, pauses included (they
    // beat through on Timer2 as they would on the desktop).
    Counts run(int ticks, const std::function<void()>& afterEachMovingTick = {}) {
        Counts counts;
        while (counts.ticks < ticks) {
            const HorizontalHeading dirX = movement().DirX;
            const int topBefore = top();
            const int period = timer1Interval();
            EXPECT_GT(period, 0);
            if (period <= 0)
                break;
            advance(period);
            ++counts.ticks;
            if (timer1Interval() == 0) {
                ++counts.pauses;
                advance(10LL * timer2Interval());
                EXPECT_EQ(timer1Interval(), period);
                continue;
            }
            if (movement().DirX != dirX)
                ++counts.turns;
            if (top() != topBefore)
                ++counts.verticalSteps;
            if (afterEachMovingTick)
                afterEachMovingTick();
        }
        return counts;
    }

    static void expectRate(int count, int trials, double p, const char* what) {
        const double expected = trials * p;
        const double sd = std::sqrt(trials * p * (1 - p));
        EXPECT_NEAR(count, expected, 4 * sd) << what << ": " << count << " of " << trials;
    }
};

constexpr int kTicks = 60000;
constexpr int kHuge = 4'000'000;

TEST_F(StatisticsTest, ScreenModeRates) {
    // A screen so large that no clamp ever acts, so every change of heading
    // is a turn and every change of Top a vertical step.
    sim->setScreenSize({kHuge, kHuge});
    writeIni("idou=2\nspeed=0\n");
    create(kHuge / 2, kHuge / 2);
    useGenerator(20261209);
    const Counts c = run(kTicks);
    const int moving = c.ticks - c.pauses;
    expectRate(c.pauses, c.ticks, 1.0 / 30, "pauses");
    expectRate(c.turns, moving, 1.0 / 29, "turns");
    expectRate(c.verticalSteps, moving, 1.0 / 3, "vertical steps");
}

TEST_F(StatisticsTest, TaskbarAndWindowModeRates) {
    sim->setScreenSize({kHuge, kHuge});
    sim->setTaskbarRect(ScreenRect{0, kHuge - 30, kHuge, kHuge});
    for (int mode : {3, 4}) {
        SCOPED_TRACE(mode);
        writeIni("idou=" + std::to_string(mode) + "\nspeed=0\n");
        if (mode == 4)
            sim->setForeground(sim->addWindow({0, kHuge / 2, kHuge, kHuge}));
        create(kHuge / 2, 1000);
        useGenerator(4242 + mode);
        // The first tick puts the character on its line; count from there.
        run(1);
        const Counts c = run(kTicks / 2);
        expectRate(c.pauses, c.ticks, 1.0 / 30, "pauses");
        expectRate(c.turns, c.ticks - c.pauses, 1.0 / 29, "turns");
        EXPECT_EQ(c.verticalSteps, 0);
        form.reset();
    }
}

TEST_F(StatisticsTest, StepInPlacePauseRate) {
    writeIni("idou=5\nspeed=0\n");
    create(100, 100);
    sim->setCursorPos({600, 100});
    useGenerator(99);
    const Counts c = run(kTicks / 2);
    expectRate(c.pauses, c.ticks, 1.0 / 30, "pauses");
}

TEST_F(StatisticsTest, WanderingModesStayOnTheScreenHorizontally) {
    for (int mode : {2, 3}) {
        SCOPED_TRACE(mode);
        writeIni("idou=" + std::to_string(mode) + "\nspeed=0\nidour=0\n");
        create(500, 300);
        useGenerator(7 + mode);
        int outside = 0;
        run(20000, [&] {
            if (left() < 0 || left() + 53 > 1024)
                ++outside;
        });
        EXPECT_EQ(outside, 0);
        form.reset();
    }
}

} // namespace
