#pragma once

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
    // XWayland each starts. Only sway has a panel here (swaybar, whose tray
    // hosts StatusNotifierItems). Sway refuses to run as root, so the
    // Wayland desktops and every program started on them run as an
    // ordinary user (kSessionUser), created when missing.
    enum class Session { Openbox, Xfce, Fluxbox, IceWM, I3, Sway, KWin, Mutter };
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
    };

    explicit VirtualDesktop(Options options);
    VirtualDesktop() : VirtualDesktop(Options{}) {}
    ~VirtualDesktop();
    VirtualDesktop(const VirtualDesktop&) = delete;
    VirtualDesktop& operator=(const VirtualDesktop&) = delete;

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
               options_.session == Session::Mutter;
    }
    // Hands a file or folder to the user that programs here run as, so that
    // a program started here may write beside itself as it would at home.
    void handOver(const std::string& path) const;

private:
    void waitFor(const std::string& condition, int tenthsOfSeconds) const;
    void startXfce();
    void startOtherSession();
    void startWayland();
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
    pid_t panelPid_ = 0;
    std::vector<pid_t> pids_;
};
