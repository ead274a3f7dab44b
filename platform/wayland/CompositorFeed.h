#pragma once

#include "CompositorReport.h"
#include "DesktopQueries.h"

// Where a Wayland compositor's answers come from: the D-Bus receiver that
// a helper inside the compositor pushes to (GNOME Shell, KWin) or a feed
// that asks the compositor itself (sway's IPC socket). X11Desktop chooses
// one at start-up (CompositorSelection) and answers the pointer, front
// window and panel queries from its report where the report knows them.
class CompositorFeed {
public:
    virtual ~CompositorFeed() = default;

    // What the compositor has told so far; reading it never waits.
    virtual const CompositorReport& report() const = 0;
    // What the session still keeps from the program with this feed (sway
    // tells no client where the pointer is).
    virtual SessionLimits limits() const = 0;
    // Asks the compositor to tell XWayland the pointer's place again, where
    // it may have held back the last motion of a drag (sway: see SwayFeed).
    // False where nothing was asked.
    virtual bool repeatPointer() { return false; }
};
