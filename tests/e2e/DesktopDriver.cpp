#include "DesktopDriver.h"

#include "E2eSupport.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/wait.h>

namespace {

std::vector<std::string> words(const std::string& steps) {
    std::vector<std::string> out;
    std::istringstream in(steps);
    for (std::string word; in >> word;)
        out.push_back(word);
    return out;
}

// Shell JavaScript that moves or presses GNOME Shell's pointer: a virtual
// pointer device made once in the shell and kept there, so that a button
// it pressed stays pressed between two calls.
std::string shellPointer(const std::string& action) {
    return "const {Clutter, GLib} = imports.gi; if (!global.kuvitoTestPointer) global.kuvitoTestPointer = "
           "Clutter.get_default_backend().get_default_seat().create_virtual_device("
           "Clutter.InputDeviceType.POINTER_DEVICE); const p = global.kuvitoTestPointer; " +
           action + "; true";
}

} // namespace

pid_t DesktopDriver::startPointer(const std::string& steps) {
    const std::vector<std::string> w = words(steps);
    auto button = [&](std::size_t& i) {
        const bool right = i + 1 < w.size() && w[i + 1] == "right";
        if (right)
            ++i;
        return right ? 3 : 1;
    };
    switch (row_.pointer) {
    case DesktopRow::Pointer::XTest: {
        std::vector<std::string> argv = {"xdotool"};
        for (std::size_t i = 0; i < w.size(); ++i) {
            if (w[i] == "move" && i + 2 < w.size()) {
                argv.insert(argv.end(), {"mousemove", w[i + 1], w[i + 2]});
                i += 2;
            } else if (w[i] == "press" || w[i] == "release") {
                const std::string what = w[i] == "press" ? "mousedown" : "mouseup";
                argv.insert(argv.end(), {what, std::to_string(button(i))});
            } else if (w[i] == "sleep" && i + 1 < w.size()) {
                argv.insert(argv.end(), {"sleep", std::to_string(std::stoi(w[++i]) / 1000.0)});
            }
        }
        return desktop_.spawn(argv, desktop_.dir() + "/pointer.log");
    }
    case DesktopRow::Pointer::WlPointer: {
        // The desktop keeps its copy of the tool (VirtualDesktop).
        std::vector<std::string> argv = {desktop_.dir() + "/wlpointer",
                                         std::to_string(desktop_.options().width),
                                         std::to_string(desktop_.options().height)};
        argv.insert(argv.end(), w.begin(), w.end());
        return desktop_.spawn(argv, desktop_.dir() + "/pointer.log");
    }
    case DesktopRow::Pointer::GnomeShell: {
        // The steps run inside the shell, timed by its own main loop: one
        // call per step would take longer than a mouse takes for it.
        std::string list;
        int total = 0;
        for (std::size_t i = 0; i < w.size(); ++i) {
            std::string step;
            if (w[i] == "move" && i + 2 < w.size()) {
                step = "['m', " + std::to_string(std::stoi(w[i + 1])) + ", " +
                       std::to_string(std::stoi(w[i + 2])) + "]";
                i += 2;
            } else if (w[i] == "press" || w[i] == "release") {
                const std::string kind = w[i] == "press" ? "'p'" : "'r'";
                step = "[" + kind + ", " + std::to_string(button(i)) + "]";
            } else if (w[i] == "sleep" && i + 1 < w.size()) {
                const int ms = std::stoi(w[++i]);
                total += ms;
                step = "['s', " + std::to_string(ms) + "]";
            }
            if (!step.empty())
                list += (list.empty() ? "" : ", ") + step;
        }
        desktop_.shellEval(
            shellPointer("const steps = [" + list +
                         "]; const run = i => { for (; i < steps.length; ++i) { const s = steps[i]; "
                         "if (s[0] == 's') { GLib.timeout_add(GLib.PRIORITY_DEFAULT, s[1], () => { run(i + "
                         "1); return false; }); "
                         "return; } const now = GLib.get_monotonic_time(); if (s[0] == 'm') "
                         "p.notify_absolute_motion(now, s[1], s[2]); "
                         "else p.notify_button(now, s[1], s[0] == 'p' ? Clutter.ButtonState.PRESSED : "
                         "Clutter.ButtonState.RELEASED); "
                         "} }; run(0)"));
        // What the test waits for: the steps' time, and a little for the
        // shell to have done the last one.
        return desktop_.spawn({"sleep", std::to_string(total / 1000.0 + 0.2)});
    }
    case DesktopRow::Pointer::None:
        break;
    }
    return 0;
}

void DesktopDriver::waitForPointer(pid_t run) {
    if (run <= 0)
        return;
    for (int i = 0; i < 300 && waitpid(run, nullptr, WNOHANG) == 0; ++i)
        sleepMs(100);
    desktop_.stopProcess(run);
}

std::string DesktopDriver::swaymsg(const std::string& arguments) const {
    return desktop_.run("SWAYSOCK=$(ls $XDG_RUNTIME_DIR/sway-ipc.*.sock) swaymsg " + arguments);
}

int DesktopDriver::currentWorkspace() const {
    std::string text;
    switch (row_.workspaces) {
    case DesktopRow::Workspaces::Ewmh:
        text = desktop_.run("xprop -root _NET_CURRENT_DESKTOP | sed -n 's/.*= *//p'");
        break;
    case DesktopRow::Workspaces::I3:
    case DesktopRow::Workspaces::Sway: {
        // Both number their workspaces from 1 and answer alike.
        const std::string focused =
            " -t get_workspaces | python3 -c 'import json,sys; "
            "print([w[\"num\"] - 1 for w in json.load(sys.stdin) if w[\"focused\"]][0])'";
        text = row_.workspaces == DesktopRow::Workspaces::I3 ? desktop_.run("i3-msg" + focused)
                                                             : swaymsg(focused);
        break;
    }
    case DesktopRow::Workspaces::GnomeShell:
        text = desktop_.shellEval("global.workspace_manager.get_active_workspace_index()").value_or("");
        break;
    }
    try {
        return std::stoi(text);
    } catch (const std::exception&) {
        return -1;
    }
}

bool DesktopDriver::switchWorkspace(int index) {
    const std::string n = std::to_string(index);
    switch (row_.workspaces) {
    case DesktopRow::Workspaces::Ewmh:
        desktop_.run("wmctrl -s " + n);
        break;
    case DesktopRow::Workspaces::I3:
        desktop_.run("i3-msg workspace number " + std::to_string(index + 1) + " >/dev/null");
        break;
    case DesktopRow::Workspaces::Sway:
        swaymsg("workspace number " + std::to_string(index + 1) + " >/dev/null");
        break;
    case DesktopRow::Workspaces::GnomeShell:
        desktop_.shellEval("global.workspace_manager.get_workspace_by_index(" + n +
                           ").activate(global.get_current_time()); true");
        break;
    }
    return eventually([&] { return currentWorkspace() == index; }, 30);
}

bool DesktopDriver::canShowNativeWindow() const {
    const auto session = desktop_.options().session;
    return session == VirtualDesktop::Session::Gnome || session == VirtualDesktop::Session::Sway ||
           session == VirtualDesktop::Session::KWin;
}

void DesktopDriver::runKWinScript(const std::string& path, const std::string& name, bool settle) const {
    // KWin runs a loaded script once started. A script of that name still
    // loaded goes first, so that the name is free; one run to settle is
    // given time to have run and is taken out at once.
    const std::string scripting =
        "gdbus call --session -d org.kde.KWin -o /Scripting -m org.kde.kwin.Scripting.";
    desktop_.run(scripting + "unloadScript " + name + " >/dev/null; " + scripting + "loadScript " + path +
                 " " + name + " >/dev/null; " + scripting + "start >/dev/null" +
                 (settle ? "; sleep 0.2; " + scripting + "unloadScript " + name + " >/dev/null" : ""));
}

std::string DesktopDriver::kwinPlaceNative(Placement where) const {
    // A KWin script, run once, moves the window and activates it; KWin
    // tells its frame (getWindowInfo) by the id its window search (the
    // WindowsRunner) gives.
    const std::string top = std::to_string(where.top);
    const std::string script =
        desktop_.dir() + "/place-native-" + (where.maximised ? std::string("max") : top) + ".js";
    if (!std::filesystem::exists(script))
        std::ofstream(script)
            << "var plasma6 = typeof workspace.windowList === 'function';\n"
               "var all = plasma6 ? workspace.windowList() : workspace.clientList();\n"
               "for (var i = 0; i < all.length; ++i) {\n"
               "    var w = all[i];\n"
               "    if (w.caption !== 'kuvito-native') continue;\n"
               "    var g = w.frameGeometry;\n"
            << (where.maximised
                    ? "    w.setMaximize(true, true);\n"
                    : "    w.frameGeometry = {x: 300, y: " + top + ", width: g.width, height: g.height};\n")
            << "    if (plasma6) workspace.activeWindow = w; else workspace.activeClient = w;\n"
               "}\n";
    runKWinScript(script, "kuvito-test-place");
    const std::string found = desktop_.run("gdbus call --session -d org.kde.KWin -o /WindowsRunner -m "
                                           "org.kde.krunner1.Match kuvito-native 2>/dev/null");
    std::smatch id;
    if (!std::regex_search(found, id, std::regex(R"('\d+_(\{[0-9a-f-]+\})')"))) {
        // KWin 6.3 has no window search on D-Bus: the frame is the one a
        // second script tells, once the window is where it was put.
        const std::optional<XClient::Rect> frame = kwinFrameOf("kuvito-native");
        if (!frame || (!where.maximised && (frame->x != 300 || std::to_string(frame->y) != top)))
            return {};
        return std::to_string(frame->x) + " " + std::to_string(frame->y) + " " +
               std::to_string(frame->width) + " " + std::to_string(frame->height);
    }
    const std::string info = desktop_.run("gdbus call --session -d org.kde.KWin -o /KWin -m "
                                          "org.kde.KWin.getWindowInfo '" +
                                          id[1].str() + "'");
    auto field = [&](const std::string& key) {
        std::smatch m;
        return std::regex_search(info, m, std::regex("'" + key + R"(': <(-?\d+))")) ? m[1].str() : "";
    };
    // A window that showed after the script ran is still where KWin put it.
    if (!where.maximised && (field("x") != "300" || field("y") != top))
        return {};
    return field("x") + " " + field("y") + " " + field("width") + " " + field("height");
}

std::optional<DesktopDriver::NativeWindow> DesktopDriver::showNativeWindow(Placement where) {
    if (!canShowNativeWindow())
        return std::nullopt;
    NativeWindow native;
    // An information box keeps its size; a text box may be maximised.
    std::vector<std::string> argv = {"env",     "GDK_BACKEND=wayland", "NO_AT_BRIDGE=1", "zenity",
                                     "--title", "kuvito-native"};
    if (where.maximised)
        argv.insert(argv.end(), {"--text-info", "--filename=/etc/hostname"});
    else
        argv.insert(argv.end(), {"--info", "--text", "a native Wayland window"});
    native.pid = desktop_.spawn(argv, desktop_.dir() + "/zenity.log");
    // A Wayland window cannot place itself: the compositor is asked to
    // float it where the character can stand on it, and to focus it.
    std::string rect;
    const bool shown = eventually(
        [&] {
            if (desktop_.options().session == VirtualDesktop::Session::Sway) {
                swaymsg(where.maximised ? "'[title=\"kuvito-native\"] floating disable, focus' >/dev/null"
                                        : "'[title=\"kuvito-native\"] floating enable, move position 300 " +
                                              std::to_string(where.top) + ", focus' >/dev/null");
                rect = swaymsg(
                    "-t get_tree -r | python3 -c 'import json,sys\n"
                    "def walk(n):\n"
                    "    if n.get(\"name\") == \"kuvito-native\" and n.get(\"focused\"):\n"
                    "        r = n[\"rect\"]; print(r[\"x\"], r[\"y\"], r[\"width\"], r[\"height\"])\n"
                    "    for c in n.get(\"nodes\", []) + n.get(\"floating_nodes\", []): walk(c)\n"
                    "walk(json.load(sys.stdin))'");
            } else if (desktop_.options().session == VirtualDesktop::Session::KWin) {
                rect = kwinPlaceNative(where);
            } else {
                rect = desktop_
                           .shellEval(
                               "const w = global.get_window_actors().map(a => a.meta_window).find(w => "
                               "w.get_title() == 'kuvito-native' && w.get_client_type() == 0); let out = ''; "
                               "if (w) { " +
                               (where.maximised
                                    ? std::string("w.maximize(imports.gi.Meta.MaximizeFlags.BOTH); ")
                                    : "w.move_frame(true, 300, " + std::to_string(where.top) + "); ") +
                               "w.activate(global.get_current_time()); "
                               "const r = w.get_frame_rect(); if (global.display.focus_window == w) out = "
                               "[r.x, r.y, r.width, r.height].join(' '); } out")
                           .value_or("");
            }
            std::istringstream in(rect);
            return static_cast<bool>(in >> native.frame.x >> native.frame.y >> native.frame.width >>
                                     native.frame.height) &&
                   (where.maximised ? native.frame.width >= desktop_.options().width - 10
                                    : native.frame.y >= where.top - 50);
        },
        100);
    if (!shown) {
        desktop_.stopProcess(native.pid);
        return std::nullopt;
    }
    return native;
}

void DesktopDriver::setFullScreen(const std::string& title, bool native, bool on) {
    const std::string quoted = "'[title=\"" + title + "\"] fullscreen " + (on ? "enable" : "disable") + "'";
    if (desktop_.options().session == VirtualDesktop::Session::Sway) {
        swaymsg(quoted + " >/dev/null");
    } else if (desktop_.options().session == VirtualDesktop::Session::I3) {
        desktop_.run("i3-msg " + quoted + " >/dev/null");
    } else if (native && desktop_.options().session == VirtualDesktop::Session::KWin) {
        const std::string script = desktop_.dir() + "/fullscreen-native.js";
        std::ofstream(script)
            << "var all = typeof workspace.windowList === 'function' ? workspace.windowList() : "
               "workspace.clientList();\n"
               "for (var i = 0; i < all.length; ++i)\n"
               "    if (all[i].caption === '"
            << title << "') all[i].fullScreen = " << (on ? "true" : "false") << ";\n";
        runKWinScript(script, "kuvito-test-fullscreen", false);
    } else if (native) {
        // GNOME Shell: the window as the shell has it.
        desktop_.shellEval("const w = global.get_window_actors().map(a => a.meta_window).find(w => "
                           "w.get_title() == '" +
                           title + "'); if (w) w." + (on ? "make_fullscreen" : "unmake_fullscreen") +
                           "(); true");
    } else {
        // What a program asks of the window manager for its own window.
        desktop_.run("wmctrl -r '" + title + "' -b " + (on ? "add" : "remove") + ",fullscreen");
    }
}

bool DesktopDriver::shellShowsWindowOf(int pid) const {
    return desktop_
               .shellEval("const ws = global.workspace_manager.get_active_workspace(); "
                          "global.get_window_actors().some(a => a.meta_window.get_pid() == " +
                          std::to_string(pid) +
                          " && a.visible && (a.meta_window.is_on_all_workspaces() || "
                          "a.meta_window.located_on_workspace(ws)))")
               .value_or("") == "true";
}

std::string DesktopDriver::shellStackingPids() const {
    return desktop_.shellEval("global.get_window_actors().map(a => a.meta_window.get_pid()).join(' ')")
        .value_or("");
}

std::optional<XClient::Window> DesktopDriver::bringToFront(XClient& x, const std::string& title) {
    if (desktop_.options().session == VirtualDesktop::Session::Gnome) {
        // GNOME Shell keeps a new window from taking the focus from the one
        // the user works in, and a pager's request does not count as the
        // user's: the shell is asked, as a click on the window would.
        eventually([&] {
            return desktop_
                       .shellEval("const w = global.get_window_actors().map(a => a.meta_window).find(w => "
                                  "w.get_title() == '" +
                                  title +
                                  "'); if (w) w.activate(global.get_current_time()); "
                                  "global.display.focus_window == w && !!w")
                       .value_or("") == "true";
        });
    }
    return activateWindow(desktop_, x, title);
}

std::optional<XClient::Rect> DesktopDriver::kwinFrameOf(const std::string& caption) const {
    // The script prints the frame to KWin's log. KWin 6 tells a script the
    // frame asked for until the window has moved, so it runs after the
    // window has been placed. Each run prints a mark of its own: the log
    // keeps what earlier runs printed.
    static int runs = 0;
    const std::string mark = "kuvito-frame-" + std::to_string(++runs);
    const std::string tell = desktop_.dir() + "/tell-frame.js";
    std::ofstream(tell) << "var all = typeof workspace.windowList === 'function' ? workspace.windowList() : "
                           "workspace.clientList();\n"
                           "for (var i = 0; i < all.length; ++i) {\n"
                           "    var g = all[i].frameGeometry;\n"
                           "    if (all[i].caption === '"
                        << caption << "')\n        print('" << mark
                        << " ' + g.x + ' ' + g.y + ' ' + g.width + ' ' + g.height);\n}\n";
    runKWinScript(tell, "kuvito-test-tell");
    const std::string printed =
        desktop_.run("grep -o '" + mark + " [0-9 -]*' '" + desktop_.dir() + "/kwin.log' | tail -n 1");
    XClient::Rect r;
    std::istringstream in(printed.substr(std::min(printed.size(), mark.size())));
    if (in >> r.x >> r.y >> r.width >> r.height)
        return r;
    return std::nullopt;
}

std::optional<XClient::Rect> DesktopDriver::compositorFrameOf(const std::string& title) const {
    if (desktop_.options().session == VirtualDesktop::Session::KWin)
        return kwinFrameOf(title);
    if (desktop_.options().session != VirtualDesktop::Session::Gnome)
        return std::nullopt;
    const std::string text =
        desktop_
            .shellEval("const w = global.get_window_actors().map(a => a.meta_window).find(w => "
                       "w.get_title() == '" +
                       title +
                       "'); let out = ''; if (w) { const r = w.get_frame_rect(); "
                       "out = [r.x, r.y, r.width, r.height].join(' '); } out")
            .value_or("");
    XClient::Rect r;
    std::istringstream in(text);
    if (in >> r.x >> r.y >> r.width >> r.height)
        return r;
    return std::nullopt;
}
