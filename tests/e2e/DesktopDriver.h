#pragma once

#include "DesktopList.h"
#include "VirtualDesktop.h"
#include "XClient.h"

#include <optional>
#include <string>
#include <sys/types.h>

// What a user does on a desktop of the matrix, done the way that desktop
// lets a test do it: the pointer (xdotool's XTEST on an X server; on a
// Wayland compositor a virtual pointer of wlroots' protocol or one made
// inside GNOME Shell, since XTEST moves only XWayland's own pointer, which
// neither the compositor nor a native window sees), the workspace switch,
// and a native Wayland window to point at or walk on.
class DesktopDriver {
public:
    DesktopDriver(VirtualDesktop& desktop, const DesktopRow& row) : desktop_(desktop), row_(row) {}

    bool canPoint() const { return row_.pointer != DesktopRow::Pointer::None; }
    // Whether a button pressed by one run of steps stays pressed into the
    // next (a wlroots virtual pointer leaves the seat when its run ends).
    bool holdsButtonsBetweenRuns() const { return row_.pointer != DesktopRow::Pointer::WlPointer; }
    // Pointer steps, in X's device pixels: "move X Y", "press", "release"
    // ("press right", "release right" for the right button), "sleep MS".
    // They run in a process of their own; waitForPointer waits for its end.
    pid_t startPointer(const std::string& steps);
    void waitForPointer(pid_t run);
    void point(const std::string& steps) { waitForPointer(startPointer(steps)); }

    // Brings the shown X window of that title to the front as a user
    // would, and waits until it is the active window; its id, or nothing.
    std::optional<XClient::Window> bringToFront(XClient& x, const std::string& title);

    // Switches to the workspace of that index (0 is the first) and tells
    // whether the desktop then names it as the current one.
    bool switchWorkspace(int index);

    // A native Wayland window (zenity on GTK's Wayland backend), shown
    // where the desktop lets the test place it and focused; its frame as
    // the compositor has it. Only where the compositor tells a test where
    // its windows are (GNOME Shell, sway, KWin).
    static constexpr const char* kNativeTitle = "kuvito-native";
    struct NativeWindow {
        pid_t pid = 0;
        XClient::Rect frame;
    };
    bool canShowNativeWindow() const;
    // Makes the window of that title full screen (or takes it back), as
    // its program or the user would on that desktop: a native Wayland one
    // (showNativeWindow) through the compositor, an X window through the
    // window manager.
    void setFullScreen(const std::string& title, bool native, bool on);
    // At 300,300 by default; `top` puts its top there instead, and
    // `maximised` has the compositor maximise it (sway: tile it, which
    // fills the workspace).
    struct Placement {
        int top;
        bool maximised;
    };
    std::optional<NativeWindow> showNativeWindow(Placement where);
    std::optional<NativeWindow> showNativeWindow() { return showNativeWindow(Placement{300, false}); }
    // Whether the window of that process is on the current workspace and
    // shown, as GNOME Shell draws it.
    bool shellShowsWindowOf(int pid) const;
    // The visible frame the compositor (GNOME Shell, KWin) has for the
    // window of that title: no invisible borders, no shadow, and on KWin 6,
    // which frames X windows without reparenting them, the title bar too.
    // Nothing on other desktops.
    std::optional<XClient::Rect> compositorFrameOf(const std::string& title) const;
    // The processes of the windows GNOME Shell stacks, bottom first.
    std::string shellStackingPids() const;

    // Runs swaymsg with those arguments on sway's socket; its output.
    std::string swaymsgFor(const std::string& arguments) const { return swaymsg(arguments); }

private:
    int currentWorkspace() const;
    std::string swaymsg(const std::string& arguments) const;
    // Runs the KWin script in that file once, under that name; settle: and
    // waits until it has run (what it did or printed is read next).
    void runKWinScript(const std::string& path, const std::string& name, bool settle = true) const;
    // The frame KWin has for the window of that caption, as a script tells it.
    std::optional<XClient::Rect> kwinFrameOf(const std::string& caption) const;
    // On KWin: the native window moved to where the character can stand on
    // it and activated; its frame as "x y width height", or empty.
    std::string kwinPlaceNative(Placement where) const;

    VirtualDesktop& desktop_;
    const DesktopRow& row_;
};
