#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "ScreenPoint.h"
#include "ScreenRect.h"
#include "ScreenSize.h"

// The window in front, as far as the program can tell.
struct ForegroundWindow {
    std::uintptr_t id = 0; // opaque; equal ids mean the same window
    ScreenRect rect;       // outer rectangle, frame included
};

// What a session keeps from the program. On a Wayland compositor the
// program is an X11 client of XWayland, which learns where the pointer is
// only while it is over an X11 window, to which the windows of native
// Wayland programs do not exist (none of them is ever the front window) and
// which reports no panel that is a Wayland surface. A compositor helper may
// tell the program some of these; the desktop sets only what stays hidden.
// The mascot window tells the user once what that means for the modes.
struct SessionLimits {
    bool pointerOnlyOverX11Windows = false;
    bool onlyX11WindowsInFront = false;
    // The compositor's helper that would tell the program the rest is
    // installed, but the running session has not loaded it yet (GNOME Shell
    // finds extensions when it starts): logging out and in completes it.
    bool newLoginCompletesSetUp = false;
    // The panel is a surface XWayland does not report (swaybar), so mode 3
    // walks on the screen's bottom edge.
    bool panelUnknown = false;
    // The UUID of the compositor's helper (GNOME Shell's extension) when
    // the user has switched it off, the first time the program finds that:
    // the notice says how to turn it on again. Null otherwise.
    const char* helperSwitchedOff = nullptr;
    // The UUID of that helper when the shell loads none of its forms, being
    // made for other versions of the shell, or when it failed in the shell;
    // whether it is installed nowhere the shell looks. The notice says which,
    // and what to do.
    const char* helperOutOfDate = nullptr;
    const char* helperFailed = nullptr;
    bool helperMissing = false;
};

// What the program asks about the screen, the pointer and the shell.
class DesktopQueries {
public:
    virtual ~DesktopQueries() = default;

    virtual ScreenSize screenSize() const = 0; // primary screen, pixels
    virtual ScreenPoint cursorPos() const = 0; // screen coordinates
    virtual std::optional<ForegroundWindow> foregroundWindow() const = 0;
    // The taskbar (panel) rectangle, or nothing when it cannot be found.
    virtual std::optional<ScreenRect> taskbarRect() const = 0;
    // Nothing is kept from the program on an X11 desktop.
    virtual SessionLimits sessionLimits() const = 0;

    // The whole monitor (panels included) that the window in front fills in
    // full screen, or nothing when the front window is not full screen or
    // the desktop cannot tell. It answers from what the desktop last
    // reported, without asking the window system, so that asking on every
    // tick costs nothing; a desktop that cannot tell answers nothing.
    virtual std::optional<ScreenRect> fullScreenMonitor() const { return std::nullopt; }
    // Calls `changed` from the event loop whenever fullScreenMonitor's answer
    // may have changed, on a desktop that hears of it as it happens; on the
    // others the caller asks again on its own ticks. One watcher at a time:
    // a new one replaces the last, an empty one ends watching.
    virtual void watchFullScreen(std::function<void()> changed) { (void)changed; }
};
