// The matrix's full-screen cell: a window in front made full screen on the
// character's monitor sends the character out of the way, and it comes back
// where it was once the window is full screen no more.

#include "MatrixBench.h"

#include <chrono>

namespace {

// The character hides within this much of the window going full screen,
// and shows again within as much of it leaving full screen.
constexpr long kWithinMs = 1000;

// One window made full screen and back: whether the character hid and came
// back in time, at its place, and what was measured.
Cell hidesFor(Bench& b, XClient::Window mascot, const XClient::Rect& place, const std::string& title,
              bool native, const std::string& what) {
    // Timed from the request: asking some compositors takes a moment, and
    // the character may be gone before the call returns.
    auto asked = std::chrono::steady_clock::now();
    b.driver.setFullScreen(title, native, true);
    const long hidden = msUntilViewable(b.x, mascot, false, asked);
    asked = std::chrono::steady_clock::now();
    b.driver.setFullScreen(title, native, false);
    const long back = hidden >= 0 ? msUntilViewable(b.x, mascot, true, asked) : -1;
    // The window manager's placing of the window it takes on again, and
    // the program's answer to it, take a moment.
    if (back >= 0)
        sleepMs(300);
    const XClient::Rect now = back >= 0 ? formAt(b, mascot) : XClient::Rect{};
    // A window manager that keeps windows out of its top panel's strip (a
    // desktop that cannot pass the top cell) may put the character back
    // just below it when it shows again.
    const bool belowTopStrip = b.row.notApplicable.count("top") && now.y > place.y;
    const bool inPlace = back >= 0 && now.x == place.x && (now.y == place.y || belowTopStrip);
    Cell c{hidden >= 0 && hidden <= kWithinMs && back >= 0 && back <= kWithinMs && inPlace, what + ": "};
    if (hidden < 0)
        return {false, c.measured + "still shown over it after 3 s"};
    c.measured += "hidden after " + std::to_string(hidden) + " ms, ";
    if (back < 0)
        return {false, c.measured + "not back 3 s after it left full screen"};
    c.measured += "back after " + std::to_string(back) + " ms at " + at(now.x, now.y);
    if (now.x != place.x || now.y != place.y)
        c.measured += " (it was at " + at(place.x, place.y) +
                      (belowTopStrip ? ", in the strip the window manager keeps windows out of)" : ")");
    return c;
}

} // namespace

Cell fullscreen(Bench& b) {
    // Mode 5 steps in place: the character stays where it starts.
    Started s(b, 1, 5);
    if (!s.window)
        return {false, "no mascot window"};
    sleepMs(300); // the window manager's placing, if any, is over
    const XClient::Rect place = formAt(b, s.window);
    // The window goes on the monitor the character is on.
    const int monitorLeft =
        b.row.options.monitors != VirtualDesktop::Monitors::One && place.x >= b.desktop.monitorWidth(0)
            ? b.desktop.monitorWidth(0)
            : 0;
    const pid_t msg =
        showXmessage(b.desktop, "300x100+" + std::to_string(monitorLeft + 300) + "+300", "full");
    Cell c;
    if (!b.driver.bringToFront(b.x, "xmessage"))
        c = {false, "the X window could not be brought to the front"};
    else
        c = hidesFor(b, s.window, place, "xmessage", false, "an X window");
    b.desktop.stopProcess(msg);
    if (b.driver.canShowNativeWindow()) {
        const auto native = b.driver.showNativeWindow();
        Cell n{false, "the native Wayland window did not show"};
        if (native)
            n = hidesFor(b, s.window, place, DesktopDriver::kNativeTitle, true, "a native Wayland window");
        c.ok = c.ok && n.ok;
        c.measured += "; " + n.measured;
        if (native)
            b.desktop.stopProcess(native->pid);
    }
    return c;
}
