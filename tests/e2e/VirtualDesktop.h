#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// A private X desktop for one end-to-end test: Xvfb on a display number it
// picks itself (-displayfd), openbox, optionally tint2 with its notification
// area, a D-Bus session of its own, and HOME/XDG folders in a temporary
// directory. Everything it starts is stopped by process id.
class VirtualDesktop {
public:
    // The window manager and panel: openbox with a tint2 panel (its tray
    // docks icons by XEmbed), Xfce (xfwm4 and xfce4-panel, whose tray hosts
    // StatusNotifierItems over D-Bus), fluxbox and IceWM with their own
    // taskbars, or i3 with i3bar (XEmbed trays all three). Sway, KWin and
    // Mutter are Wayland compositors, headless; X programs run on the
    // XWayland each starts. Sway has swaybar, whose tray hosts
    // StatusNotifierItems; GNOME Shell its top bar, with the AppIndicator
    // extension as the notification area. Sway refuses to run as root, so
    // the Wayland desktops and every program started on them run as an
    // ordinary user (kSessionUser), created when missing.
    enum class Session { Openbox, Xfce, Fluxbox, IceWM, I3, Sway, KWin, Mutter, Gnome };
    static constexpr const char* kSessionUser = "kuvito-tests";
    // Two monitors side by side, each width x height, on one X screen; the
    // primary one on the left or on the right. tint2 puts a panel on each.
    enum class Monitors { One, PrimaryLeft, PrimaryRight };
    struct Options {
        int width = 1024; // of one monitor
        int height = 768;
        bool panel = true;
        bool panelAtTop = false;
        Session session = Session::Openbox;
        Monitors monitors = Monitors::One;
        // Qt's scale for programs started here (QT_SCALE_FACTOR), as on a
        // high-density screen; 1 leaves it unset.
        double scale = 1;
        // Each monitor's own scale, left first (QT_SCREEN_SCALE_FACTORS), as
        // a laptop's dense screen beside an ordinary one: the monitor has
        // that many device pixels per logical one. Empty leaves it unset.
        std::vector<double> scales = {};
    };

    explicit VirtualDesktop(Options options);
    VirtualDesktop() : VirtualDesktop(Options{}) {}
    ~VirtualDesktop();
    VirtualDesktop(const VirtualDesktop&) = delete;
    VirtualDesktop& operator=(const VirtualDesktop&) = delete;

    // The installed program the tests run instead of the build's, with the
    // helpers its package installed (KUVITO_E2E_INSTALLED, which
    // tools/desktop-matrix.sh --package sets), or null for the build's.
    static const char* installedProgram();

    const std::string& display() const { return display_; }
    const std::string& dir() const { return dir_; }
    // The environment a program on this desktop needs (DISPLAY, HOME, ...).
    std::vector<std::string> environment() const;

    // Runs a shell command on this desktop and returns its standard output.
    std::string run(const std::string& command) const;
    // Starts a program on this desktop; the desktop stops it at the end.
    pid_t spawn(const std::vector<std::string>& argv, const std::string& logFile = {});
    void stopProcess(pid_t pid);

    void startPanel(bool atTop);
    void stopPanel();
    pid_t panelPid() const { return panelPid_; }
    // Saves a screenshot of the whole screen.
    void screenshot(const std::string& path) const;
    // Whether programs here run as kSessionUser (the Wayland desktops).
    bool asUser() const {
        return options_.session == Session::Sway || options_.session == Session::KWin ||
               options_.session == Session::Mutter || options_.session == Session::Gnome;
    }
    const Options& options() const { return options_; }
    // A monitor's size in device pixels (index 0 is the left one).
    int monitorWidth(std::size_t monitor) const;
    int monitorHeight(std::size_t monitor) const;
    // Runs JavaScript in GNOME Shell (started in its unsafe mode) and returns
    // what it gives back, or nothing when the call failed.
    std::optional<std::string> shellEval(const std::string& script) const;
    // The user's extensions folder on GNOME: extensions put here before the
    // desktop starts are found by the shell.
    static constexpr const char* kGnomeExtensionsFolder = "data/gnome-shell/extensions";
    // Hands a file or folder to the user that programs here run as, so that
    // a program started here may write beside itself as it would at home.
    void handOver(const std::string& path) const;

private:
    void waitFor(const std::string& condition, int tenthsOfSeconds) const;
    void startXfce();
    void startOtherSession();
    void startWayland();
    // Starts GNOME Shell in a mount namespace of its own, where it finds no
    // login manager and a system bus of its own.
    pid_t startGnomeShell(const std::string& log);
    // Reads the displays Mutter (alone or as GNOME Shell) names in its log.
    void readMutterDisplays(const std::string& log, const std::string& session);
    pid_t spawnAsIs(const std::vector<std::string>& argv, const std::string& logFile);
    // Stops everything the desktop started, by process id.
    void stopAll();
    // A session bus of the desktop's own (for sway, the user's).
    void startSessionBus();
    // The command line that runs argv here as the desktop's user.
    std::vector<std::string> asSessionUser(std::vector<std::string> argv) const;

    Options options_;
    std::string dir_;
    std::string display_;
    std::string dbusAddress_;
    std::string waylandDisplay_;
    std::string xauthority_;
    pid_t dbusPid_ = 0;
    pid_t systemBusPid_ = 0; // GNOME Shell's private system bus
    pid_t panelPid_ = 0;
    std::vector<pid_t> pids_;
};
