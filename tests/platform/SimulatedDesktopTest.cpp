#include "SimulatedDesktop.h"

#include "QtIconHandle.h"
#include "QtWindowHandle.h"
#include "RgnRegion.h"

#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// --- timers -------------------------------------------------------------------

struct Tick {
    std::string timer;
    std::int64_t at;
    bool operator==(const Tick&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Tick& t) {
    return os << t.timer << "@" << t.at;
}

class SimulatedTimers : public ::testing::Test {
protected:
    std::unique_ptr<TimerSource> timer(const std::string& name, std::function<void()> extra = {}) {
        return desk_.createTimer([this, name, extra] {
            ticks_.push_back({name, desk_.now()});
            if (extra)
                extra();
        });
    }
    SimulatedDesktop desk_;
    std::vector<Tick> ticks_;
};

TEST_F(SimulatedTimers, TicksFireInTimeOrderOneAtATime) {
    auto a = timer("a");
    auto b = timer("b");
    b->start(50);
    a->start(30);
    desk_.advance(150);
    // At 150 both are due: the one started first ticks first.
    EXPECT_EQ(
        ticks_,
        (std::vector<Tick>{
            {"a", 30}, {"b", 50}, {"a", 60}, {"a", 90}, {"b", 100}, {"a", 120}, {"b", 150}, {"a", 150}}));
    EXPECT_EQ(desk_.now(), 150);
}

TEST_F(SimulatedTimers, AdvancingInPiecesGivesTheSameTicks) {
    auto a = timer("a");
    a->start(100);
    for (int i = 0; i < 7; ++i)
        desk_.advance(35);
    EXPECT_EQ(ticks_, (std::vector<Tick>{{"a", 100}, {"a", 200}}));
}

TEST_F(SimulatedTimers, RestartInsideAHandlerCountsFromThatMoment) {
    std::unique_ptr<TimerSource> a;
    int aTicks = 0;
    a = timer("a", [&] {
        if (++aTicks == 1)
            a->start(40);
    });
    auto b = timer("b", [&] { a->start(100); });
    a->start(100);
    b->start(150);
    desk_.advance(300);
    // a: 100, restarted with 40 -> 140; b at 150 restarts a -> 250; b again at 300.
    EXPECT_EQ(ticks_, (std::vector<Tick>{{"a", 100}, {"a", 140}, {"b", 150}, {"a", 250}, {"b", 300}}));
}

TEST_F(SimulatedTimers, StopAndDestroyInsideHandlers) {
    std::unique_ptr<TimerSource> a, b;
    a = timer("a", [&] { a->stop(); });
    b = timer("b", [&] { b.reset(); });
    a->start(10);
    b->start(20);
    auto c = timer("c");
    c->start(0); // a zero period stops instead of spinning
    desk_.advance(100);
    EXPECT_EQ(ticks_, (std::vector<Tick>{{"a", 10}, {"b", 20}}));
    EXPECT_EQ(desk_.runningTimerCount(), 0);
}

TEST_F(SimulatedTimers, HandlerMayAdvanceTheClockItself) {
    auto inner = timer("inner");
    auto outer = timer("outer", [&] {
        if (desk_.now() == 100)
            desk_.advance(250); // as a modal dialog's script would
    });
    inner->start(60);
    outer->start(100);
    desk_.advance(400);
    EXPECT_EQ(ticks_, (std::vector<Tick>{{"inner", 60},
                                         {"outer", 100},
                                         {"inner", 120},
                                         {"inner", 180},
                                         {"outer", 200},
                                         {"inner", 240},
                                         {"inner", 300},
                                         {"outer", 300},
                                         {"inner", 360},
                                         {"outer", 400}}));
    EXPECT_EQ(desk_.now(), 400);
}

TEST(SimulatedTimerLifetime, TimerOutlivingItsDesktopIsHarmless) {
    int ticks = 0;
    auto desk = std::make_unique<SimulatedDesktop>();
    auto t = desk->createTimer([&] { ++ticks; });
    t->start(10);
    desk.reset();
    // Its clock is gone: starting and stopping it does nothing, and another
    // desktop's clock does not drive it.
    EXPECT_NO_THROW(t->start(20));
    SimulatedDesktop other;
    other.advance(100);
    EXPECT_EQ(ticks, 0);
    EXPECT_NO_THROW(t->stop());
}

// --- windows, drag and foreground ----------------------------------------------------

TEST(SimulatedWindows, MoveRegionAndTopMostAreRecorded) {
    SimulatedDesktop desk;
    QWidget w;
    w.resize(53, 87);
    desk.hideFromTaskbar(handleOf(w));
    EXPECT_TRUE(desk.wasHiddenBeforeShown(w));
    desk.moveWindow(handleOf(w), 100, 200);
    EXPECT_EQ(w.pos(), QPoint(100, 200));
    EXPECT_EQ(w.size(), QSize(53, 87));
    desk.setWindowRegion(handleOf(w), RgnRegion::rects(QRegion(0, 0, 10, 10)));
    desk.setWindowRegion(handleOf(w), RgnRegion::rects(QRegion(1, 1, 5, 5)));
    EXPECT_EQ(desk.windowRegion(w), QRegion(1, 1, 5, 5));
    EXPECT_EQ(desk.regionSetCount(w), 2);
    desk.setTopMost(handleOf(w), true);
    EXPECT_TRUE(desk.isTopMost(handleOf(w)));
    desk.setTopMost(handleOf(w), false);
    EXPECT_FALSE(desk.isTopMost(handleOf(w)));
    EXPECT_EQ(desk.topMostSetCount(w), 2);
}

TEST(SimulatedWindows, ForegroundIsAWindowTheProgramOrNone) {
    SimulatedDesktop desk;
    EXPECT_FALSE(desk.foregroundWindow());
    const auto id = desk.addWindow({10, 20, 300, 400});
    desk.setForeground(id);
    ASSERT_TRUE(desk.foregroundWindow());
    EXPECT_EQ(desk.foregroundWindow()->rect, (ScreenRect{10, 20, 300, 400}));
    {
        QWidget w;
        w.setGeometry(5, 6, 53, 87);
        desk.setForegroundWindow(handleOf(w));
        EXPECT_EQ(desk.foregroundWindow()->rect, (ScreenRect{5, 6, 58, 93}));
        EXPECT_EQ(desk.foregroundRequests().size(), 1u);
    }
    // The widget is gone, and with it the foreground window.
    EXPECT_FALSE(desk.foregroundWindow());
    desk.setForeground(id);
    desk.removeWindow(id);
    EXPECT_FALSE(desk.foregroundWindow());
}

TEST(SimulatedWindows, TaskbarDefaultAndFailure) {
    SimulatedDesktop desk;
    EXPECT_EQ(desk.taskbarRect(), (ScreenRect{0, 738, 1024, 768}));
    desk.setTaskbarRect(std::nullopt);
    EXPECT_FALSE(desk.taskbarRect());
}

TEST(SimulatedDrag, WindowFollowsThePointerUntilRelease) {
    SimulatedDesktop desk;
    QWidget w;
    w.setGeometry(100, 100, 53, 87);
    int ticks = 0;
    auto t = desk.createTimer([&] { ++ticks; });
    t->start(50);
    desk.setCursorPos({110, 120});
    desk.setDragScript([&](SimulatedDesktop& d, QWidget&, QPoint) {
        d.setCursorPos({300, 400});
        d.advance(100); // timers keep ticking during the drag
        d.setCursorPos({310, 405});
        d.releaseButton();
        d.setCursorPos({0, 0});
    });
    desk.dragWindow(w, {10, 20});
    EXPECT_EQ(w.pos(), QPoint(300, 385));
    EXPECT_EQ(ticks, 2);
    ASSERT_EQ(desk.drags().size(), 1u);
    EXPECT_EQ(desk.drags()[0].startPos, QPoint(100, 100));
    EXPECT_EQ(desk.drags()[0].endPos, QPoint(300, 385));
    EXPECT_FALSE(desk.isDragging());

    // The default script releases at once: the window stays.
    desk.setDragScript({});
    desk.dragWindow(w, {1, 1});
    EXPECT_EQ(w.pos(), QPoint(300, 385));
}

// --- dialogs and menus ------------------------------------------------------------

TEST(SimulatedModal, ResultComesFromTheScript) {
    SimulatedDesktop desk;
    QDialog dialog;
    dialog.setWindowTitle("t");
    auto* ok = new QPushButton("&OK", &dialog);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);

    EXPECT_EQ(desk.execModal(dialog), QDialog::Rejected) << "default: reject at once";
    EXPECT_FALSE(dialog.isVisible());

    desk.setModalScript([](SimulatedDesktop& d, QDialog& dlg) {
        d.advance(10);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_TRUE(SimulatedDesktop::clickButton(dlg, "OK"));
    });
    EXPECT_EQ(desk.execModal(dialog), QDialog::Accepted);

    desk.setModalScript([](SimulatedDesktop&, QDialog&) {}); // left open: closed like the close box
    EXPECT_EQ(desk.execModal(dialog), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(desk.modals().size(), 3u);
    EXPECT_EQ(desk.modals()[1].title, "t");
}

TEST(SimulatedMenu, ScriptChoosesAnItem) {
    SimulatedDesktop desk;
    QMenu menu;
    int chosen = 0;
    QObject::connect(menu.addAction("設定"), &QAction::triggered, [&] { chosen = 1; });
    menu.addSeparator();
    QObject::connect(menu.addAction("終了"), &QAction::triggered, [&] { chosen = 2; });
    desk.popupMenu(menu, {5, 6});
    EXPECT_EQ(chosen, 0);
    desk.setMenuScript(
        [](SimulatedDesktop&, QMenu& m, QPoint) { SimulatedDesktop::triggerAction(m, "終了"); });
    desk.popupMenu(menu, {7, 8});
    EXPECT_EQ(chosen, 2);
    ASSERT_EQ(desk.menus().size(), 2u);
    EXPECT_EQ(desk.menus()[1].at, QPoint(7, 8));
}

// --- notification area ---------------------------------------------------------

struct Message {
    unsigned msg;
    std::uintptr_t w;
    std::intptr_t l;
    bool operator==(const Message&) const = default;
};

NotifyIconData record(std::uintptr_t wnd, const char* tip, const QIcon* icon = nullptr) {
    NotifyIconData d;
    d.hWnd = wnd;
    d.hIcon = icon ? handleOf(*icon) : IconHandle{};
    std::strncpy(d.szTip, tip, sizeof d.szTip - 1);
    return d;
}

TEST(SimulatedTray, CallbacksReachTheIconsMessageWindow) {
    SimulatedDesktop desk;
    std::vector<Message> got;
    const auto wnd =
        desk.createMessageWindow([&](unsigned m, std::uintptr_t w, std::intptr_t l) -> std::intptr_t {
            got.push_back({m, w, l});
            return m == 17 ? 1 : 0;
        });
    ASSERT_NE(wnd, 0u);
    EXPECT_FALSE(desk.sendTrayMessage(516)) << "no icon yet";

    QIcon icon;
    EXPECT_TRUE(desk.shellNotifyIcon(TrayOperation::NIM_ADD, record(wnd, "hint", &icon)));
    EXPECT_FALSE(desk.shellNotifyIcon(TrayOperation::NIM_ADD, record(wnd, "again"))) << "already there";
    EXPECT_TRUE(desk.sendTrayMessage(516));
    EXPECT_EQ(desk.sendMessage(wnd, 17, 0, 0), 1);
    EXPECT_EQ(got, (std::vector<Message>{{1124, 1, 516}, {17, 0, 0}}));

    EXPECT_TRUE(desk.shellNotifyIcon(TrayOperation::NIM_MODIFY, record(wnd, "new tip")));
    EXPECT_EQ(desk.trayIcon()->tip, "new tip");
    EXPECT_TRUE(desk.shellNotifyIcon(TrayOperation::NIM_DELETE, record(wnd, "")));
    EXPECT_FALSE(desk.trayIcon());
    EXPECT_FALSE(desk.shellNotifyIcon(TrayOperation::NIM_MODIFY, record(wnd, "x"))) << "nothing to modify";

    ASSERT_EQ(desk.trayCalls().size(), 5u);
    EXPECT_EQ(std::string(desk.trayCalls()[0].data.szTip), "hint");
    EXPECT_EQ(desk.trayCalls()[0].data.uCallbackMessage, 1124u);

    desk.destroyMessageWindow(wnd);
    EXPECT_EQ(desk.sendMessage(wnd, 17, 0, 0), 0);
}

TEST(SimulatedTray, TipIsNeverReadPastItsField) {
    SimulatedDesktop desk;
    NotifyIconData d;
    d.hWnd =
        desk.createMessageWindow([](unsigned, std::uintptr_t, std::intptr_t) -> std::intptr_t { return 0; });
    std::memset(d.szTip, 'x', sizeof d.szTip); // no terminating zero
    EXPECT_TRUE(desk.shellNotifyIcon(TrayOperation::NIM_ADD, d));
    EXPECT_EQ(desk.trayIcon()->tip, std::string(64, 'x'));
}

TEST(SimulatedTray, UnavailableAreaFailsEveryCall) {
    SimulatedDesktop desk;
    desk.setTrayAvailable(false);
    EXPECT_FALSE(desk.shellNotifyIcon(TrayOperation::NIM_ADD, record(1, "x")));
    EXPECT_FALSE(desk.trayIcon());
    EXPECT_EQ(desk.trayCalls().size(), 1u);
}

TEST(SimulatedTray, HandlerMayDestroyItsOwnWindow) {
    SimulatedDesktop desk;
    std::uintptr_t wnd = 0;
    wnd = desk.createMessageWindow([&](unsigned, std::uintptr_t, std::intptr_t) -> std::intptr_t {
        desk.destroyMessageWindow(wnd);
        return 7;
    });
    EXPECT_EQ(desk.sendMessage(wnd, 1, 0, 0), 7);
    EXPECT_FALSE(desk.hasMessageWindow(wnd));
}

} // namespace
