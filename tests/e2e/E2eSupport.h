#pragma once

#include "MascotProcess.h"
#include "VirtualDesktop.h"
#include "XClient.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>

using PixelSet = std::set<std::pair<int, int>>;

// The figure pixels of each frame, read from the checked-in artwork: what the
// window's shape must be when that frame shows.
inline const std::array<PixelSet, 6>& frameOutlines() {
    static const std::array<PixelSet, 6> outlines = [] {
        std::array<PixelSet, 6> out;
        for (int i = 0; i < 6; ++i) {
            std::ifstream f(std::string(KUVITO_ART_DIR) + "/Rgn" + std::to_string(i + 1) + ".bmp",
                            std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(f)), {});
            if (bytes.size() < 54 + 160 * 87)
                continue;
            auto px = [&](int x, int y) {
                size_t at = 54 + static_cast<size_t>(86 - y) * 160 + static_cast<size_t>(x) * 3;
                return bytes.substr(at, 3);
            };
            std::string key = px(0, 86);
            for (int y = 0; y < 87; ++y)
                for (int x = 0; x < 53; ++x)
                    if (px(x, y) != key)
                        out[i].insert({x, y});
        }
        return out;
    }();
    return outlines;
}

// Which frame (1..6) the window's shape shows (0 for none), and where the
// window's corner lies in the program's form, in the window's pixels: the
// mascot's own X window covers only the area its outlines lie in, while a
// window Qt shows is the form. On a scaled monitor the outline is the
// frame's with each edge scaled from the form's corner and rounded.
struct FrameInWindow {
    int frame = 0;
    int dx = 0, dy = 0;
    double scale = 0; // the scale the outline matched at
};

inline std::pair<int, int> topLeftOf(const PixelSet& pixels) {
    std::pair<int, int> corner = pixels.empty() ? std::pair<int, int>() : *pixels.begin();
    for (const auto& [px, py] : pixels)
        corner = {std::min(corner.first, px), std::min(corner.second, py)};
    return corner;
}

inline PixelSet scaledPixels(const PixelSet& pixels, double scale) {
    if (scale == 1)
        return pixels;
    const auto edge = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
    PixelSet out;
    for (const auto& [px, py] : pixels)
        for (int y = edge(py); y < edge(py + 1); ++y)
            for (int x = edge(px); x < edge(px + 1); ++x)
                out.insert({x, y});
    return out;
}

inline FrameInWindow frameInWindow(XClient& x, XClient::Window w) {
    const PixelSet shape = x.shapePixels(w);
    const auto [sx, sy] = topLeftOf(shape);
    for (double scale : {1.0, 1.5, 2.0}) {
        for (int i = 0; i < 6; ++i) {
            const PixelSet& plain = frameOutlines()[i];
            // Far too few or too many pixels for this scale: not worth
            // scaling.
            if (plain.empty() || std::abs(double(plain.size()) * scale * scale - double(shape.size())) >
                                     double(plain.size()) * scale * 2)
                continue;
            const PixelSet outline = scaledPixels(plain, scale);
            if (outline.size() != shape.size())
                continue;
            const auto [ox, oy] = topLeftOf(outline);
            PixelSet moved;
            for (const auto& [px, py] : outline)
                moved.insert({px - ox + sx, py - oy + sy});
            if (shape == moved)
                return {i + 1, ox - sx, oy - sy, scale};
        }
    }
    return {};
}

inline int shownFrame(XClient& x, XClient::Window w) {
    return frameInWindow(x, w).frame;
}

// The program's form as the window shows it: its corner (the window's corner
// less where that lies in the form) and the window's size. Read until the
// shape is the same before and after the window's place, since a frame
// switch changes both.
inline XClient::Rect formRect(XClient& x, XClient::Window w) {
    XClient::Rect g{};
    for (int attempt = 0; attempt < 10; ++attempt) {
        const FrameInWindow before = frameInWindow(x, w);
        g = x.geometry(w);
        const FrameInWindow after = frameInWindow(x, w);
        if (before.frame == after.frame && before.dx == after.dx && before.dy == after.dy) {
            g.x -= after.dx;
            g.y -= after.dy;
            return g;
        }
    }
    return g;
}

inline void sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Polls until the condition holds or the time is up; returns the last result.
inline bool eventually(const std::function<bool()>& condition, int tenthsOfSeconds = 50) {
    for (int i = 0; i < tenthsOfSeconds; ++i) {
        if (condition())
            return true;
        sleepMs(100);
    }
    return condition();
}

// Milliseconds from start (by default, now) until the window is (or is not)
// viewable, within three seconds; -1 when it never was.
inline long msUntilViewable(XClient& x, XClient::Window w, bool viewable,
                            std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now()) {
    for (long ms = 0; ms < 3000;
         ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                  .count()) {
        if (x.isViewable(w) == viewable)
            return ms;
        sleepMs(10);
    }
    return -1;
}

// An xmessage window at the given X geometry ("WxH+X+Y"), once it shows:
// a window for the mascot to walk on.
inline pid_t showXmessage(VirtualDesktop& desktop, const std::string& geometry, const std::string& text) {
    const pid_t pid = desktop.spawn({"xmessage", "-geometry", geometry, text});
    eventually([&] { return !desktop.run("xdotool search --onlyvisible --name xmessage").empty(); });
    return pid;
}

// Activates the shown window of that name as a pager would and waits, within
// a deadline, until it is the active window; its id, or nothing. xdotool's
// own "windowactivate --sync" waits without end when the window manager
// drops the request, as it does for a window found before it was mapped.
inline std::optional<XClient::Window> activateWindow(VirtualDesktop& desktop, XClient& x,
                                                     const std::string& name) {
    auto isIt = [&](std::optional<XClient::Window> w) { return w && x.name(*w) == name; };
    const bool active = eventually([&] {
        desktop.run("xdotool search --onlyvisible --name '^" + name + "$' windowactivate 2>/dev/null");
        return isIt(x.activeWindow());
    });
    return active ? x.activeWindow() : std::nullopt;
}

inline std::string artifactPath(const std::string& step) {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    return std::string(KUVITO_ARTIFACTS) + "/" + info->test_suite_name() + "." + info->name() + "/" + step +
           ".png";
}

inline std::string iniFile(int temae, int idou, int speed, int idour) {
    return "[kuvito]\r\nspeed=" + std::to_string(speed) + "\r\nidour=" + std::to_string(idour) +
           "\r\ntemae=" + std::to_string(temae) + "\r\nidou=" + std::to_string(idou) + "\r\n";
}

inline std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), {});
}

// A window of the program with the given title, viewable, or 0.
inline XClient::Window findWindow(XClient& x, MascotProcess& mascot, const std::string& title) {
    for (auto w : x.windowsOfPid(mascot.pid()))
        if (x.isViewable(w) && x.name(w) == title)
            return w;
    return 0;
}

// Clicks the tray icon with the given button and waits a little for the
// menu or the effect.
inline void clickTrayIcon(VirtualDesktop& desktop, XClient& x, MascotProcess& mascot, int button) {
    auto icons = mascot.trayIcons(x);
    ASSERT_FALSE(icons.empty()) << "no tray icon";
    auto g = x.geometry(icons.front());
    desktop.run("xdotool mousemove " + std::to_string(g.x + g.width / 2) + " " +
                std::to_string(g.y + g.height / 2) + " click " + std::to_string(button));
    sleepMs(400);
}

// Output a healthy run must not contain.
inline void expectCleanLog(const std::string& log) {
    for (const char* bad : {"X Error", "QWidget", "QObject", "QPainter", "Warning", "warning", "qt.qpa"})
        EXPECT_EQ(log.find(bad), std::string::npos) << "program output:\n" << log;
}
