// The same smoke run on each desktop people use, for tools/desktop-matrix.sh:
// the mascot appears shaped and without a taskbar button, the tray menu opens
// the settings and "終了" ends the program, mode 3 stands on the panel, mode 4
// on the front window's top edge, and a drag follows the pointer. Each check
// is recorded with what was measured, as one row of the desktop table.
// Disabled in the ordinary test run (it takes a minute per desktop); the
// script runs it with --gtest_also_run_disabled_tests.

#include "E2eSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

constexpr int W = 53, H = 87;

struct MatrixDesktop {
    const char* name;  // also the file names of its results
    const char* title; // as the table shows it
    VirtualDesktop::Options options;
};

std::string outDir() {
    const char* dir = std::getenv("KUVITO_MATRIX_OUT");
    return dir ? dir : std::string(KUVITO_ARTIFACTS) + "/desktop-matrix";
}

// One table cell: "ok" or "FAIL", then what was measured.
struct Cell {
    bool ok = false;
    std::string measured;
    std::string text() const { return std::string(ok ? "ok" : "**FAIL**") + ": " + measured; }
};

// The program's small embedded windows (its tray icon), wherever the panel is.
std::vector<XClient::Window> trayIconWindows(XClient& x, MascotProcess& mascot,
                                             XClient::Window mascotWindow) {
    std::vector<XClient::Window> out;
    for (auto w : x.windowsOfPid(mascot.pid())) {
        if (w == mascotWindow || !x.isViewable(w))
            continue;
        const auto g = x.geometry(w);
        if (g.width <= 64 && g.height <= 64 && g.width > 0)
            out.push_back(w);
    }
    return out;
}

// The top of the bottom panel as any top-level window's strut tells it; the
// screen's bottom when no window reserves the bottom edge.
int panelTop(VirtualDesktop& desktop, int screenHeight, int screenLeft, int screenRight) {
    const std::string struts = desktop.run(
        "for w in $(xwininfo -root -tree | grep -o '^ *0x[0-9a-f]*'); do "
        "xprop -id $w _NET_WM_STRUT_PARTIAL _NET_WM_STRUT 2>/dev/null | grep -o '= .*' | head -n 1; "
        "done");
    int top = screenHeight;
    // A window manager that draws its own toolbar may reserve the edge in
    // the work area only.
    const std::string area = desktop.run("xprop -root _NET_WORKAREA");
    std::smatch m;
    if (std::regex_search(area, m, std::regex(R"(= (\d+), (\d+), (\d+), (\d+))")) && m[2].str() == "0")
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

class Matrix : public ::testing::TestWithParam<MatrixDesktop> {};

TEST_P(Matrix, DISABLED_Smoke) {
    const MatrixDesktop& d = GetParam();
    const double scale = d.options.scale;
    auto dev = [&](int logical) { return static_cast<int>(logical * scale + 0.5); };
    const int left = d.options.monitors == VirtualDesktop::Monitors::PrimaryRight ? d.options.width : 0;
    const int right = left + d.options.width;
    VirtualDesktop desktop(d.options);
    XClient x(desktop.display());
    std::vector<std::string> row = {d.title};
    std::filesystem::create_directories(outDir());

    // 1. Shaped, no taskbar button.
    {
        MascotProcess mascot(desktop, iniFile(1, 5, 0, 0));
        auto w = mascot.waitForWindow(x);
        Cell c;
        if (w) {
            const int frame = scale == 1 ? shownFrame(x, w) : -1;
            const bool skip = x.hasState(w, "_NET_WM_STATE_SKIP_TASKBAR");
            const auto g = formRect(x, w);
            c.ok = frame != 0 && skip;
            c.measured = std::string(frame > 0   ? "shape = frame " + std::to_string(frame)
                                     : frame < 0 ? "shaped (scaled)"
                                                 : "shape matches no frame") +
                         (skip ? ", skip-taskbar" : ", has a taskbar button") + ", at " +
                         std::to_string(g.x) + "," + std::to_string(g.y);
        } else {
            c.measured = "no window";
        }
        row.push_back(c.text());
        EXPECT_TRUE(c.ok) << c.measured;

        // 2. The tray menu: settings, then 終了.
        Cell t;
        if (d.options.session == VirtualDesktop::Session::Xfce) {
            // The panel draws the menu itself; its items are reached over D-Bus
            // as the panel reaches them.
            const std::string items = desktop.run(
                "gdbus call --session -d org.kde.StatusNotifierWatcher -o /StatusNotifierWatcher -m "
                "org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher "
                "RegisteredStatusNotifierItems");
            std::smatch m;
            std::string item;
            if (std::regex_search(items, m, std::regex("'(:[0-9.]+)")))
                item = m[1].str();
            const std::string layout =
                item.empty() ? ""
                             : desktop.run("gdbus call --session -d " + item +
                                           " -o /MenuBar -m com.canonical.dbusmenu.GetLayout -- 0 1 '[]'");
            std::vector<std::string> ids;
            static const std::regex entry(R"(<\((\d+), )");
            for (auto it = std::sregex_iterator(layout.begin(), layout.end(), entry);
                 it != std::sregex_iterator(); ++it)
                ids.push_back((*it)[1].str());
            if (ids.size() == 4) {
                desktop.run("gdbus call --session -d " + item +
                            " -o /MenuBar -m com.canonical.dbusmenu.Event -- " + ids[0] + " clicked '<0>' 0");
                XClient::Window dialog = 0;
                const bool opened = eventually(
                    [&] { return (dialog = findWindow(x, mascot, "走れクヴィトくんの設定")) != 0; });
                if (opened) {
                    desktop.screenshot(outDir() + "/" + d.name + "-settings.png");
                    desktop.run("xdotool key --window " + std::to_string(dialog) + " Escape");
                    eventually([&] { return findWindow(x, mascot, "走れクヴィトくんの設定") == 0; });
                }
                desktop.run("gdbus call --session -d " + item +
                            " -o /MenuBar -m com.canonical.dbusmenu.Event -- " + ids[3] + " clicked '<0>' 0");
                const bool ended = mascot.waitForExit(50);
                t.ok = opened && ended;
                t.measured = std::string("StatusNotifierItem menu of 4 items; 設定 ") +
                             (opened ? "opened" : "did not open") + ", 終了 " +
                             (ended ? "ended the program" : "did not end it");
            } else {
                t.measured = "no exported menu (" + std::to_string(ids.size()) + " items)";
            }
        } else {
            std::vector<XClient::Window> icons;
            eventually([&] { return !(icons = trayIconWindows(x, mascot, w)).empty(); });
            if (!icons.empty()) {
                const auto g = x.geometry(icons.front());
                const std::string at =
                    std::to_string(g.x + g.width / 2) + " " + std::to_string(g.y + g.height / 2);
                desktop.run("xdotool mousemove " + at + " click 3");
                sleepMs(500);
                desktop.screenshot(outDir() + "/" + d.name + "-menu.png");
                desktop.run("xdotool key Down Return");
                XClient::Window dialog = 0;
                const bool opened = eventually(
                    [&] { return (dialog = findWindow(x, mascot, "走れクヴィトくんの設定")) != 0; });
                if (opened) {
                    sleepMs(300);
                    desktop.screenshot(outDir() + "/" + d.name + "-settings.png");
                    desktop.run("xdotool key --window " + std::to_string(dialog) + " Escape");
                    eventually([&] { return findWindow(x, mascot, "走れクヴィトくんの設定") == 0; });
                }
                // Keys typed before the menu has opened are lost on a busy
                // machine: a few tries.
                bool ended = false;
                for (int attempt = 0; attempt < 3 && !ended; ++attempt) {
                    desktop.run("xdotool mousemove " + at + " click 3");
                    sleepMs(1000);
                    desktop.run("xdotool key Down Down Down Return");
                    ended = mascot.waitForExit(30);
                }
                t.ok = opened && ended;
                t.measured = "icon at " + std::to_string(g.x) + "," + std::to_string(g.y) + "; 設定 " +
                             (opened ? "opened" : "did not open") + ", 終了 " +
                             (ended ? "ended the program" : "did not end it");
            } else {
                t.measured = "no tray icon";
            }
        }
        row.push_back(t.text());
        EXPECT_TRUE(t.ok) << t.measured;
    }

    // 3. Mode 3 stands on the primary monitor's bottom panel.
    {
        MascotProcess mascot(desktop, iniFile(1, 3, 0, 0));
        auto w = mascot.waitForWindow(x);
        const int expected = panelTop(desktop, d.options.height, left, right);
        Cell c;
        int feet = -1, minX = 1 << 30, maxX = -(1 << 30);
        if (w) {
            eventually([&] { return formRect(x, w).y + dev(H) == expected; });
            c.ok = true;
            for (int i = 0; i < 20; ++i) {
                const auto g = formRect(x, w);
                feet = g.y + dev(H);
                minX = std::min(minX, g.x);
                maxX = std::max(maxX, g.x + dev(W));
                c.ok = c.ok && std::abs(feet - expected) <= 1 && g.x >= left && g.x + dev(W) <= right;
                sleepMs(50);
            }
            desktop.screenshot(outDir() + "/" + d.name + ".png");
        }
        c.measured = "feet at y " + std::to_string(feet) + ", panel top " + std::to_string(expected) +
                     ", x " + std::to_string(minX) + ".." + std::to_string(maxX);
        row.push_back(c.text());
        EXPECT_TRUE(c.ok) << c.measured;
    }

    // 4. Mode 4 stands on the front window's top edge.
    {
        pid_t msg = desktop.spawn(
            {"xmessage", "-geometry", "400x150+" + std::to_string(left + 300) + "+300", "kuvito walks here"});
        eventually([&] { return !desktop.run("xdotool search --name xmessage").empty(); });
        MascotProcess mascot(desktop, iniFile(1, 4, 0, 0));
        auto w = mascot.waitForWindow(x);
        activateWindow(desktop, x, "xmessage");
        if (d.options.session == VirtualDesktop::Session::I3) {
            // i3 tiles the window over the whole screen, where its top (0)
            // is too high to walk on; a floating one keeps its place.
            desktop.run("i3-msg '[class=\"Xmessage\"] floating enable, move position " +
                        std::to_string(left + 300) + " 300' >/dev/null");
            eventually([&] {
                auto front = x.activeWindow();
                return front && x.geometry(x.topLevel(*front)).y >= 200;
            });
        }
        Cell c;
        auto front = x.activeWindow();
        if (w && front) {
            const auto frame = x.geometry(x.topLevel(*front));
            eventually([&] { return std::abs(formRect(x, w).y + dev(H) - frame.y) <= 1; });
            const int feet = formRect(x, w).y + dev(H);
            c.ok = std::abs(feet - frame.y) <= 1;
            c.measured = "feet at y " + std::to_string(feet) + ", window top " + std::to_string(frame.y);
        } else {
            c.measured = w ? "no active window" : "no mascot window";
        }
        row.push_back(c.text());
        EXPECT_TRUE(c.ok) << c.measured;
        desktop.stopProcess(msg);
    }

    // 5. A drag follows the pointer.
    {
        MascotProcess mascot(desktop, iniFile(1, 5, 0, 0));
        auto w = mascot.waitForWindow(x);
        Cell c;
        if (w) {
            sleepMs(300);
            const auto g = formRect(x, w);
            const int gx = g.x + dev(26), gy = g.y + dev(65);
            desktop.run("xdotool mousemove " + std::to_string(gx) + " " + std::to_string(gy) +
                        " mousedown 1");
            sleepMs(200);
            for (int i = 1; i <= 10; ++i) {
                desktop.run("xdotool mousemove " + std::to_string(gx + 20 * i) + " " +
                            std::to_string(gy + 15 * i));
                sleepMs(40);
            }
            sleepMs(200);
            const auto mid = formRect(x, w);
            desktop.run("xdotool mouseup 1");
            c.ok = std::abs(mid.x - (g.x + 200)) <= 2 && std::abs(mid.y - (g.y + 150)) <= 2;
            c.measured = "pointer moved by 200,150; window by " + std::to_string(mid.x - g.x) + "," +
                         std::to_string(mid.y - g.y);
        } else {
            c.measured = "no mascot window";
        }
        row.push_back(c.text());
        EXPECT_TRUE(c.ok) << c.measured;
    }

    std::ofstream out(outDir() + "/" + d.name + ".row");
    out << "|";
    for (const auto& cell : row)
        out << " " << cell << " |";
    out << "\n";
}

using S = VirtualDesktop::Session;
using M = VirtualDesktop::Monitors;

INSTANTIATE_TEST_SUITE_P(
    Desktops, Matrix,
    ::testing::Values(MatrixDesktop{"openbox", "openbox + tint2", {}},
                      MatrixDesktop{"xfce", "xfwm4 + xfce4-panel", {.session = S::Xfce}},
                      MatrixDesktop{"fluxbox", "fluxbox", {.session = S::Fluxbox}},
                      MatrixDesktop{"icewm", "IceWM", {.session = S::IceWM}},
                      MatrixDesktop{"i3", "i3 + i3bar", {.session = S::I3}},
                      MatrixDesktop{"primary-left",
                                    "two monitors, primary left (openbox + tint2)",
                                    {.monitors = M::PrimaryLeft}},
                      MatrixDesktop{"primary-right",
                                    "two monitors, primary right (openbox + tint2)",
                                    {.monitors = M::PrimaryRight}},
                      MatrixDesktop{"hidpi2", "HiDPI ×2 (QT_SCALE_FACTOR=2, openbox + tint2)", {.scale = 2}}),
    [](const auto& test) {
        std::string name = test.param.name;
        std::erase(name, '-');
        return name;
    });

} // namespace
