#pragma once

#include <QPoint>
#include <QSize>

#include <cstdint>
#include <optional>

#include "ScreenRect.h"

// The window in front, as far as the program can tell.
struct ForegroundWindow {
    std::uintptr_t id = 0; // opaque; equal ids mean the same window
    ScreenRect rect;       // outer rectangle, frame included
};

// What a session keeps from the program. On a Wayland compositor the
// program is an X11 client of XWayland, which learns where the pointer is
// only while it is over an X11 window, and to which the windows of native
// Wayland programs do not exist: none of them is ever the front window.
struct SessionLimits {
    bool pointerOnlyOverX11Windows = false;
    bool onlyX11WindowsInFront = false;
    // The compositor's helper that would tell the program the rest is
    // installed, but the running session has not loaded it yet (GNOME Shell
    // finds extensions when it starts): logging out and in completes it.
    bool newLoginCompletesSetUp = false;
};

// What the program asks about the screen, the pointer and the shell.
class DesktopQueries {
public:
    virtual ~DesktopQueries() = default;

    virtual QSize screenSize() const = 0; // primary screen, pixels
    virtual QPoint cursorPos() const = 0; // screen coordinates
    virtual std::optional<ForegroundWindow> foregroundWindow() const = 0;
    // The taskbar (panel) rectangle, or nothing when it cannot be found.
    virtual std::optional<ScreenRect> taskbarRect() const = 0;
    // Nothing is kept from the program on an X11 desktop.
    virtual SessionLimits sessionLimits() const = 0;
};
