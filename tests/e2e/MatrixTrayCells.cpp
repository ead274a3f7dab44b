// The cells of the desktop matrix about the program's own windows: the
// shaped window without a taskbar button, and the tray icon's menu, reached
// the way each desktop's notification area offers it.

#include "MatrixBench.h"

#include <filesystem>
#include <regex>

namespace {

// The share of pure black in a rectangle of the compositor's picture: the
// unshaped window of an X program whose shape the compositor ignores.
// How many pixels of a rectangle differ between two pictures of the
// compositor's (ImageMagick's absolute error count, colours within 10 %
// counting as the same); -1 when either picture is missing.
long changedPixels(const std::string& before, const std::string& after, const XClient::Rect& g) {
    if (!std::filesystem::exists(before) || !std::filesystem::exists(after))
        return -1;
    const std::string crop = " -crop " + std::to_string(g.width) + "x" + std::to_string(g.height) + "+" +
                             std::to_string(g.x) + "+" + std::to_string(g.y) + " +repage ";
    FILE* p = popen(("convert '(' " + before + crop + "')' '(' " + after + crop + "')'" +
                     " -fuzz 10% -metric AE -compare -format '%[distortion]' info: 2>&1")
                        .c_str(),
                    "r");
    long changed = -1;
    if (p) {
        double v = -1;
        if (std::fscanf(p, "%lf", &v) == 1)
            changed = static_cast<long>(v);
        pclose(p);
    }
    return changed;
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

// Opens the settings from the menu, closes them, then ends the program from
// the menu; both through the given ways of opening the menu and choosing in
// it (a few tries each: a menu that opens on a busy machine may miss the
// first choice). Returns what happened.
Cell settingsThenQuit(Bench& b, MascotProcess& mascot, const std::function<bool()>& chooseSettings,
                      const std::function<bool()>& chooseQuit, const std::string& how) {
    bool opened = false, ended = false;
    for (int attempt = 0; attempt < 3 && !opened; ++attempt) {
        if (!chooseSettings())
            continue;
        XClient::Window dialog = 0;
        opened = eventually([&] { return (dialog = findWindow(b.x, mascot, kSettingsTitle)) != 0; }, 30);
        if (opened) {
            sleepMs(300);
            b.desktop.screenshot(outDir() + "/" + b.row.name + "-settings.png");
            b.x.requestClose(dialog);
            eventually([&] { return findWindow(b.x, mascot, kSettingsTitle) == 0; });
        }
    }
    for (int attempt = 0; attempt < 3 && !ended; ++attempt)
        ended = chooseQuit() && mascot.waitForExit(30);
    return {opened && ended, how + "; 設定 " + (opened ? "opened" : "did not open") + ", 終了 " +
                                 (ended ? "ended the program" : "did not end it")};
}

} // namespace

Cell shaped(Bench& b) {
    // A Wayland compositor may ignore the X shape: what the user sees is
    // measured in its own picture, against the same place before the
    // program started.
    const bool look = b.is(VirtualDesktop::Session::Sway) || b.is(VirtualDesktop::Session::Gnome);
    const std::string before = b.desktop.dir() + "/before.png", after = b.desktop.dir() + "/look.png";
    if (look)
        b.desktop.screenshot(before);
    Started s(b, 1, 5);
    if (!s.window)
        return {false, "no window"};
    const int frame = shownFrame(b.x, s.window);
    const bool skip = b.x.hasState(s.window, "_NET_WM_STATE_SKIP_TASKBAR");
    const auto g = formAt(b, s.window);
    Cell c{frame != 0 && skip,
           std::string(frame > 0 ? "shape = frame " + std::to_string(frame) : "shape matches no frame") +
               (skip ? ", skip-taskbar" : ", has a taskbar button") + ", at " + at(g.x, g.y)};
    if (b.wayland)
        c.measured += "; notices shown: " + std::to_string(s.notices);
    // Where the program cannot follow the pointer, it says so.
    if (b.is(VirtualDesktop::Session::Sway))
        c.ok = c.ok && s.notices > 0;
    if (look) {
        sleepMs(500);
        b.desktop.screenshot(after);
        const auto window = b.x.geometry(s.window);
        const long inside = static_cast<long>(b.x.shapePixels(s.window).size());
        const long area = static_cast<long>(window.width) * window.height;
        const long changed = changedPixels(before, after, window);
        // Outside the outline the desktop shows through.
        const long outside = changed < 0 ? area : std::max(0L, changed - inside);
        c.ok = c.ok && area > inside && outside * 10 < area - inside;
        c.measured += "; " +
                      std::to_string((outside * 100 + (area - inside) / 2) / std::max(1L, area - inside)) +
                      " % of the window outside the outline hides the desktop";
    }
    return c;
}

namespace {

Cell trayXEmbed(Bench& b, Started& s) {
    std::vector<XClient::Window> icons;
    eventually([&] { return !(icons = trayIconWindows(b.x, s.mascot, s.window)).empty(); });
    if (icons.empty())
        return {false, "no tray icon"};
    const auto g = b.x.geometry(icons.front());
    const std::string icon = std::to_string(g.x + g.width / 2) + " " + std::to_string(g.y + g.height / 2);
    auto choose = [&](const std::string& keys) {
        b.desktop.run("xdotool mousemove " + icon + " click 3");
        sleepMs(800);
        b.desktop.screenshot(outDir() + "/" + b.row.name + "-menu.png");
        b.desktop.run("xdotool key " + keys);
        return true;
    };
    return settingsThenQuit(
        b, s.mascot, [&] { return choose("Down Return"); },
        [&] { return choose("Down Down Down Down Down Return"); }, "icon at " + at(g.x, g.y));
}

Cell traySni(Bench& b, Started& s) {
    // The host draws the menu the item exports; the test calls its items
    // over D-Bus as the host does. The item must be the host's: registered
    // with the watcher the host runs.
    std::string item;
    eventually([&] {
        const std::string items = b.desktop.run(
            "gdbus call --session -d org.kde.StatusNotifierWatcher -o /StatusNotifierWatcher -m "
            "org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher "
            "RegisteredStatusNotifierItems");
        std::smatch m;
        if (std::regex_search(items, m, std::regex("'(:[0-9.]+)")))
            item = m[1].str();
        return !item.empty();
    });
    if (item.empty())
        return {false, "no StatusNotifierItem registered with the host"};
    const std::string layout = b.desktop.run("gdbus call --session -d " + item +
                                             " -o /MenuBar -m com.canonical.dbusmenu.GetLayout -- 0 1 '[]'");
    std::vector<std::string> ids;
    static const std::regex entry(R"(<\((\d+), )");
    for (auto it = std::sregex_iterator(layout.begin(), layout.end(), entry); it != std::sregex_iterator();
         ++it)
        ids.push_back((*it)[1].str());
    // Settings first, exit last, whatever lies between.
    if (ids.size() < 2)
        return {false, "no exported menu (" + std::to_string(ids.size()) + " items)"};
    auto click = [&](const std::string& id) {
        b.desktop.run("gdbus call --session -d " + item + " -o /MenuBar -m com.canonical.dbusmenu.Event -- " +
                      id + " clicked '<0>' 0");
        return true;
    };
    std::string how = "StatusNotifierItem menu of " + std::to_string(ids.size()) + " items";
    if (b.is(VirtualDesktop::Session::Gnome)) {
        // The icon shows in the top bar once the extension hosts it.
        const std::string shown =
            b.desktop
                .shellEval(
                    "Object.keys(Main.panel.statusArea).filter(k => k.startsWith('appindicator')).length")
                .value_or("?");
        how += ", " + shown + " AppIndicator icon(s) in the top bar";
    }
    return settingsThenQuit(
        b, s.mascot, [&] { return click(ids.front()); }, [&] { return click(ids.back()); }, how);
}

Cell trayContextMenu(Bench& b, Started& s) {
    // swaybar (sway 1.7) draws no menus: a right click on an icon asks the
    // item for its own (ContextMenu), which the program opens where XWayland
    // last saw the pointer.
    const std::string icon =
        std::to_string(b.row.options.width - 12) + " " + std::to_string(b.row.options.height - 12);
    int menus = 0, tries = 0;
    std::string where = "no menu";
    auto choose = [&](bool settings) {
        ++tries;
        b.driver.point("move " + icon + " sleep 200 press right sleep 100 release right");
        XClient::Window menu = 0;
        if (!eventually([&] { return (menu = popupMenu(b.x, s.mascot, s.window)) != 0; }, 30))
            return false;
        ++menus;
        sleepMs(500);
        const auto m = b.x.geometry(menu);
        where = "menu at " + at(m.x, m.y);
        if (menus == 1)
            b.desktop.screenshot(outDir() + "/" + b.row.name + "-menu.png");
        const int y = settings ? m.y + 10 : m.y + m.height - 12;
        b.driver.point(moveTo(m.x + 30, y) + " sleep 200 press sleep 80 release sleep 200");
        return true;
    };
    Cell c = settingsThenQuit(
        b, s.mascot, [&] { return choose(true); }, [&] { return choose(false); }, "");
    c.measured = "right click on the bar's icon: " + where + " (" + std::to_string(menus) + " of " +
                 std::to_string(tries) + " right clicks opened it)" + c.measured;
    return c;
}

} // namespace

Cell tray(Bench& b) {
    Started s(b, 1, 5);
    if (!s.window)
        return {false, "no window"};
    switch (b.row.tray) {
    case DesktopRow::Tray::XEmbed:
        return trayXEmbed(b, s);
    case DesktopRow::Tray::Sni:
        return traySni(b, s);
    case DesktopRow::Tray::ContextMenu:
        return trayContextMenu(b, s);
    case DesktopRow::Tray::None:
        break;
    }
    return {false, "no notification area; notices shown: " + std::to_string(s.notices)};
}
