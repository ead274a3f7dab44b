// The character steps aside while the active window is full screen on its
// monitor, as the window manager states it (_NET_WM_STATE_FULLSCREEN).

#include "E2eSupport.h"

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

// A shown mascot that has stopped moving (mode 5 steps in place), and its
// form's place.
struct Standing {
    XClient::Window window = 0;
    XClient::Rect place{};
};

Standing standingMascot(XClient& x, MascotProcess& mascot) {
    Standing s;
    s.window = mascot.waitForWindow(x);
    if (!s.window)
        return s;
    s.place = formRect(x, s.window);
    eventually([&] {
        const XClient::Rect before = s.place;
        sleepMs(200);
        s.place = formRect(x, s.window);
        return s.place.x == before.x && s.place.y == before.y;
    });
    return s;
}

// An xmessage made active and then full screen by the window manager.
pid_t fullScreenWindow(VirtualDesktop& desktop, XClient& x, const std::string& geometry) {
    const pid_t pid = showXmessage(desktop, geometry, "full screen");
    EXPECT_TRUE(activateWindow(desktop, x, "xmessage").has_value());
    desktop.run("wmctrl -r xmessage -b add,fullscreen");
    return pid;
}

// Milliseconds until the window's viewable state is `viewable`, within
// three seconds; -1 when it never was.
long msUntilViewable(XClient& x, XClient::Window w, bool viewable) {
    const auto start = Clock::now();
    while (Clock::now() - start < std::chrono::seconds(3)) {
        if (x.isViewable(w) == viewable)
            return static_cast<long>(
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
        sleepMs(10);
    }
    return -1;
}

} // namespace

TEST(FullScreen, HidesForItsMonitorAndComesBackWhereItWas) {
    VirtualDesktop desktop;
    XClient x(desktop.display());
    MascotProcess mascot(desktop, iniFile(1, 5, 0, 0));
    const Standing s = standingMascot(x, mascot);
    ASSERT_NE(s.window, 0u) << mascot.log();

    const pid_t other = fullScreenWindow(desktop, x, "300x100+400+300");
    const long hidden = msUntilViewable(x, s.window, false);
    ASSERT_GE(hidden, 0) << "still shown over the full-screen window";
    EXPECT_LE(hidden, 1000);
    desktop.screenshot(artifactPath("hidden"));

    desktop.run("wmctrl -r xmessage -b remove,fullscreen");
    const long back = msUntilViewable(x, s.window, true);
    ASSERT_GE(back, 0) << "never came back when the window left full screen";
    EXPECT_LE(back, 1000);
    const XClient::Rect place = formRect(x, s.window);
    EXPECT_EQ(place.x, s.place.x);
    EXPECT_EQ(place.y, s.place.y);
    std::printf("full screen: hidden after %ld ms, back after %ld ms\n", hidden, back);

    // A full-screen window that closes lets it back too.
    desktop.run("wmctrl -r xmessage -b add,fullscreen");
    ASSERT_GE(msUntilViewable(x, s.window, false), 0);
    desktop.stopProcess(other);
    EXPECT_GE(msUntilViewable(x, s.window, true), 0) << "the full-screen window closed";
    expectCleanLog(mascot.log());
}

TEST(FullScreen, SwitchedOffItStays) {
    VirtualDesktop desktop;
    XClient x(desktop.display());
    MascotProcess mascot(desktop, iniFile(1, 5, 0, 0) + "zengamen=2\r\n");
    const Standing s = standingMascot(x, mascot);
    ASSERT_NE(s.window, 0u) << mascot.log();
    fullScreenWindow(desktop, x, "300x100+400+300");
    EXPECT_EQ(msUntilViewable(x, s.window, false), -1);
}

TEST(FullScreen, AFullScreenWindowOnTheOtherMonitorLeavesIt) {
    VirtualDesktop desktop(VirtualDesktop::Options{.monitors = VirtualDesktop::Monitors::PrimaryLeft});
    XClient x(desktop.display());
    MascotProcess mascot(desktop, iniFile(1, 5, 0, 0));
    const Standing s = standingMascot(x, mascot);
    ASSERT_NE(s.window, 0u) << mascot.log();
    ASSERT_LT(s.place.x + s.place.width, desktop.monitorWidth(0)) << "the character starts on the primary";
    fullScreenWindow(desktop, x, "300x100+" + std::to_string(desktop.monitorWidth(0) + 300) + "+300");
    const auto xmessage = x.activeWindow();
    ASSERT_TRUE(xmessage.has_value());
    ASSERT_TRUE(eventually([&] { return x.hasState(*xmessage, "_NET_WM_STATE_FULLSCREEN"); }));
    EXPECT_GE(x.geometry(*xmessage).x, desktop.monitorWidth(0)) << "full screen on the other monitor";
    EXPECT_EQ(msUntilViewable(x, s.window, false), -1);
}
