#include "E2eSupport.h"

#include <algorithm>
#include <filesystem>

namespace {
constexpr int W = 53, H = 87, SW = 1024, SH = 768, PanelTop = 738;
} // namespace

TEST(Startup, NoIniFileGivesOneShapedTopMostWindowWithTrayIconAndNoFile) {
    VirtualDesktop desktop;
    XClient x(desktop.display());
    MascotProcess mascot(desktop);
    auto w = mascot.waitForWindow(x);
    ASSERT_NE(w, 0u) << mascot.log();
    sleepMs(500);
    desktop.screenshot(artifactPath("started"));

    int shown = 0;
    ASSERT_TRUE(eventually([&] { return (shown = shownFrame(x, w)) != 0; })) << "shape matches no frame";
    EXPECT_TRUE(x.hasState(w, "_NET_WM_STATE_ABOVE"));
    EXPECT_TRUE(x.hasState(w, "_NET_WM_STATE_SKIP_TASKBAR"));
    EXPECT_TRUE(x.hasState(w, "_NET_WM_STATE_SKIP_PAGER"));

    int viewable = 0;
    for (auto win : x.windowsOfPid(mascot.pid()))
        if (x.isViewable(win) && x.name(win) == "走れクヴィトくん")
            ++viewable;
    EXPECT_EQ(viewable, 1);
    EXPECT_TRUE(eventually([&] { return !mascot.trayIcons(x).empty(); })) << "no tray icon in the panel";

    sleepMs(1500);
    EXPECT_FALSE(std::filesystem::exists(mascot.iniPath()));
    EXPECT_TRUE(mascot.running());
    expectCleanLog(mascot.log());
}

// One kuvito per display: a second start makes no character and no icon,
// calls the running character to the pointer and ends at once with 0; a
// running one killed outright leaves nothing that blocks the next start.
TEST(Startup, SecondStartCallsTheFirstForwardAndAKilledOneBlocksNothing) {
    VirtualDesktop desktop;
    XClient x(desktop.display());
    MascotProcess first(desktop, iniFile(1, 5, 0, 0)); // stepping in place: only a call moves it
    auto w = first.waitForWindow(x);
    ASSERT_NE(w, 0u) << first.log();
    ASSERT_TRUE(eventually([&] { return !first.trayIcons(x).empty(); })) << "no tray icon in the panel";
    const auto titled = [&] {
        return desktop.run("xdotool search --onlyvisible --name '^走れクヴィトくん$' | wc -l");
    };
    const std::string windowsBefore = titled();
    desktop.run("xdotool mousemove 700 500");

    const std::string program = std::filesystem::path(first.iniPath()).parent_path() / "kuvito";
    const std::string dir = std::filesystem::path(first.iniPath()).parent_path();
    MascotProcess second(desktop, {program}, dir + "/second.log");
    ASSERT_TRUE(second.waitForExit(20)) << "the second start still runs";
    const std::string said = second.log();
    EXPECT_EQ(second.exitCode(), 0) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_TRUE(eventually([&] {
        const auto g = formRect(x, w);
        return g.x < 700 && g.x + W > 700 && g.y > 500 && g.y < 500 + H;
    })) << "the running character did not come to the pointer";
    sleepMs(500);
    EXPECT_EQ(titled(), windowsBefore) << "a second character or icon appeared";
    EXPECT_EQ(first.trayIcons(x).size(), 1u);
    EXPECT_TRUE(first.running());

    first.kill();
    MascotProcess third(desktop, {program}, dir + "/third.log");
    EXPECT_NE(third.waitForWindow(x), 0u) << third.log();
    EXPECT_TRUE(third.running());
    expectCleanLog(first.log());
}

TEST(Modes, ChaseReachesThePointerThenAlternatesTheIdleFrames) {
    VirtualDesktop desktop;
    XClient x(desktop.display());
    desktop.run("xdotool mousemove 500 400");
    MascotProcess mascot(desktop, iniFile(1, 1, 0, 0));
    auto w = mascot.waitForWindow(x);
    ASSERT_NE(w, 0u) << mascot.log();
    ASSERT_TRUE(eventually([&] {
        auto g = formRect(x, w);
        return g.x == 500 && g.y == 400;
    })) << "never reached the pointer";
    desktop.screenshot(artifactPath("on-pointer"));
    std::set<int> frames;
    for (int i = 0; i < 20; ++i) {
        frames.insert(shownFrame(x, w));
        sleepMs(37);
    }
    EXPECT_EQ(frames, (std::set<int>{1, 2}));
    expectCleanLog(mascot.log());
}

TEST(Modes, WanderScreenStaysOnTheScreen) {
    VirtualDesktop desktop;
    XClient x(desktop.display());
    MascotProcess mascot(desktop, iniFile(1, 2, 0, 0));
    auto w = mascot.waitForWindow(x);
    ASSERT_NE(w, 0u) << mascot.log();
    sleepMs(300);
    std::set<std::pair<int, int>> seen;
    for (int i = 0; i < 60; ++i) {
        auto g = formRect(x, w);
        seen.insert({g.x, g.y});
        EXPECT_GE(g.x, 0);
        EXPECT_LE(g.x + W, SW);
        EXPECT_GE(g.y, 0);
        EXPECT_LE(g.y + H, SH);
        sleepMs(50);
    }
    EXPECT_GT(seen.size(), 5u) << "it hardly moved";
    desktop.screenshot(artifactPath("wandering"));
}

TEST(Modes, WanderTaskbarStandsOnThePanel) {
    VirtualDesktop desktop;
    XClient x(desktop.display());
    MascotProcess mascot(desktop, iniFile(1, 3, 0, 0));
    auto w = mascot.waitForWindow(x);
    ASSERT_NE(w, 0u) << mascot.log();
    ASSERT_TRUE(eventually([&] { return formRect(x, w).y + H == PanelTop; }));
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(formRect(x, w).y + H, PanelTop);
        sleepMs(50);
    }
    desktop.screenshot(artifactPath("on-panel"));
}

TEST(Modes, WanderTaskbarStandsOnTheScreenBottomWhenThePanelIsAtTheTop) {
    VirtualDesktop desktop(VirtualDesktop::Options{.panelAtTop = true});
    XClient x(desktop.display());
    MascotProcess mascot(desktop, iniFile(1, 3, 0, 0));
    auto w = mascot.waitForWindow(x);
    ASSERT_NE(w, 0u) << mascot.log();
    ASSERT_TRUE(eventually([&] { return formRect(x, w).y + H == SH; }));
    desktop.screenshot(artifactPath("on-bottom"));
}

TEST(Modes, WalkOnWindowWalksOnTheFrontWindowAndWandersWithoutOne) {
    VirtualDesktop desktop;
    XClient x(desktop.display());
    const pid_t msg = showXmessage(desktop, "400x150+300+300", "kuvito walks here");
    MascotProcess mascot(desktop, iniFile(1, 4, 0, 0));
    auto w = mascot.waitForWindow(x);
    ASSERT_NE(w, 0u) << mascot.log();
    // The mascot may take the focus when it appears; the message window is
    // brought back to the front.
    const auto front = activateWindow(desktop, x, "xmessage");
    ASSERT_TRUE(front.has_value()) << "xmessage never became the active window";
    const auto frame = x.geometry(x.topLevel(*front));
    // On the top edge and within the window's width: the first tick on the
    // window sets only the height when it starts a pause (one in thirty).
    auto onWindow = [&](const XClient::Rect& g) {
        return g.y + H == frame.y && g.x >= frame.x && g.x + W <= frame.x + frame.width;
    };
    ASSERT_TRUE(eventually([&] { return onWindow(formRect(x, w)); })) << "not on the window's top edge";
    for (int i = 0; i < 30; ++i) {
        const auto g = formRect(x, w);
        EXPECT_TRUE(onWindow(g)) << "character at " << g.x << "," << g.y << ", window at " << frame.x << ","
                                 << frame.y;
        sleepMs(50);
    }
    desktop.screenshot(artifactPath("on-window"));

    desktop.stopProcess(msg);
    // With no window in front it wanders over the screen.
    std::set<int> ys;
    for (int i = 0; i < 60; ++i) {
        auto g = formRect(x, w);
        ys.insert(g.y);
        EXPECT_GE(g.x, 0);
        EXPECT_LE(g.x + W, SW);
        sleepMs(50);
    }
    EXPECT_TRUE(ys.size() > 1 || *ys.begin() + H != frame.y);
}

TEST(Modes, StepInPlaceStaysAndFacesThePointer) {
    VirtualDesktop desktop;
    XClient x(desktop.display());
    desktop.run("xdotool mousemove 900 500");
    MascotProcess mascot(desktop, iniFile(1, 5, 0, 0));
    auto w = mascot.waitForWindow(x);
    ASSERT_NE(w, 0u) << mascot.log();
    auto start = formRect(x, w);
    ASSERT_TRUE(eventually([&] {
        int f = shownFrame(x, w);
        return f == 5 || f == 6;
    })) << "not facing right";
    desktop.run("xdotool mousemove 0 500");
    // The pointer is now at the window's Left: it faces left.
    ASSERT_TRUE(eventually([&] {
        int f = shownFrame(x, w);
        return f == 3 || f == 4;
    })) << "not facing left";
    auto end = formRect(x, w);
    EXPECT_EQ(start.x, end.x);
    EXPECT_EQ(start.y, end.y);
    desktop.screenshot(artifactPath("facing-left"));
}
