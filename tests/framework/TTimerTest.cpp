#include <gtest/gtest.h>

#include <QDialog>
#include <QMenu>

#include <functional>

#include "KuvitoError.h"
#include "SimulatedDesktop.h"
#include "TestComponents.h"
#include "TTimer.h"

namespace {

class TimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto sim = std::make_unique<SimulatedDesktop>();
        desk = sim.get();
        installDesktop(std::move(sim));
        timer = new TTimer(&owner);
        timer->setOnTimer([this](Component* sender) {
            EXPECT_EQ(sender, timer);
            ticks.push_back(desk->now());
        });
    }
    SimulatedDesktop* desk = nullptr;
    Probe owner{nullptr};
    TTimer* timer = nullptr;
    std::vector<std::int64_t> ticks;
};

} // namespace

TEST_F(TimerTest, PeriodContract) {
    // Default: 1000 ms, running.
    EXPECT_TRUE(timer->isRunning());
    desk->advance(1000);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{1000}));

    // A different period restarts the countdown from zero.
    desk->advance(150);
    timer->setInterval(300);
    desk->advance(299);
    EXPECT_EQ(ticks.size(), 1u);
    desk->advance(1);
    EXPECT_EQ(ticks.back(), 1450);

    // The same period changes nothing: the countdown goes on.
    desk->advance(200);
    timer->setInterval(300);
    desk->advance(100);
    EXPECT_EQ(ticks.back(), 1750);

    // 0 stops it; a later period starts it afresh.
    timer->setInterval(0);
    EXPECT_FALSE(timer->isRunning());
    desk->advance(5000);
    EXPECT_EQ(ticks.size(), 3u);
    timer->setInterval(50);
    desk->advance(100);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{1000, 1450, 1750, 6800, 6850}));
}

TEST_F(TimerTest, EnabledAndHandlerDecideWhetherItRuns) {
    timer->setInterval(100);
    timer->setEnabled(false);
    desk->advance(1000);
    EXPECT_TRUE(ticks.empty());
    timer->setEnabled(true);
    desk->advance(100);
    EXPECT_EQ(ticks.size(), 1u);
    timer->setOnTimer(nullptr);
    EXPECT_FALSE(timer->isRunning());
}

TEST_F(TimerTest, TicksGoOnInsideEveryNestedLoop) {
    timer->setInterval(200);
    QDialog dialog;
    QMenu menu;
    QWidget window;
    struct Case {
        const char* label;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"modal dialog", [&] { desk->execModal(dialog); }},
        {"popup menu",
         [&] {
             desk->popupMenu(menu, {5, 5});
         }},
        {"drag",
         [&] {
             desk->dragWindow(window, {1, 1});
         }},
    };
    // The user keeps each loop open for a second.
    desk->setModalScript([](SimulatedDesktop& d, QDialog&) { d.advance(1000); });
    desk->setMenuScript([](SimulatedDesktop& d, QMenu&, QPoint) { d.advance(1000); });
    desk->setDragScript([](SimulatedDesktop& d, QWidget&, QPoint) {
        d.advance(1000);
        d.releaseButton();
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::size_t before = ticks.size();
        c.run();
        EXPECT_EQ(ticks.size() - before, 5u);
    }
}

TEST_F(TimerTest, ATickWhileItsOwnHandlerRunsIsDropped) {
    timer->setInterval(100);
    int depth = 0, maxDepth = 0, calls = 0;
    timer->setOnTimer([&](Component*) {
        ++calls;
        maxDepth = std::max(maxDepth, ++depth);
        if (calls == 1)
            desk->advance(1000); // a nested loop inside the handler
        --depth;
    });
    desk->advance(100);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(calls, 1);
    desk->advance(100);
    EXPECT_EQ(calls, 2);
}

TEST_F(TimerTest, AnExceptionIsShownOnceAndTheTimerGoesOn) {
    timer->setInterval(100);
    int calls = 0;
    timer->setOnTimer([&](Component*) {
        if (++calls == 1)
            throw KuvitoError("ﾀｲﾏｰが失敗しました");
    });
    desk->advance(300);
    EXPECT_EQ(calls, 3);
    ASSERT_EQ(desk->errorBoxes().size(), 1u);
    EXPECT_EQ(desk->errorBoxes()[0].title.toStdString(), "走れクヴィトくん");
    EXPECT_EQ(desk->errorBoxes()[0].text.toStdString(), "ﾀｲﾏｰが失敗しました.");
}

TEST_F(TimerTest, AHandlerMayDestroyItsTimer) {
    timer->setInterval(100);
    timer->setOnTimer([&](Component*) { delete timer; });
    desk->advance(500);
    EXPECT_TRUE(owner.components().empty());
}

TEST_F(TimerTest, LoadingStartsItOnlyWhenLoaded) {
    auto* loading = new TTimer(&owner);
    owner.publishMethod("Tick", TNotifyEvent([this](Component*) { ticks.push_back(-1); }));
    loading->setLoading(true);
    ASSERT_TRUE(loading->readProperty("OnTimer", FormValue::fromIdent("Tick")));
    ASSERT_TRUE(loading->readProperty("Interval", FormValue::fromInt(200)));
    EXPECT_FALSE(loading->isRunning());
    desk->advance(150);
    loading->loaded();
    EXPECT_TRUE(loading->isRunning());
    desk->advance(199);
    EXPECT_EQ(std::count(ticks.begin(), ticks.end(), -1), 0);
    desk->advance(1);
    EXPECT_EQ(std::count(ticks.begin(), ticks.end(), -1), 1);
}

namespace {
// An error box that stays open for a second, with the clock running.
class SlowErrorBoxDesktop : public SimulatedDesktop {
public:
    void showErrorBox(const std::string& title, const std::string& text) override {
        SimulatedDesktop::showErrorBox(title, text);
        advance(1000);
    }
};
} // namespace

TEST(TimerErrors, FailingTimersDoNotStackErrorBoxes) {
    auto sim = std::make_unique<SlowErrorBoxDesktop>();
    SlowErrorBoxDesktop* desk = sim.get();
    installDesktop(std::move(sim));
    Probe owner(nullptr);
    auto* first = new TTimer(&owner);
    auto* second = new TTimer(&owner);
    int firstCalls = 0, secondCalls = 0;
    first->setInterval(100);
    first->setOnTimer([&](Component*) {
        ++firstCalls;
        throw KuvitoError("一つ目");
    });
    second->setInterval(150);
    second->setOnTimer([&](Component*) {
        ++secondCalls;
        throw KuvitoError("二つ目");
    });
    desk->advance(100);
    // The first timer's box stays open for a second: its own ticks are
    // dropped meanwhile, the second timer goes on (and fails) without
    // stacking boxes on it.
    ASSERT_EQ(desk->errorBoxes().size(), 1u);
    EXPECT_EQ(desk->errorBoxes()[0].text.toStdString(), "一つ目.");
    EXPECT_EQ(firstCalls, 1);
    EXPECT_EQ(secondCalls, 7);
    // Once it is closed, the next failure shows again.
    desk->advance(100);
    EXPECT_EQ(desk->errorBoxes().size(), 2u);
}
