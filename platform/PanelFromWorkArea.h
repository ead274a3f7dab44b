#pragma once

#include "ScreenRect.h"

#include <optional>

// The panel as the edge of a monitor that its work area leaves out: the
// strip between the work area and the monitor's edge on the first side
// (bottom, top, right, left) where there is one. Where the desktop names
// no panel window (a Wayland compositor's own bar, a panel XWayland cannot
// see) this is the panel the movers walk along. Standard library only.
class PanelFromWorkArea {
public:
    // Nothing when the work area covers the whole monitor.
    static std::optional<ScreenRect> find(ScreenRect monitor, ScreenRect workArea);
};
