#pragma once

#include "CompositorFeed.h"

#include <memory>

// Chooses, once at start-up on an XWayland session, where the compositor's
// answers come from, by what the session offers: GNOME Shell (its
// extension pushes to a CompositorReceiver), KWin (its script does: KWinFeed)
// or sway (its IPC socket: SwayFeed). Null when the compositor offers
// nothing the program knows; the X server's answers are then all there is.
class CompositorSelection {
public:
    static std::unique_ptr<CompositorFeed> choose();
};
