#include "VirtualDesktop.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::string shellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

std::string readAll(FILE* f) {
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        out.append(buf, n);
    return out;
}

} // namespace

VirtualDesktop::VirtualDesktop(Options options) : options_(options) {
    char tmpl[] = "/tmp/kuvito-e2e.XXXXXX";
    if (!mkdtemp(tmpl))
        throw std::runtime_error("mkdtemp failed");
    dir_ = tmpl;
    for (const char* sub : {"home", "config", "cache", "data", "runtime"})
        std::filesystem::create_directories(dir_ + "/" + sub);
    std::filesystem::permissions(dir_ + "/runtime", std::filesystem::perms::owner_all);
    if (asUser()) {
        // A desktop that fails to start leaves nothing running: the
        // destructor does not run for a constructor that throws.
        try {
            startWayland();
        } catch (...) {
            stopAll();
            throw;
        }
        return;
    }

    // Xvfb picks a free display and writes its number to the pipe we give it,
    // so parallel runs never collide on a fixed display.
    int fds[2];
    if (pipe(fds) != 0)
        throw std::runtime_error("pipe failed");
    pid_t x = fork();
    if (x == 0) {
        close(fds[0]);
        int log = open((dir_ + "/xvfb.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(log, 1);
        dup2(log, 2);
        std::string fd = std::to_string(fds[1]);
        const std::size_t monitors = options_.monitors == Monitors::One ? 1 : 2;
        int width = 0, height = 0;
        for (std::size_t m = 0; m < monitors; ++m) {
            width += monitorWidth(m);
            height = std::max(height, monitorHeight(m));
        }
        std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    pids_.push_back(x);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (number.empty())
        throw std::runtime_error("Xvfb did not start; see " + dir_ + "/xvfb.log");
    display_ = ":" + number;

    // A session bus of our own, so that Qt neither finds the user's nor
    // starts one that outlives the test.
    startSessionBus();

    if (options_.monitors != Monitors::One) {
        // Declared monitors on one Xvfb screen; "*" marks the primary. Each
        // is 270 mm wide, so a monitor of more pixels is a denser one.
        const bool right = options_.monitors == Monitors::PrimaryRight;
        auto size = [&](std::size_t m) {
            return std::to_string(monitorWidth(m)) + "/270x" + std::to_string(monitorHeight(m)) + "/203+";
        };
        run("xrandr --setmonitor " + std::string(right ? "L" : "'*L'") + " " + size(0) + "0+0 screen && " +
            "xrandr --setmonitor " + std::string(right ? "'*R'" : "R") + " " + size(1) +
            std::to_string(monitorWidth(0)) + "+0 none");
    }
    switch (options_.session) {
    case Session::Openbox:
        spawn({"openbox", "--sm-disable"}, dir_ + "/openbox.log");
        waitFor("xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'", 100);
        if (options_.panel)
            startPanel(options_.panelAtTop);
        return;
    case Session::Xfce:
        startXfce();
        return;
    case Session::Fluxbox:
    case Session::IceWM:
    case Session::I3:
        startOtherSession();
        return;
    case Session::Sway:
    case Session::KWin:
    case Session::Mutter:
    case Session::Gnome:
        break;
    }
    throw std::logic_error("no X desktop starts that session");
}

int VirtualDesktop::monitorWidth(std::size_t monitor) const {
    const double scale = monitor < options_.scales.size() ? options_.scales[monitor] : 1;
    return static_cast<int>(options_.width * scale + 0.5);
}

int VirtualDesktop::monitorHeight(std::size_t monitor) const {
    const double scale = monitor < options_.scales.size() ? options_.scales[monitor] : 1;
    return static_cast<int>(options_.height * scale + 0.5);
}

void VirtualDesktop::startOtherSession() {
    // The window manager draws the panel itself (fluxbox, IceWM) or starts
    // it (i3 runs i3bar): the panel's windows belong to the window manager's
    // process, or to a child of it.
    std::vector<std::string> argv;
    std::string panelReady;
    if (options_.session == Session::Fluxbox) {
        // Without a background of its own, fluxbox's style has fbsetbg set
        // its picture, which fails here and says so in an xmessage: a
        // window the tests would take for theirs.
        std::filesystem::create_directories(dir_ + "/home/.fluxbox");
        std::ofstream(dir_ + "/home/.fluxbox/overlay") << "background: none\n";
        argv = {"fluxbox"};
        panelReady = "! xprop -root _NET_WORKAREA | grep -q '= 0, 0, " + std::to_string(options_.width) +
                     ", " + std::to_string(options_.height) + "'";
    } else if (options_.session == Session::IceWM) {
        argv = {"icewm"};
        panelReady = "! xprop -root _NET_WORKAREA | grep -q '= 0, 0, " + std::to_string(options_.width) +
                     ", " + std::to_string(options_.height) + "'";
    } else if (options_.session == Session::I3) {
        const std::string config = dir_ + "/i3.conf";
        // Without the version line i3 converts the file and shows a bar of
        // its own at the top to say so.
        std::ofstream(config) << "# i3 config file (v4)\n"
                              << "font pango:monospace 8\n"
                              << "bar {\n  tray_output screen\n  status_command true\n}\n";
        argv = {"i3", "-c", config};
        panelReady = "xwininfo -root -tree | grep -q i3bar";
    } else {
        throw std::logic_error("no window manager of its own starts that session");
    }
    panelPid_ = spawn(argv, dir_ + "/wm.log");
    waitFor("xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'", 100);
    waitFor(panelReady, 100);
    // Its tray takes icons a moment after it shows.
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
}

void VirtualDesktop::startSessionBus() {
    std::string dbus = run("dbus-launch --sh-syntax");
    auto field = [&](const std::string& key) {
        auto at = dbus.find(key + "='");
        if (at == std::string::npos)
            return std::string();
        at += key.size() + 2;
        return dbus.substr(at, dbus.find('\'', at) - at);
    };
    dbusAddress_ = field("DBUS_SESSION_BUS_ADDRESS");
    auto pidAt = dbus.find("DBUS_SESSION_BUS_PID=");
    if (pidAt != std::string::npos)
        dbusPid_ = std::atoi(dbus.c_str() + pidAt + 21);
}

void VirtualDesktop::startWayland() {
    const std::string user = kSessionUser;
    if (std::system(("id -u " + user + " >/dev/null 2>&1 || useradd --system --no-create-home --shell " +
                     "/usr/sbin/nologin " + user + " >/dev/null 2>&1 || id -u " + user + " >/dev/null 2>&1")
                        .c_str()) != 0)
        throw std::runtime_error("cannot create the user " + user);
    // The desktop's folders become the user's; the folder that holds them
    // stays root's, passable by all.
    namespace fs = std::filesystem;
    fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    for (const char* sub : {"home", "config", "cache", "data", "runtime"})
        handOver(dir_ + "/" + sub);

    startSessionBus();
    // XWayland, started by the user, puts its socket where every X server
    // does; a folder that is not the usual one (root's, writable by all,
    // sticky) keeps a second compositor's XWayland out.
    std::filesystem::create_directories("/tmp/.X11-unix");
    if (chown("/tmp/.X11-unix", 0, 0) != 0 || chmod("/tmp/.X11-unix", 01777) != 0)
        throw std::runtime_error("cannot make /tmp/.X11-unix writable for XWayland");

    // Each compositor says which displays it made (XWayland's and its own)
    // where the test reads them.
    const std::string session = dir_ + "/home/session";
    const std::string tellDisplays = "echo \"$DISPLAY $WAYLAND_DISPLAY\" > " + session;
    const std::string size = std::to_string(options_.width) + "x" + std::to_string(options_.height);
    panelPid_ = 0;
    pid_t compositor = 0;
    std::string log;
    if (options_.session == Session::Sway) {
        // swaybar's tray hosts StatusNotifierItems.
        const std::string config = dir_ + "/sway.conf";
        std::ofstream(config) << "xwayland enable\n"
                              << "output HEADLESS-1 resolution " << size << "\n"
                              << "exec sh -c '" << tellDisplays << "'\n"
                              << "bar {\n  position bottom\n  tray_output *\n}\n";
        log = dir_ + "/sway.log";
        compositor = spawn({"env", "WLR_BACKENDS=headless", "WLR_RENDERER=pixman",
                            "WLR_LIBINPUT_NO_DEVICES=1", "sway", "-c", config},
                           log);
    } else if (options_.session == Session::KWin) {
        // Debian gives kwin_wayland a file capability, which an ordinary
        // user's exec of it is refused ("Operation not permitted") where the
        // capability is not to be had; a copy carries none.
        const std::string kwin = dir_ + "/kwin_wayland";
        std::filesystem::copy_file("/usr/bin/kwin_wayland", kwin);
        // KWin starts programs named on its command line, without arguments.
        const std::string script = dir_ + "/tell-displays";
        std::ofstream(script) << "#!/bin/sh\n" << tellDisplays << "\n";
        namespace fs = std::filesystem;
        fs::permissions(script, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
        log = dir_ + "/kwin.log";
        // KWin pushes the pointer back one pixel from a screen corner (its
        // screen edges), so a pointer sent to the character's corner at 0,0
        // ended at 1,1; the tests' pointer goes where it is sent.
        std::ofstream(dir_ + "/config/kwinrc") << "[Windows]\nElectricBorderPushbackPixels=0\n";
        handOver(dir_ + "/config");
        // KWin offers a client its fake input (the tests' pointer,
        // wlpointer) only without its permission checks.
        compositor =
            spawn({"env", "KWIN_WAYLAND_NO_PERMISSION_CHECKS=1",
                   // What the tests' KWin scripts print goes to the log,
                   // where KWin 6 (no window search on D-Bus) is read.
                   "QT_LOGGING_RULES=kwin_scripting.debug=true", kwin, "--virtual", "--xwayland", "--width",
                   std::to_string(options_.width), "--height", std::to_string(options_.height), script},
                  log);
    } else if (options_.session == Session::Mutter) {
        // Two workspaces that stay, so that there is one to switch to.
        run("gsettings set org.gnome.mutter dynamic-workspaces false && "
            "gsettings set org.gnome.desktop.wm.preferences num-workspaces 2");
        log = dir_ + "/mutter.log";
        compositor = spawn({"mutter", "--headless", "--wayland", "--virtual-monitor", size}, log);
        readMutterDisplays(log, session);
    } else if (options_.session == Session::Gnome) {
        log = dir_ + "/gnome-shell.log";
        compositor = startGnomeShell(log);
        readMutterDisplays(log, session);
    } else {
        throw std::logic_error("no compositor starts that session");
    }
    for (int i = 0; i < 150 && display_.empty(); ++i) {
        std::ifstream in(session);
        std::string x, wayland;
        if (in >> x >> wayland) {
            display_ = x;
            waylandDisplay_ = wayland;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    if (display_.empty()) {
        stopProcess(compositor);
        throw std::runtime_error("the compositor did not start; see " + log);
    }
    // The tests' virtual pointer (wlpointer), which the user runs.
    if (!std::string(KUVITO_WLPOINTER).empty()) {
        std::filesystem::copy_file(KUVITO_WLPOINTER, dir_ + "/wlpointer");
        handOver(dir_ + "/wlpointer");
    }
    // XWayland starts with its first client and lets in only the user who
    // runs it; the tests look at it as root.
    waitFor("xhost +SI:localuser:root", 100);
    if (options_.session == Session::Sway || options_.session == Session::Gnome)
        waitFor("gdbus call --session -d org.freedesktop.DBus -o / -m org.freedesktop.DBus.NameHasOwner "
                "org.kde.StatusNotifierWatcher | grep -q true",
                150);
    if (options_.session == Session::KWin)
    // KWin alone has one virtual desktop (its kwinrc is not read for
    // them); a second one to switch to is made over D-Bus.
    {
        waitFor("gdbus call --session -d org.freedesktop.DBus -o / -m org.freedesktop.DBus.NameHasOwner "
                "org.kde.KWin | grep -q true",
                50);
        run("gdbus call --session -d org.kde.KWin -o /VirtualDesktopManager -m "
            "org.kde.KWin.VirtualDesktopManager.createDesktop 1 second");
        waitFor("xprop -root _NET_NUMBER_OF_DESKTOPS | grep -q '= 2'", 30);
    }
    if (options_.session == Session::Gnome) {
        // The shell starts in its overview, which would take the first
        // click; a user's session leaves it at once.
        for (int i = 0; i < 100; ++i) {
            if (shellEval("Main.layoutManager._startingUp") == "false")
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        shellEval("Main.overview.hide(); true");
        for (int i = 0; i < 50 && shellEval("Main.overview.visible") != "false"; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

void VirtualDesktop::readMutterDisplays(const std::string& log, const std::string& session) {
    // Mutter names its displays only in its log, and lets X clients in by
    // an authority file of its own.
    for (int i = 0; i < 150; ++i) {
        const std::string text = run("cat " + shellQuote(log));
        std::smatch x, wayland;
        if (std::regex_search(text, x, std::regex("public X11 display (:[0-9]+)")) &&
            std::regex_search(text, wayland, std::regex("Wayland display name '([^']+)'"))) {
            xauthority_ = run("ls " + shellQuote(dir_) + "/runtime/.mutter-Xwaylandauth.* | head -n 1");
            xauthority_.erase(xauthority_.find_last_not_of('\n') + 1);
            std::ofstream(session) << x[1].str() << " " << wayland[1].str() << "\n";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

const char* VirtualDesktop::installedProgram() {
    const char* program = std::getenv("KUVITO_E2E_INSTALLED");
    return program && *program ? program : nullptr;
}

pid_t VirtualDesktop::startGnomeShell(const std::string& log) {
    // The notification area: Debian's AppIndicator extension, installed
    // system-wide. kuvito's own extension, when the build has it, goes into
    // the user's extensions folder, since the shell looks for extensions
    // only when it starts. Both are enabled as a user's settings would.
    std::string enabled = "'ubuntu-appindicators@ubuntu.com'";
    // Both forms of the build tree's extension, which report to the build's
    // program and to the tests' copies of it, each under its own UUID: the
    // shell loads the one made for it, as from the package.
    const std::pair<const char*, const char*> forms[] = {
        {KUVITO_GNOME_EXTENSION, KUVITO_EXTENSION_UUID},
        {KUVITO_LEGACY_GNOME_EXTENSION, KUVITO_LEGACY_EXTENSION_UUID}};
    for (const auto& [ours, uuid] : forms) {
        // The package's forms lie where the shell finds them already.
        if (installedProgram()) {
            enabled += ", '" + std::string(uuid) + "'";
            continue;
        }
        if (std::string(ours).empty() || !std::filesystem::is_directory(ours))
            continue;
        const std::string folder = dir_ + "/" + kGnomeExtensionsFolder;
        std::filesystem::create_directories(folder);
        std::filesystem::copy(ours, folder + "/" + uuid, std::filesystem::copy_options::recursive);
        handOver(dir_ + "/data");
        enabled += ", '" + std::string(uuid) + "'";
    }
    run("gsettings set org.gnome.shell enabled-extensions \"[" + enabled + "]\"");
    // The top-left corner opens the overview when the pointer touches it;
    // the character starts there, and the tests point at its corner.
    run("gsettings set org.gnome.desktop.interface enable-hot-corners false");
    // GNOME Shell runs as an ordinary user only where it finds no systemd
    // login manager, and it needs a system bus: as root, a mount namespace
    // hides the host's and starts one of its own, whose process id is kept
    // so it is stopped with the desktop. setpriv then becomes the user and
    // executes the shell in the same process, so the id the desktop holds
    // is the shell's.
    const std::string systemBus = dir_ + "/system-bus.pid";
    const std::string script =
        "mkdir -p /run/systemd /run/dbus && mount -t tmpfs none /run/systemd && "
        "mount -t tmpfs none /run/dbus && dbus-daemon --system --fork --print-pid > " +
        shellQuote(systemBus) + " && exec setpriv --reuid=" + kSessionUser + " --regid=" + kSessionUser +
        " --init-groups gnome-shell --headless --wayland --virtual-monitor " +
        std::to_string(options_.width) + "x" + std::to_string(options_.height) + " --unsafe-mode";
    const pid_t shell = spawnAsIs({"unshare", "-m", "sh", "-c", script}, log);
    for (int i = 0; i < 50 && systemBusPid_ <= 0; ++i) {
        std::ifstream in(systemBus);
        if (!(in >> systemBusPid_))
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return shell;
}

std::optional<std::string> VirtualDesktop::shellEval(const std::string& script) const {
    // The answer is (true, 'JSON') when the script ran.
    std::string out =
        run("gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell --method "
            "org.gnome.Shell.Eval " +
            shellQuote(script));
    const std::string ok = "(true, '";
    const auto end = out.rfind("')");
    if (out.rfind(ok, 0) != 0 || end == std::string::npos || end < ok.size())
        return std::nullopt;
    std::string value = out.substr(ok.size(), end - ok.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return value;
}

std::vector<std::string> VirtualDesktop::asSessionUser(std::vector<std::string> argv) const {
    if (!asUser())
        return argv;
    // setpriv executes the program in its own process (runuser would wait
    // in a parent), so the process id the test holds is the program's.
    std::vector<std::string> out = {"setpriv", std::string("--reuid=") + kSessionUser,
                                    std::string("--regid=") + kSessionUser, "--init-groups"};
    out.insert(out.end(), argv.begin(), argv.end());
    return out;
}

void VirtualDesktop::handOver(const std::string& path) const {
    if (asUser())
        std::system(("chown -R " + std::string(kSessionUser) + ": " + shellQuote(path)).c_str());
}

void VirtualDesktop::startXfce() {
    // The panel reads its layout through xfconfd, which the session bus
    // starts; the packaged default layout gives a top panel with the
    // notification area.
    const std::string channels = dir_ + "/config/xfce4/xfconf/xfce-perchannel-xml";
    std::filesystem::create_directories(channels);
    std::filesystem::copy_file("/etc/xdg/xfce4/panel/default.xml", channels + "/xfce4-panel.xml",
                               std::filesystem::copy_options::overwrite_existing);
    spawn({"xfwm4", "--compositor=off"}, dir_ + "/xfwm4.log");
    waitFor("xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'", 100);
    panelPid_ = spawn({"xfce4-panel"}, dir_ + "/xfce4-panel.log");
    // Ready once its tray watches for items and the panel reserved its edge.
    waitFor(
        "gdbus call --session -d org.freedesktop.DBus -o / -m org.freedesktop.DBus.NameHasOwner "
        "org.kde.StatusNotifierWatcher | grep -q true && ! xprop -root _NET_WORKAREA | grep -q '= 0, 0, '",
        150);
}

VirtualDesktop::~VirtualDesktop() {
    stopAll();
    std::error_code ec;
    if (!std::getenv("KUVITO_E2E_KEEP"))
        std::filesystem::remove_all(dir_, ec);
}

void VirtualDesktop::stopAll() {
    stopPanel();
    for (auto it = pids_.rbegin(); it != pids_.rend(); ++it)
        stopProcess(*it);
    pids_.clear();
    if (dbusPid_ > 0)
        kill(dbusPid_, SIGTERM);
    dbusPid_ = 0;
    if (systemBusPid_ > 0)
        kill(systemBusPid_, SIGTERM);
    systemBusPid_ = 0;
}

std::vector<std::string> VirtualDesktop::environment() const {
    std::vector<std::string> env = {
        "DISPLAY=" + display_,
        "HOME=" + dir_ + "/home",
        "XDG_CONFIG_HOME=" + dir_ + "/config",
        "XDG_CACHE_HOME=" + dir_ + "/cache",
        "XDG_DATA_HOME=" + dir_ + "/data",
        "XDG_RUNTIME_DIR=" + dir_ + "/runtime",
        "DBUS_SESSION_BUS_ADDRESS=" + (dbusAddress_.empty() ? "unix:path=/nonexistent" : dbusAddress_),
        "QT_QPA_PLATFORM=xcb",
        "PATH=" + std::string(std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin"),
    };
    if (!xauthority_.empty())
        env.push_back("XAUTHORITY=" + xauthority_);
    if (!waylandDisplay_.empty()) {
        env.push_back("WAYLAND_DISPLAY=" + waylandDisplay_);
        // What the bar asks of a tray icon shows in the program's log.
        env.push_back("QT_LOGGING_RULES=qt.qpa.tray=true");
    }
    if (!options_.scales.empty()) {
        // By the monitors' names (xrandr's), so that the order Qt lists
        // them in does not matter.
        std::ostringstream factors;
        for (std::size_t m = 0; m < options_.scales.size(); ++m)
            factors << (m ? ";" : "") << (m ? "R=" : "L=") << options_.scales[m];
        env.push_back("QT_SCREEN_SCALE_FACTORS=" + factors.str());
    }
    if (options_.scale != 1) {
        std::ostringstream factor;
        factor << options_.scale;
        env.push_back("QT_SCALE_FACTOR=" + factor.str());
    }
    if (const char* lang = std::getenv("LANG"))
        env.push_back(std::string("LANG=") + lang);
    return env;
}

std::string VirtualDesktop::run(const std::string& command) const {
    std::string prefix;
    for (const auto& word : asSessionUser({"env", "-i"}))
        prefix += (prefix.empty() ? "" : " ") + word;
    for (const auto& kv : environment())
        prefix += " " + shellQuote(kv);
    FILE* p = popen((prefix + " bash -c " + shellQuote(command) + " 2>/dev/null").c_str(), "r");
    if (!p)
        return {};
    std::string out = readAll(p);
    pclose(p);
    return out;
}

pid_t VirtualDesktop::spawn(const std::vector<std::string>& command, const std::string& logFile) {
    return spawnAsIs(asSessionUser(command), logFile);
}

pid_t VirtualDesktop::spawnAsIs(const std::vector<std::string>& argv, const std::string& logFile) {
    std::vector<std::string> env = environment();
    pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        int log = open(logFile.empty() ? "/dev/null" : logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(log, 1);
        dup2(log, 2);
        std::vector<char*> args, envp;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        for (const auto& e : env)
            envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        execvpe(args[0], args.data(), envp.data());
        _exit(127);
    }
    pids_.push_back(pid);
    return pid;
}

void VirtualDesktop::stopProcess(pid_t pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        int status;
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid || (r < 0 && errno == ECHILD))
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

void VirtualDesktop::startPanel(bool atTop) {
    stopPanel();
    std::string config = dir_ + "/tint2rc";
    {
        // A plain panel with a task list and a notification area; only its
        // edge changes between tests.
        std::ofstream rc(config);
        rc << "panel_items = TS\n"
           << "panel_size = 100% 30\n"
           << "panel_position = " << (atTop ? "top" : "bottom") << " center horizontal\n"
           << "panel_layer = top\n"
           << "panel_dock = 0\n"
           << "strut_policy = follow_size\n"
           << "panel_background_id = 0\n"
           << "taskbar_mode = single_desktop\n"
           << "systray_padding = 0 4 2\n"
           << "systray_icon_size = 24\n"
           // A panel on every monitor (tint2 puts one on the first only
           // unless told).
           << "panel_monitor = all\n";
    }
    panelPid_ = spawn({"tint2", "-c", config}, dir_ + "/tint2.log");
    std::string full = std::to_string(options_.height);
    const int monitors = options_.monitors == Monitors::One ? 1 : 2;
    waitFor("xdotool search --classname tint2 >/dev/null && ! xprop -root _NET_WORKAREA | grep -q ', " +
                std::to_string(options_.width * monitors) + ", " + full + "'",
            100);
}

void VirtualDesktop::stopPanel() {
    if (panelPid_ > 0) {
        stopProcess(panelPid_);
        std::erase(pids_, panelPid_);
        panelPid_ = 0;
    }
}

void VirtualDesktop::screenshot(const std::string& path) const {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    if (asUser()) {
        // The compositor's picture: XWayland's root window shows nothing
        // but X windows. Only wlroots compositors (sway) let grim take it;
        // KWin and Mutter give none to a client.
        if (options_.session == Session::Sway)
            std::ofstream(path, std::ios::binary) << run("grim -");
        // GNOME Shell takes its own picture for a caller it trusts, as in
        // its unsafe mode; it writes where the user may.
        if (options_.session == Session::Gnome) {
            const std::string shot = dir_ + "/home/screenshot.png";
            run("gdbus call --session --dest org.gnome.Shell.Screenshot --object-path "
                "/org/gnome/Shell/Screenshot "
                "--method org.gnome.Shell.Screenshot.Screenshot false false " +
                shellQuote(shot));
            std::error_code ec;
            std::filesystem::copy_file(shot, path, std::filesystem::copy_options::overwrite_existing, ec);
        }
        return;
    }
    run("import -window root " + shellQuote(path));
}

void VirtualDesktop::waitFor(const std::string& condition, int tenthsOfSeconds) const {
    for (int i = 0; i < tenthsOfSeconds; ++i) {
        if (run("(" + condition + ") && echo yes").find("yes") != std::string::npos)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}
