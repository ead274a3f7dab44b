// The character steps aside while the active window is full screen on its
// monitor, as the window manager states it (_NET_WM_STATE_FULLSCREEN).

#include "E2eSupport.h"

#include <cstdio>

namespace {

struct Case {
    const char* what;
    VirtualDesktop::Monitors monitors;
    std::string ini;
    int xmessageLeft; // on the second monitor from 1024 on
    bool hides;
};

class FullScreen : public testing::TestWithParam<Case> {};

TEST_P(FullScreen, HidesOnlyForItsOwnMonitorAndComesBackWhereItWas) {
    const Case& c = GetParam();
    VirtualDesktop desktop(VirtualDesktop::Options{.monitors = c.monitors});
    XClient x(desktop.display());
    // Mode 5 steps in place: the character stays where it starts.
    MascotProcess mascot(desktop, iniFile(1, 5, 0, 0) + c.ini);
    const XClient::Window w = mascot.waitForWindow(x);
    ASSERT_NE(w, 0u) << mascot.log();
    sleepMs(300); // the window manager's placing, if any, is over
    const XClient::Rect place = formRect(x, w);
    const pid_t other = showXmessage(desktop, "300x100+" + std::to_string(c.xmessageLeft) + "+300", "full");
    ASSERT_TRUE(activateWindow(desktop, x, "xmessage").has_value());
    desktop.run("wmctrl -r xmessage -b add,fullscreen");
    const long hidden = msUntilViewable(x, w, false);
    if (!c.hides) {
        EXPECT_EQ(hidden, -1) << "hidden, though it should not be";
        const std::optional<XClient::Window> front = x.activeWindow();
        ASSERT_TRUE(front.has_value());
        EXPECT_TRUE(x.hasState(*front, "_NET_WM_STATE_FULLSCREEN"));
        EXPECT_EQ(x.geometry(*front).x, c.xmessageLeft / 1024 * 1024)
            << "full screen on the monitor it was on";
        return;
    }
    ASSERT_GE(hidden, 0) << "still shown over the full-screen window";
    EXPECT_LE(hidden, 1000);
    desktop.run("wmctrl -r xmessage -b remove,fullscreen");
    const long back = msUntilViewable(x, w, true);
    EXPECT_LE(back, 1000) << "-1: never came back";
    EXPECT_EQ(formRect(x, w).x, place.x);
    EXPECT_EQ(formRect(x, w).y, place.y);
    std::printf("full screen: hidden after %ld ms, back after %ld ms\n", hidden, back);
    // A full-screen window that closes lets it back too.
    desktop.run("wmctrl -r xmessage -b add,fullscreen");
    ASSERT_GE(msUntilViewable(x, w, false), 0);
    desktop.stopProcess(other);
    EXPECT_GE(msUntilViewable(x, w, true), 0) << "the full-screen window closed";
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, FullScreen,
    testing::Values(Case{"ItsMonitor", VirtualDesktop::Monitors::One, "", 400, true},
                    Case{"SwitchedOff", VirtualDesktop::Monitors::One, "zengamen=2\r\n", 400, false},
                    Case{"TheOtherMonitor", VirtualDesktop::Monitors::PrimaryLeft, "", 1324, false}),
    [](const testing::TestParamInfo<Case>& row) { return std::string(row.param.what); });

} // namespace
