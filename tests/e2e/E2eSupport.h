#pragma once

#include "MascotProcess.h"
#include "VirtualDesktop.h"
#include "XClient.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <fstream>
#include <functional>
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

// Which frame (1..6) the window's shape shows, or 0 for none.
inline int shownFrame(XClient& x, XClient::Window w) {
    PixelSet shape = x.shapePixels(w);
    for (int i = 0; i < 6; ++i)
        if (!frameOutlines()[i].empty() && shape == frameOutlines()[i])
            return i + 1;
    return 0;
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
