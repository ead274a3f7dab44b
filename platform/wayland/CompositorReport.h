#pragma once

#include "ScreenRect.h"

#include <cstdint>
#include <optional>

// What a Wayland compositor tells the program that its XWayland cannot: where
// the pointer is over native windows and the desktop, the front window's
// visible frame (native or X11) and the primary monitor's work area. Helpers
// inside the compositor (a GNOME Shell extension, a KWin script) push these
// as they change, and sway answers on its IPC socket, so reading a report
// never waits. Positions are the compositor's logical pixels, which are
// XWayland's pixels on an unscaled output.
struct CompositorReport {
    struct Point {
        int x = 0, y = 0;
        bool operator==(const Point&) const = default;
    };
    struct Window {
        std::uint64_t id = 0; // opaque, stable while the window lives
        ScreenRect frame;     // the visible frame: no invisible borders or shadow
        // The window belongs to this program (the helper compares the
        // window's process with the bus name's owner), so that the program
        // knows its own window without anyone sending process ids or titles.
        bool ownWindow = false;
        // The window fills its monitor in full screen.
        bool fullScreen = false;
        bool operator==(const Window&) const = default;
    };

    // Nothing until first reported; sway never reports the pointer.
    std::optional<Point> pointer;
    // Whether the helper has said anything about the front window yet; once
    // it has, an empty frontWindow means that no window has the focus.
    bool frontWindowKnown = false;
    std::optional<Window> frontWindow;
    // The primary monitor's area that panels leave free; nothing until known.
    std::optional<ScreenRect> workArea;

    bool operator==(const CompositorReport&) const = default;
};
