// The same checks run on each desktop people use, for tools/desktop-matrix.sh.
// The desktops are the blocks of tests/e2e/desktops.conf; the checks are the
// cells below, one step each, in the table's order. Each cell is recorded
// with what it measured, and the row of cells is written for the table in
// docs/desktops.md. A cell the list says cannot pass on a desktop still runs
// and shows what it measured, beside the reason, without failing the test.
// Disabled in the ordinary test run (it takes a minute or more per desktop);
// the script runs it with --gtest_also_run_disabled_tests.

#include "MatrixBench.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <set>
#include <sstream>

// A desktop is named by its block in the list.
void PrintTo(const DesktopRow& row, std::ostream* os) {
    *os << row.name;
}

namespace {

// The top of the bottom panel as any top-level window's strut tells it; the
// screen's bottom when no window reserves the bottom edge.
int panelTop(VirtualDesktop& desktop, int screenHeight, int screenLeft, int screenRight,
             bool workAreaIsTheMonitors) {
    const std::string struts = desktop.run(
        "for w in $(xwininfo -root -tree | grep -o '^ *0x[0-9a-f]*'); do "
        "xprop -id $w _NET_WM_STRUT_PARTIAL _NET_WM_STRUT 2>/dev/null | grep -o '= .*' | head -n 1; "
        "done");
    int top = screenHeight;
    // A window manager that draws its own toolbar may reserve the edge in
    // the work area only. The work area is one rectangle for the whole
    // screen: it tells nothing about a monitor shorter or taller than the
    // others.
    const std::string area = desktop.run("xprop -root _NET_WORKAREA");
    std::smatch m;
    if (workAreaIsTheMonitors && std::regex_search(area, m, std::regex(R"(= (\d+), (\d+), (\d+), (\d+))")) &&
        m[2].str() == "0")
        top = std::min(top, std::stoi(m[4].str()));
    std::istringstream lines(struts);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<long> v;
        static const std::regex number("\\d+");
        for (auto it = std::sregex_iterator(line.begin(), line.end(), number); it != std::sregex_iterator();
             ++it)
            v.push_back(std::stol(it->str()));
        // left, right, top, bottom, then (partial struts) where along each
        // edge: the bottom one's x range is the last pair.
        const bool onScreen = v.size() < 12 || (v[10] < screenRight && v[11] >= screenLeft);
        if (v.size() >= 4 && v[3] > 0 && onScreen)
            top = std::min(top, screenHeight - static_cast<int>(v[3]));
    }
    return top;
}

// The top of sway's bar: where the workspace, which the bar leaves out,
// ends (swaymsg); nothing of it is told to X programs.
int swaybarTop(VirtualDesktop& desktop) {
    const std::string json =
        desktop.run("SWAYSOCK=$(ls $XDG_RUNTIME_DIR/sway-ipc.*.sock) swaymsg -r -t get_workspaces");
    std::smatch m;
    if (std::regex_search(
            json, m,
            std::regex(
                R"("rect":\s*\{\s*"x":\s*\d+,\s*"y":\s*(\d+),\s*"width":\s*\d+,\s*"height":\s*(\d+))")))
        return std::stoi(m[1].str()) + std::stoi(m[2].str());
    return -1;
}

// Places to point at: over the desktop, over a window (a native Wayland one
// where the compositor has them), and on the other monitor where there is
// one; each with a name for the table.
struct Target {
    std::string name;
    int x = 0, y = 0;
};

Cell chase(Bench& b) {
    if (!b.driver.canPoint())
        return {false, "no pointer the test can move on this desktop"};
    // The top band too: the character's corner goes there even over a
    // top panel, partly above the screen.
    std::vector<Target> targets = {{"over the desktop", b.left + 600, 200}};
    // Not where the window manager keeps windows out of its top panel's
    // strip (a desktop that cannot pass the top cell says so).
    if (!b.row.notApplicable.count("top"))
        targets.push_back({"in the top band", b.left + 600, 10});
    pid_t window = 0;
    std::optional<DesktopDriver::NativeWindow> native;
    if (b.driver.canShowNativeWindow()) {
        if ((native = b.driver.showNativeWindow()))
            targets.push_back({"over a native Wayland window", native->frame.x + native->frame.width / 2,
                               native->frame.y + native->frame.height / 2});
        else
            targets.push_back({"over a native Wayland window (it did not show)", -1, -1});
    } else if (!b.wayland) {
        window =
            showXmessage(b.desktop, "400x150+" + std::to_string(b.left + 300) + "+400", "kuvito runs here");
        targets.push_back({"over an X window", b.left + 500, 470});
    }
    if (b.row.options.monitors != VirtualDesktop::Monitors::One) {
        // The other monitor, beside the primary one.
        const bool primaryRight = b.row.options.monitors == VirtualDesktop::Monitors::PrimaryRight;
        const int other = primaryRight ? 0 : 1;
        const int otherLeft = primaryRight ? 0 : b.desktop.monitorWidth(0);
        targets.push_back({"on the other monitor", otherLeft + b.desktop.monitorWidth(other) / 2,
                           b.desktop.monitorHeight(other) / 3});
    }
    Started s(b, 1, 1);
    Cell c{s.window != 0, ""};
    for (const Target& t : targets) {
        if (t.x < 0) {
            c.ok = false;
            c.measured += (c.measured.empty() ? "" : "; ") + t.name;
            continue;
        }
        b.driver.point(moveTo(t.x, t.y));
        // The character runs to the pointer: its corner comes to the point.
        XClient::Rect g{};
        const bool reached = s.window && eventually(
                                             [&] {
                                                 g = formAt(b, s.window);
                                                 return std::abs(g.x - t.x) <= 2 && std::abs(g.y - t.y) <= 2;
                                             },
                                             250);
        c.ok = c.ok && reached;
        c.measured += (c.measured.empty() ? "" : "; ") + t.name + " at " + at(t.x, t.y) + ": the character " +
                      (reached ? "reached it" : "stopped at " + at(g.x, g.y));
    }
    if (native)
        b.desktop.stopProcess(native->pid);
    b.desktop.stopProcess(window);
    return c;
}

// The shapes the window shows over a few seconds.
std::set<PixelSet> shapesShown(Bench& b, XClient::Window w) {
    std::set<PixelSet> shapes;
    sleepMs(1000);
    for (int i = 0; i < 30; ++i) {
        shapes.insert(b.x.shapePixels(w));
        sleepMs(100);
    }
    return shapes;
}

Cell face(Bench& b) {
    if (!b.driver.canPoint())
        return {false, "no pointer the test can move on this desktop"};
    Started s(b, 1, 5);
    if (!s.window)
        return {false, "no window"};
    // The character faces the pointer while it steps in place: with the
    // pointer to its right it shows frames it does not show with the
    // pointer to its left or straight below its corner (which does not
    // count as to its right), and the other way round. Its pauses show the same frames
    // either way. A desktop that shows the program a stale pointer gives
    // the same frames both times.
    const auto g = formAt(b, s.window);
    b.driver.point(moveTo(g.x + b.dev(W) + 300, g.y + b.dev(H) + 100));
    const auto towardRight = shapesShown(b, s.window);
    // Left of the corner where there is room, else straight below it: the
    // place a window manager gave the window may be a pixel or two off the
    // form's own.
    b.driver.point(moveTo(std::max(b.left, g.x - 20), g.y + b.dev(H) + 200));
    const auto towardLeft = shapesShown(b, s.window);
    int onlyRight = 0, onlyLeft = 0;
    for (const auto& shape : towardRight)
        onlyRight += towardLeft.count(shape) ? 0 : 1;
    for (const auto& shape : towardLeft)
        onlyLeft += towardRight.count(shape) ? 0 : 1;
    return {onlyRight > 0 && onlyLeft > 0, "with the pointer to the right " + std::to_string(onlyRight) +
                                               " frame(s) not shown with it at the left, and " +
                                               std::to_string(onlyLeft) + " the other way round"};
}

Cell panel(Bench& b) {
    Started s(b, 1, 3);
    int expected = b.height;
    if (b.row.panel == DesktopRow::Panel::X11)
        expected = panelTop(b.desktop, b.height, b.left, b.right, b.row.options.scales.empty());
    else if (b.row.panel == DesktopRow::Panel::Swaybar)
        expected = swaybarTop(b.desktop);
    int feet = -1, minX = 1 << 30, maxX = -(1 << 30);
    bool ok = s.window != 0;
    if (s.window) {
        eventually([&] { return formAt(b, s.window).y + b.dev(H) == expected; });
        for (int i = 0; i < 20; ++i) {
            const auto g = formAt(b, s.window);
            feet = g.y + b.dev(H);
            minX = std::min(minX, g.x);
            maxX = std::max(maxX, g.x + b.dev(W));
            ok = ok && std::abs(feet - expected) <= 1 && g.x >= b.left && g.x + b.dev(W) <= b.right;
            sleepMs(50);
        }
        b.desktop.screenshot(outDir() + "/" + b.row.name + ".png");
    }
    const std::string what = b.row.panel == DesktopRow::Panel::Screen ? "the screen's bottom " : "panel top ";
    return {ok, "feet at y " + std::to_string(feet) + ", " + what + std::to_string(expected) + ", x " +
                    std::to_string(minX) + ".." + std::to_string(maxX)};
}

// The top of the work area the window manager announces; 0 without one.
int workAreaTop(VirtualDesktop& desktop) {
    std::smatch m;
    const std::string area = desktop.run("xprop -root _NET_WORKAREA");
    return std::regex_search(area, m, std::regex(R"(= \d+, (\d+),)")) ? std::stoi(m[1].str()) : 0;
}

// Whether the character comes to stand on a top edge (device pixels).
bool standsOn(Bench& b, XClient::Window w, int top, int& feet) {
    eventually([&] { return std::abs(formAt(b, w).y + b.dev(H) - top) <= 1; });
    feet = formAt(b, w).y + b.dev(H);
    return std::abs(feet - top) <= 1;
}

Cell window(Bench& b) {
    const pid_t msg =
        showXmessage(b.desktop, "400x150+" + std::to_string(b.left + 300) + "+300", "kuvito walks here");
    Started s(b, 1, 4);
    b.driver.bringToFront(b.x, "xmessage");
    if (b.is(VirtualDesktop::Session::I3)) {
        // i3 tiles the window over the whole screen, where its top (0) is
        // too high to walk on; a floating one keeps its place.
        b.desktop.run("i3-msg '[class=\"Xmessage\"] floating enable, move position " +
                      std::to_string(b.left + 300) + " 300' >/dev/null");
        eventually([&] {
            auto front = b.x.activeWindow();
            return front && b.x.geometry(b.x.topLevel(*front)).y >= 200;
        });
    }
    Cell c;
    auto front = b.x.activeWindow();
    if (!s.window || !front) {
        b.desktop.stopProcess(msg);
        return {false, s.window ? "no active window" : "no mascot window"};
    }
    // The visible top: the window manager's frame on an X server; on GNOME
    // Shell its frame rectangle, without the invisible borders Mutter's X
    // frame window has around it; on KWin its frame, title bar included,
    // which KWin 6 draws around the X window without a window of its own.
    auto frame = b.x.geometry(b.x.topLevel(*front));
    frame = b.driver.compositorFrameOf("xmessage").value_or(frame);
    int feet = -1;
    c.ok = standsOn(b, s.window, frame.y, feet);
    c.measured = "on an X window: feet at y " + std::to_string(feet) + ", its top " + std::to_string(frame.y);
    b.desktop.stopProcess(msg);
    if (b.driver.canShowNativeWindow()) {
        const auto native = b.driver.showNativeWindow();
        const bool on = native && standsOn(b, s.window, native->frame.y, feet);
        c.ok = c.ok && on;
        c.measured += native ? "; on a native Wayland window: feet at y " + std::to_string(feet) +
                                   ", its visible top " + std::to_string(native->frame.y)
                             : "; the native Wayland window did not show";
        if (native)
            b.desktop.stopProcess(native->pid);
    }
    return c;
}

// Mode 4 on a window whose top leaves no room above it for the whole
// character: one near the screen's top and one maximised (just under a top
// panel, where there is one). The character stands on the top edge all the
// same, over the panel or partly above the screen; a top within the edge's
// slack (10 px) is no place to stand, and there it wanders. X rows walk on
// an X window, Wayland rows on a native window too.
Cell top(Bench& b) {
    // The program starts with the first window shown, as in the window
    // cell: some window managers (fluxbox) leave the focus where it was
    // when a window appears after it.
    std::optional<Started> s;
    Cell c{true, ""};
    const auto check = [&](const std::string& what, std::optional<XClient::Rect> frame) {
        std::string said = what;
        if (!frame) {
            c.ok = false;
            said += ": it did not show";
        } else if (frame->y <= 10) {
            said += ": its top " + std::to_string(frame->y) + " leaves no room, the character wanders";
        } else {
            int feet = -1;
            c.ok = standsOn(b, s->window, frame->y, feet) && c.ok;
            said += ": feet at y " + std::to_string(feet) + ", its top " + std::to_string(frame->y);
        }
        c.measured += (c.measured.empty() ? "" : "; ") + said;
    };
    for (const bool maximised : {false, true}) {
        const pid_t msg = showXmessage(b.desktop, "400x150+" + std::to_string(b.left + 300) + "+40",
                                       "kuvito walks up here");
        if (!s && !s.emplace(b, 1, 4).window) {
            b.desktop.stopProcess(msg);
            return {false, "no mascot window"};
        }
        auto front = b.driver.bringToFront(b.x, "xmessage");
        if (front && maximised) {
            if (b.is(VirtualDesktop::Session::Gnome))
                b.desktop.shellEval(
                    "global.display.focus_window.maximize(imports.gi.Meta.MaximizeFlags.BOTH)");
            else if (b.is(VirtualDesktop::Session::I3))
                b.desktop.run("i3-msg '[class=\"Xmessage\"] floating disable' >/dev/null");
            else if (b.is(VirtualDesktop::Session::Sway))
                b.driver.swaymsgFor("'[class=\"Xmessage\"] floating disable'");
            else
                b.desktop.run("wmctrl -r xmessage -b add,maximized_vert,maximized_horz");
            // The window takes its new frame: wider than it was asked for.
            eventually([&] { return b.x.geometry(b.x.topLevel(*front)).width > 600; }, 30);
        } else if (front && (b.is(VirtualDesktop::Session::I3) || b.is(VirtualDesktop::Session::Sway))) {
            const std::string float_ = "'[class=\"Xmessage\"] floating enable, move position " +
                                       std::to_string(b.left + 300) + " 40'";
            if (b.is(VirtualDesktop::Session::I3))
                b.desktop.run("i3-msg " + float_ + " >/dev/null");
            else
                b.driver.swaymsgFor(float_);
        }
        std::optional<XClient::Rect> frame;
        if (front) {
            sleepMs(500);
            frame = b.x.geometry(b.x.topLevel(*front));
            frame = b.driver.compositorFrameOf("xmessage").value_or(*frame);
        }
        check(std::string(maximised ? "on a maximised X window" : "on an X window near the top"), frame);
        b.desktop.stopProcess(msg);
        if (b.driver.canShowNativeWindow()) {
            const auto native = b.driver.showNativeWindow({40, maximised});
            check(std::string(maximised ? "on a maximised native Wayland window"
                                        : "on a native Wayland window near the top"),
                  native ? std::optional<XClient::Rect>(native->frame) : std::nullopt);
            if (native)
                b.desktop.stopProcess(native->pid);
        }
    }
    return c;
}

// The drag within one monitor: the window moves with the pointer, step for
// step, as a mouse reports small moves. Where the button stays pressed
// between runs of the pointer, the window's place is read once the press has
// been taken: xfwm4 and GNOME Shell may still move a window they have just
// placed (below their top panel, a few pixels down) some hundreds of
// milliseconds after it shows, and a place read before the press would
// count that move as the drag's.
Cell dragOnOneMonitor(Bench& b, XClient::Window w, int gx, int gy, const XClient::Rect& g) {
    std::string moves;
    for (int i = 1; i <= 50; ++i)
        moves += " " + moveTo(gx + 4 * i, gy + 3 * i) + " sleep 16";
    XClient::Rect start = g, mid;
    std::optional<XClient::Rect> held;
    std::string xSaw;
    if (b.driver.holdsButtonsBetweenRuns()) {
        b.driver.point(moveTo(gx, gy) + " sleep 200 press sleep 300");
        start = formAt(b, w);
        b.driver.point(moves + " sleep 400");
        held = formAt(b, w);
        b.driver.point("release");
        // Mutter 48 hands a client the pointer's moves with the next frame
        // it draws: the last move of a still hand waits for the release.
        sleepMs(300);
        mid = formAt(b, w);
        if (b.is(VirtualDesktop::Session::Gnome)) {
            xSaw = b.desktop.run("xdotool getmouselocation | cut -d' ' -f1,2");
            xSaw.erase(xSaw.find_last_not_of('\n') + 1);
            xSaw += "; the shell's at " +
                    b.desktop.shellEval("global.get_pointer().slice(0, 2).join(',')").value_or("?");
        }
    } else {
        // The pointer stays pressed while the window is measured, and the
        // window is measured again once the button is up: where the drag
        // leaves it is what counts.
        const pid_t pointer = b.driver.startPointer(moveTo(gx, gy) + " sleep 200 press sleep 200" + moves +
                                                    " sleep 2500 release");
        sleepMs(2000);
        held = formAt(b, w);
        // Where X programs saw the pointer end.
        xSaw = b.desktop.run("xdotool getmouselocation | cut -d' ' -f1,2");
        xSaw.erase(xSaw.find_last_not_of('\n') + 1);
        b.driver.waitForPointer(pointer);
        sleepMs(500);
        mid = formAt(b, w);
    }
    const bool ok = std::abs(mid.x - (start.x + 200)) <= 2 && std::abs(mid.y - (start.y + 150)) <= 2;
    std::string measured = "pointer moved by 200,150; window by " + at(mid.x - start.x, mid.y - start.y);
    if (held && (held->x != mid.x || held->y != mid.y))
        measured += " (by " + at(held->x - start.x, held->y - start.y) + " while the button was down)";
    if (start.x != g.x || start.y != g.y)
        measured += " (from " + at(start.x, start.y) + " at the press; " + at(g.x, g.y) + " before it)";
    if (!xSaw.empty() && b.wayland)
        measured += "; XWayland's pointer at " + xSaw + " (the drag's end: " + at(gx + 200, gy + 150) + ")";
    return {ok, measured};
}

// The drag from the primary monitor onto the other one, across the border
// where the scale may change: the character stays under the pointer.
Cell dragAcrossMonitors(Bench& b, XClient::Window w, int gx, int gy) {
    const bool primaryRight = b.row.options.monitors == VirtualDesktop::Monitors::PrimaryRight;
    const int border = b.desktop.monitorWidth(0);
    const int direction = primaryRight ? -1 : 1;
    const int endX = border + direction * 300;
    b.driver.point(moveTo(gx, gy) + " sleep 200 press sleep 200");
    std::string path;
    bool ok = true;
    // The pointer goes in small steps; the character is checked at points
    // on the way, on either side of the border.
    const std::vector<int> checks = {border - direction * 200, border + direction * 100, endX};
    int x = gx;
    for (int check : checks) {
        std::string steps;
        while ((check - x) * direction > 0) {
            x += direction * std::min(20, std::abs(check - x));
            steps += " " + moveTo(x, gy) + " sleep 10";
        }
        if (!steps.empty())
            b.driver.point(steps + " sleep 400");
        // Under the character: inside the window's shape, not just its
        // rectangle.
        const auto g = b.x.geometry(w);
        bool under = false;
        for (const auto& r : b.x.shape(w))
            under = under || (x >= g.x + r.x && x < g.x + r.x + r.width && gy >= g.y + r.y &&
                              gy < g.y + r.y + r.height);
        // The character is drawn at the scale of the monitor it is on: its
        // shape is one of the frames at that scale.
        const std::size_t monitor = x < border ? 0 : 1;
        const double scale =
            monitor < b.row.options.scales.size() ? b.row.options.scales[monitor] : b.row.options.scale;
        const bool drawnRight = frameInWindow(b.x, w).scale == scale;
        ok = ok && under && drawnRight;
        path += (path.empty() ? "" : "; ") + std::string("pointer at ") + at(x, gy) + ", window " +
                at(g.x, g.y) + " " + std::to_string(g.width) + "×" + std::to_string(g.height) +
                (under ? "" : " (not under it)") +
                (drawnRight ? "" : " (its shape is no frame of the artwork at this monitor's scale)");
    }
    b.driver.point("release");
    return {ok, "across the border at x " + std::to_string(border) + ": " + path};
}

Cell drag(Bench& b) {
    if (!b.driver.canPoint())
        return {false, "no pointer the test can move on this desktop"};
    Started s(b, 1, 5);
    if (!s.window)
        return {false, "no mascot window"};
    sleepMs(300);
    const auto g = formAt(b, s.window);
    int gx = g.x + b.dev(26), gy = g.y + b.dev(65);
    if (b.wayland) {
        // XWayland takes the X shape as the window's input region: a press
        // outside the shown frame's outline goes to what lies below. The
        // press goes on the outline, nearest the middle.
        const auto window = b.x.geometry(s.window);
        long best = -1;
        for (const auto& [px, py] : b.x.shapePixels(s.window)) {
            const int sx = window.x + px, sy = window.y + py;
            const long d2 = long(sx - g.x - 26) * (sx - g.x - 26) + long(sy - g.y - 60) * (sy - g.y - 60);
            if (best < 0 || d2 < best) {
                best = d2;
                gx = sx;
                gy = sy;
            }
        }
    }
    if (b.row.options.monitors != VirtualDesktop::Monitors::One && b.driver.holdsButtonsBetweenRuns())
        return dragAcrossMonitors(b, s.window, gx, gy);
    return dragOnOneMonitor(b, s.window, gx, gy, g);
}

Cell behind(Bench& b) {
    // With "常に手前に表示" off (temae=2) a window the user brings to the
    // front covers the character.
    Started s(b, 2, 5);
    if (!s.window)
        return {false, "no mascot window"};
    const auto g = formAt(b, s.window);
    const pid_t msg = showXmessage(b.desktop, "300x200+" + std::to_string(g.x) + "+" + std::to_string(g.y),
                                   "kuvito is behind this");
    if (b.is(VirtualDesktop::Session::I3))
        // i3 keeps tiled windows below floating ones, as the mascot's is.
        b.desktop.run("i3-msg '[class=\"Xmessage\"] floating enable, move position " + std::to_string(g.x) +
                      " " + std::to_string(g.y) + "' >/dev/null");
    const auto front = b.driver.bringToFront(b.x, "xmessage");
    sleepMs(500);
    Cell c;
    if (!front) {
        c = {false, "the covering window could not be brought to the front"};
    } else if (b.is(VirtualDesktop::Session::Gnome)) {
        // What the shell draws, bottom first.
        const std::string pids = b.driver.shellStackingPids();
        std::istringstream in(pids);
        int mascotAt = -1, windowAt = -1, i = 0;
        for (int pid; in >> pid; ++i) {
            if (pid == s.mascot.pid())
                mascotAt = i;
            if (pid == msg)
                windowAt = i;
        }
        c.ok = mascotAt >= 0 && windowAt > mascotAt;
        c.measured = "GNOME Shell stacks the character " + std::string(mascotAt < 0 ? "nowhere"
                                                                       : c.ok ? "below the window in front"
                                                                              : "above the window in front");
    } else {
        const bool overrideRedirect = b.x.isOverrideRedirect(s.window);
        const auto order = b.x.stackingOrder();
        const auto mine = std::find(order.begin(), order.end(), b.x.topLevel(s.window));
        const auto theirs = std::find(order.begin(), order.end(), b.x.topLevel(*front));
        c.ok =
            !(overrideRedirect && b.wayland) && mine != order.end() && theirs != order.end() && mine < theirs;
        c.measured = std::string(mine < theirs ? "stacked below" : "stacked above") + " the window in front" +
                     (overrideRedirect ? ", override-redirect" : ", managed");
        if (overrideRedirect && b.wayland)
            c.measured += " (the compositor draws an override-redirect window above every other)";
    }
    b.desktop.stopProcess(msg);
    return c;
}

// A desktop pet never takes the keyboard from the window the user types in:
// after the program starts (and its notices are closed), in the modes that
// move by the pointer and by the front window, the X input focus stays with
// that window the whole time, sampled for two seconds.
Cell focus(Bench& b) {
    const pid_t msg =
        showXmessage(b.desktop, "400x150+" + std::to_string(b.left + 300) + "+300", "the user types here");
    const auto front = b.driver.bringToFront(b.x, "xmessage");
    const XClient::Window typed = front ? b.x.inputFocus() : 0;
    Cell c{typed != 0, typed ? "" : "the user's window did not take the keyboard"};
    for (int mode : {1, 4}) {
        if (!c.ok)
            break;
        Started s(b, 1, mode);
        if (!s.window) {
            c = {false, "no mascot window"};
            break;
        }
        std::set<XClient::Window> own;
        for (auto w : b.x.windowsOfPid(s.mascot.pid()))
            own.insert(b.x.topLevel(w));
        int taken = 0, elsewhere = 0;
        for (int i = 0; i < 20; ++i) {
            sleepMs(100);
            const XClient::Window now = b.x.inputFocus();
            if (now && own.count(b.x.topLevel(now)))
                ++taken;
            else if (now != typed && b.x.topLevel(now) != b.x.topLevel(typed))
                ++elsewhere;
        }
        c.ok = taken == 0 && elsewhere == 0;
        c.measured += std::string(c.measured.empty() ? "" : "; ") + "mode " + std::to_string(mode) +
                      ": the character had the keyboard in " + std::to_string(taken) + " of 20 samples" +
                      (elsewhere ? ", another window in " + std::to_string(elsewhere) : "");
    }
    b.desktop.stopProcess(msg);
    return c;
}

Cell workspace(Bench& b) {
    Started s(b, 1, 5);
    if (!s.window)
        return {false, "no mascot window"};
    sleepMs(500);
    const auto before = formAt(b, s.window);
    if (!b.driver.switchWorkspace(1))
        return {false, "the desktop did not switch to its second workspace"};
    sleepMs(1000);
    const bool gnome = b.is(VirtualDesktop::Session::Gnome);
    const bool shown = gnome ? b.driver.shellShowsWindowOf(s.mascot.pid()) : b.x.isViewable(s.window);
    const auto after = formAt(b, s.window);
    // xfwm4 places a window that shows on the new workspace again, clear of
    // its top panel: the character is there, its window moved by the window
    // manager from the panel's strip to the work area's top.
    const int areaTop = workAreaTop(b.desktop);
    const bool inPlace =
        (std::abs(after.x - before.x) <= 2 && std::abs(after.y - before.y) <= 2) ||
        (std::abs(after.x - before.x) <= 2 && before.y < areaTop && b.x.geometry(s.window).y == areaTop);
    b.driver.switchWorkspace(0);
    return {shown && inPlace,
            std::string("on the second workspace the character is ") + (shown ? "shown" : "not shown") +
                (gnome ? " (as GNOME Shell draws it)" : "") + ", at " + at(after.x, after.y) + " (before: " +
                at(before.x, before.y) + "; the work area's top: " + std::to_string(areaTop) + ")"};
}

// The table's columns, in order.
struct MatrixCell {
    const char* id; // as tests/e2e/desktops.conf names it
    const char* heading;
    Cell (*run)(Bench&);
};

const std::vector<MatrixCell>& matrixCells() {
    static const std::vector<MatrixCell> cells = {
        {"shaped", "shaped, no taskbar button", shaped},
        {"tray", "tray menu: 設定 opens, 終了 ends", tray},
        {"chase", "mode 1 reaches the pointer", chase},
        {"face", "mode 5 faces the pointer", face},
        {"panel", "mode 3 on the panel", panel},
        {"window", "mode 4 on the front window", window},
        {"top", "mode 4 on a window at the top, and on a maximised one", top},
        {"drag", "drag follows the pointer", drag},
        {"behind", "temae=2: a window in front covers it", behind},
        {"workspace", "there after a workspace switch", workspace},
        {"focus", "the user's window keeps the keyboard", focus},
        {"fullscreen", "mode 5: a full-screen window in front hides it", fullscreen},
    };
    return cells;
}

std::vector<std::string> cellIds() {
    std::vector<std::string> ids;
    for (const auto& cell : matrixCells())
        ids.push_back(cell.id);
    return ids;
}

std::vector<DesktopRow> matrixDesktops() {
    return readDesktopList(readFile(KUVITO_DESKTOP_LIST), cellIds());
}

class Matrix : public ::testing::TestWithParam<DesktopRow> {};

TEST_P(Matrix, DISABLED_Smoke) {
    const DesktopRow& row = GetParam();
    if (row.pointer == DesktopRow::Pointer::WlPointer && std::string(KUVITO_WLPOINTER).empty())
        GTEST_SKIP() << "built without the Wayland client library: no virtual pointer for " << row.name;
    VirtualDesktop desktop(row.options);
    XClient x(desktop.display());
    DesktopDriver driver(desktop, row);
    const bool primaryRight = row.options.monitors == VirtualDesktop::Monitors::PrimaryRight;
    Bench b{row, desktop, x, driver};
    b.left = primaryRight ? desktop.monitorWidth(0) : 0;
    b.right = b.left + desktop.monitorWidth(primaryRight ? 1 : 0);
    b.height = desktop.monitorHeight(primaryRight ? 1 : 0);
    b.wayland = desktop.asUser();
    std::filesystem::create_directories(outDir());

    std::string line = "| " + row.title + " |";
    // KUVITO_MATRIX_CELLS=top,fullscreen runs those cells only, for looking
    // into one; the row then says so in the others.
    const char* only = std::getenv("KUVITO_MATRIX_CELLS");
    for (const MatrixCell& cell : matrixCells()) {
        if (only &&
            ("," + std::string(only) + ",").find("," + std::string(cell.id) + ",") == std::string::npos) {
            line += " not run |";
            continue;
        }
        SCOPED_TRACE(cell.id);
        Cell c;
        try {
            c = cell.run(b);
        } catch (const std::exception& e) {
            c = {false, std::string("the check stopped: ") + e.what()};
        }
        const auto reason = row.notApplicable.find(cell.id);
        std::string text = std::string(c.ok ? "ok" : "**FAIL**") + ": " + c.measured;
        if (reason != row.notApplicable.end())
            text = std::string(c.ok ? "ok" : "cannot pass") + ": " + reason->second +
                   " (measured: " + c.measured + ")";
        else
            EXPECT_TRUE(c.ok) << cell.id << ": " << c.measured;
        std::cout << "[ cell     ] " << row.name << " " << cell.id << ": " << text << std::endl;
        line += " " + text + " |";
    }
    std::ofstream(outDir() + "/" + row.name + ".row") << line << "\n";
    std::ofstream header(outDir() + "/header.row");
    header << "| desktop |";
    for (const MatrixCell& cell : matrixCells())
        header << " " << cell.heading << " |";
    header << "\n|---|";
    for (std::size_t i = 0; i < matrixCells().size(); ++i)
        header << "---|";
    header << "\n";
}

INSTANTIATE_TEST_SUITE_P(Desktops, Matrix, ::testing::ValuesIn(matrixDesktops()),
                         [](const auto& test) { return test.param.name; });

// The list is read strictly: a desktop the test cannot start, or a word it
// does not know, stops the run instead of running some other desktop.
TEST(DesktopList, RefusesWhatItCannotRun) {
    const std::vector<std::pair<const char*, const char*>> bad = {
        {"unknown session", "[a]\nsession = plasma\n"},
        {"no session", "[a]\ntitle = A\n"},
        {"no session, before the next desktop", "[a]\ntitle = A\n[b]\nsession = i3\n"},
        {"unknown key", "[a]\nsession = i3\ncolour = green\n"},
        {"unknown cell", "[a]\nsession = i3\nnot.dance = no\n"},
        {"a scale per monitor", "[a]\nsession = openbox\nmonitors = primary-left\nscales = 2\n"},
        {"no scale", "[a]\nsession = openbox\nscale = big\n"},
        {"a scale out of range", "[a]\nsession = openbox\nscale = 0\n"},
        {"twice", "[a]\nsession = i3\n[a]\nsession = i3\n"},
        {"a release the matrix cannot run", "[a]\nsession = i3\nrelease = 11\n"},
        {"a key outside a desktop", "session = i3\n"},
    };
    for (const auto& [what, text] : bad)
        EXPECT_THROW(readDesktopList(text, cellIds()), std::runtime_error) << what;
    const auto rows = readDesktopList("[a]\nsession = i3\nnot.drag = why\nquick = yes\n", cellIds());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].options.session, VirtualDesktop::Session::I3);
    EXPECT_EQ(rows[0].notApplicable.at("drag"), "why");
    EXPECT_TRUE(rows[0].quick);
}

} // namespace
