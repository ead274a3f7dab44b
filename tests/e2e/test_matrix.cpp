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
#include <sys/wait.h>

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

// --- the Wayland desktop (sway): its pointer, its bar, its screen ---------

// Runs the virtual pointer (wlpointer) with the given steps on the sway
// desktop; it leaves the seat when its last step is done.
pid_t waylandPointer(VirtualDesktop& desktop, const VirtualDesktop::Options& o, const std::string& steps) {
    // The desktop keeps its copy of the tool (VirtualDesktop).
    const std::string tool = desktop.dir() + "/wlpointer";
    std::vector<std::string> argv = {tool, std::to_string(o.width), std::to_string(o.height)};
    std::istringstream words(steps);
    for (std::string word; words >> word;)
        argv.push_back(word);
    return desktop.spawn(argv, desktop.dir() + "/wlpointer.log");
}

void waitForPointer(VirtualDesktop& desktop, pid_t pointer) {
    for (int i = 0; i < 100 && kill(pointer, 0) == 0 && waitpid(pointer, nullptr, WNOHANG) == 0; ++i)
        sleepMs(100);
    desktop.stopProcess(pointer);
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

// The share of pure black in a rectangle of the compositor's picture: the
// unshaped window of an X program whose shape the compositor ignores.
double blackShare(VirtualDesktop& desktop, const XClient::Rect& g) {
    const std::string shot = desktop.dir() + "/look.png";
    desktop.screenshot(shot);
    FILE* p = popen(("convert " + shot + " -crop " + std::to_string(g.width) + "x" +
                     std::to_string(g.height) + "+" + std::to_string(g.x) + "+" + std::to_string(g.y) +
                     " +repage -fx 'p.r+p.g+p.b==0' -format '%[fx:mean]' info: 2>/dev/null")
                        .c_str(),
                    "r");
    double share = -1;
    if (p) {
        if (std::fscanf(p, "%lf", &share) != 1)
            share = -1;
        pclose(p);
    }
    return share;
}

// The program's popup menu as it shows.
XClient::Window popupMenu(XClient& x, MascotProcess& mascot, XClient::Window mascotWindow) {
    for (auto w : x.windowsOfPid(mascot.pid())) {
        if (w == mascotWindow || !x.isViewable(w))
            continue;
        // Qt marks its menu as a plain window, untitled (the program's
        // name); the notices and dialogs carry titles of their own.
        const auto g = x.geometry(w);
        if (x.name(w) == "kuvito" && g.width > 60 && g.height > 40 && g.height < 200)
            return w;
    }
    return 0;
}

// The notices a Wayland session brings (the modes it limits; no notification
// area where no panel runs): how many showed; they are closed as a user
// would, so that none is taken for the front window. They are asked to close
// as a window manager's close button does, not by a key: on XWayland a key
// xdotool sent reached the program again, as a fresh press, the next time one
// of its windows took the keyboard, and the Escape that closed a notice
// closed the tray menu the moment it opened (Qt's log: a key press, then the
// menu unmapped).
int closeNotices(XClient& x, MascotProcess& mascot, XClient::Window mascotWindow) {
    int closed = 0;
    for (int round = 0; round < 3; ++round) {
        XClient::Window notice = 0;
        eventually(
            [&] {
                for (auto w : x.windowsOfPid(mascot.pid()))
                    if (w != mascotWindow && x.isViewable(w) && x.name(w) == "走れクヴィトくん")
                        notice = w;
                return notice != 0;
            },
            round == 0 ? 20 : 5);
        if (!notice)
            break;
        x.requestClose(notice);
        eventually([&] { return !x.isViewable(notice); }, 20);
        ++closed;
    }
    return closed;
}

class Matrix : public ::testing::TestWithParam<MatrixDesktop> {};

TEST_P(Matrix, DISABLED_Smoke) {
    const MatrixDesktop& d = GetParam();
    const double scale = d.options.scale;
    auto dev = [&](int logical) { return static_cast<int>(logical * scale + 0.5); };
    const int left = d.options.monitors == VirtualDesktop::Monitors::PrimaryRight ? d.options.width : 0;
    const int right = left + d.options.width;
    const bool sway = d.options.session == VirtualDesktop::Session::Sway;
    const bool wayland = sway || d.options.session == VirtualDesktop::Session::KWin ||
                         d.options.session == VirtualDesktop::Session::Mutter;
    if (sway && std::string(KUVITO_WLPOINTER).empty())
        GTEST_SKIP() << "built without the Wayland client library: no virtual pointer for sway";
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
            // A Wayland compositor ignores the X shape: what the user sees
            // is measured in its own picture.
            std::string look;
            if (wayland) {
                const int told = closeNotices(x, mascot, w);
                c.ok = c.ok && told > 0;
                look = "; notices shown: " + std::to_string(told);
            }
            if (sway) {
                sleepMs(500);
                const double black = blackShare(desktop, x.geometry(w));
                c.ok = c.ok && black >= 0 && black < 0.2;
                look += "; " + std::to_string(static_cast<int>(black * 100 + 0.5)) +
                        " % of the window shows black on the screen";
            }
            c.measured = std::string(frame > 0   ? "shape = frame " + std::to_string(frame)
                                     : frame < 0 ? "shaped (scaled)"
                                                 : "shape matches no frame") +
                         (skip ? ", skip-taskbar" : ", has a taskbar button") + ", at " +
                         std::to_string(g.x) + "," + std::to_string(g.y) + look;
        } else {
            c.measured = "no window";
        }
        row.push_back(c.text());
        EXPECT_TRUE(c.ok) << c.measured;

        // 2. The tray menu: settings, then 終了.
        Cell t;
        if (sway) {
            // swaybar (sway 1.7) draws no menus: a right click on an icon
            // asks the item for its own (ContextMenu), which the program
            // opens where XWayland last saw the pointer.
            const std::string icon =
                std::to_string(d.options.width - 12) + " " + std::to_string(d.options.height - 12);
            auto openMenu = [&] {
                waitForPointer(desktop, waylandPointer(desktop, d.options,
                                                       "move " + icon +
                                                           " sleep 200 press right sleep 100 release right"));
                XClient::Window menu = 0;
                eventually([&] { return (menu = popupMenu(x, mascot, w)) != 0; }, 30);
                return menu;
            };
            auto click = [&](int px, int py) {
                waitForPointer(desktop,
                               waylandPointer(desktop, d.options,
                                              "move " + std::to_string(px) + " " + std::to_string(py) +
                                                  " sleep 200 press sleep 80 release sleep 200"));
            };
            // A menu that opens on a busy machine may miss the first
            // click: a few tries, each from the icon, as a user would.
            bool opened = false, ended = false;
            int menus = 0, tries = 0;
            std::string at = "no menu";
            XClient::Window menu = 0;
            for (; tries < 3 && !opened; ++tries) {
                if ((menu = openMenu()) == 0)
                    continue;
                const auto m = x.geometry(menu);
                at = "menu at " + std::to_string(m.x) + "," + std::to_string(m.y);
                ++menus;
                sleepMs(500);
                if (tries == 0)
                    desktop.screenshot(outDir() + "/" + d.name + "-menu.png");
                click(m.x + 30, m.y + 10);
                XClient::Window dialog = 0;
                opened = eventually(
                    [&] { return (dialog = findWindow(x, mascot, "走れクヴィトくんの設定")) != 0; }, 30);
                if (opened) {
                    sleepMs(300);
                    desktop.screenshot(outDir() + "/" + d.name + "-settings.png");
                    x.requestClose(dialog);
                    eventually([&] { return findWindow(x, mascot, "走れクヴィトくんの設定") == 0; });
                }
            }
            for (int attempt = 0; attempt < 3 && !ended; ++attempt, ++tries) {
                if ((menu = openMenu()) == 0)
                    continue;
                ++menus;
                sleepMs(500);
                const auto m = x.geometry(menu);
                click(m.x + 30, m.y + m.height - 12);
                ended = mascot.waitForExit(30);
            }
            at += " (" + std::to_string(menus) + " of " + std::to_string(tries) + " right clicks opened it)";
            // Whether the click reached the program shows in its tray log
            // (qt.qpa.tray on this desktop): ContextMenu with the place.
            if (menus == 0 && mascot.log().find("qt.qpa.tray: " + std::to_string(d.options.width - 12)) !=
                                  std::string::npos)
                at = "ContextMenu reached the program (its tray log), no menu window appeared (xwininfo)";
            t.ok = opened && ended;
            t.measured = "right click on swaybar's icon: " + at + "; 設定 " +
                         (opened ? "opened" : "did not open") + ", 終了 " +
                         (ended ? "ended the program" : "did not end it");
        } else if (d.options.session == VirtualDesktop::Session::Xfce) {
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
                t.measured = wayland
                                 ? "no tray icon: the compositor alone runs no panel with a notification area"
                                 : "no tray icon";
            }
        }
        row.push_back(t.text());
        EXPECT_TRUE(t.ok) << t.measured;
    }

    // 3. Mode 3 stands on the primary monitor's bottom panel.
    {
        MascotProcess mascot(desktop, iniFile(1, 3, 0, 0));
        auto w = mascot.waitForWindow(x);
        const int expected = sway ? swaybarTop(desktop) : panelTop(desktop, d.options.height, left, right);
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
        if (sway && !c.ok)
            c.measured +=
                " (swaybar is a Wayland surface: XWayland gives X programs no strut and no work area "
                "for it, so the character stands on the screen's bottom edge)";
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
        if (wayland)
            closeNotices(x, mascot, w);
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
            if (wayland) {
                // A native Wayland window in front is no X window at all.
                pid_t native =
                    desktop.spawn({"env", "NO_AT_BRIDGE=1", "zenity", "--info", "--text", "native"});
                sleepMs(2000);
                const bool none = !x.activeWindow();
                c.measured +=
                    std::string("; with a native Wayland window in front (zenity) the X front window is ") +
                    (none ? "none, so the character wanders the screen" : "still an X window");
                desktop.stopProcess(native);
            }
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
        if (wayland)
            closeNotices(x, mascot, w);
        Cell c;
        if (w) {
            sleepMs(300);
            const auto g = formRect(x, w);
            int gx = g.x + dev(26), gy = g.y + dev(65);
            if (sway) {
                // XWayland takes the X shape as the window's input region: a
                // press outside the shown frame's outline goes to what lies
                // below. The press goes on the outline, nearest the middle.
                const auto window = x.geometry(w);
                long best = -1;
                for (const auto& [px, py] : x.shapePixels(w)) {
                    const int sx = window.x + px, sy = window.y + py;
                    const long d2 =
                        long(sx - g.x - 26) * (sx - g.x - 26) + long(sy - g.y - 60) * (sy - g.y - 60);
                    if (best < 0 || d2 < best) {
                        best = d2;
                        gx = sx;
                        gy = sy;
                    }
                }
            }
            XClient::Rect mid;
            std::string xSaw;
            if (sway) {
                // The drag as the compositor's pointer makes it; the pointer
                // stays pressed while the window is measured.
                std::string steps =
                    "move " + std::to_string(gx) + " " + std::to_string(gy) + " sleep 200 press sleep 200";
                // A mouse reports small moves; sway 1.7 holds no pressed
                // pointer on an unmanaged X window, so a jump past the
                // outline before the window follows would end the drag.
                for (int i = 1; i <= 50; ++i)
                    steps += " move " + std::to_string(gx + 4 * i) + " " + std::to_string(gy + 3 * i) +
                             " sleep 16";
                const pid_t pointer = waylandPointer(desktop, d.options, steps + " sleep 2000 release");
                sleepMs(1800);
                mid = formRect(x, w);
                // Where X programs saw the pointer end: the press point
                // moved by 200,150 when XWayland followed the drag.
                xSaw = desktop.run("xdotool getmouselocation | cut -d' ' -f1,2");
                xSaw.erase(xSaw.find_last_not_of('\n') + 1);
                waitForPointer(desktop, pointer);
            } else {
                desktop.run("xdotool mousemove " + std::to_string(gx) + " " + std::to_string(gy) +
                            " mousedown 1");
                sleepMs(200);
                for (int i = 1; i <= 10; ++i) {
                    desktop.run("xdotool mousemove " + std::to_string(gx + 20 * i) + " " +
                                std::to_string(gy + 15 * i));
                    sleepMs(40);
                }
                sleepMs(200);
                mid = formRect(x, w);
                desktop.run("xdotool mouseup 1");
            }
            c.ok = std::abs(mid.x - (g.x + 200)) <= 2 && std::abs(mid.y - (g.y + 150)) <= 2;
            c.measured = "pointer moved by 200,150; window by " + std::to_string(mid.x - g.x) + "," +
                         std::to_string(mid.y - g.y);
            if (wayland && !sway)
                c.measured += " (xdotool's XTEST: XWayland's own pointer; this compositor offers the test no "
                              "virtual pointer)";
            if (!xSaw.empty())
                c.measured += "; XWayland's pointer at " + xSaw +
                              " (the drag's end: " + std::to_string(gx + 200) + "," +
                              std::to_string(gy + 150) + ")";
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
    ::testing::Values(
        MatrixDesktop{"openbox", "openbox + tint2", {}},
        MatrixDesktop{"xfce", "xfwm4 + xfce4-panel", {.session = S::Xfce}},
        MatrixDesktop{"fluxbox", "fluxbox", {.session = S::Fluxbox}},
        MatrixDesktop{"icewm", "IceWM", {.session = S::IceWM}},
        MatrixDesktop{"i3", "i3 + i3bar", {.session = S::I3}},
        MatrixDesktop{
            "primary-left", "two monitors, primary left (openbox + tint2)", {.monitors = M::PrimaryLeft}},
        MatrixDesktop{
            "primary-right", "two monitors, primary right (openbox + tint2)", {.monitors = M::PrimaryRight}},
        MatrixDesktop{"hidpi2", "HiDPI ×2 (QT_SCALE_FACTOR=2, openbox + tint2)", {.scale = 2}},
        MatrixDesktop{"sway", "sway 1.7 + swaybar (Wayland, XWayland)", {.session = S::Sway}},
        MatrixDesktop{"kwin", "KWin 5.27 alone (Wayland, virtual output, XWayland)", {.session = S::KWin}},
        MatrixDesktop{"mutter", "Mutter 43 alone (Wayland, headless, XWayland)", {.session = S::Mutter}}),
    [](const auto& test) {
        std::string name = test.param.name;
        std::erase(name, '-');
        return name;
    });

} // namespace
