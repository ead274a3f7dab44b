#pragma once

#include "CompositorFeed.h"
#include "CompositorReceiver.h"

#include <memory>

// Chooses, once at start-up on an XWayland session, where the compositor's
// answers come from, by what the session offers: GNOME Shell (its
// extension pushes to a CompositorReceiver), KWin (its script does: KWinFeed)
// or sway (its IPC socket: SwayFeed). Null when the compositor offers
// nothing the program knows; the X server's answers are then all there is.
// screens: the rectangle holding every monitor, which a helper's reports
// must lie on.
class CompositorSelection {
public:
    static std::unique_ptr<CompositorFeed> choose(const CompositorReceiver::Screens& screens);
};
