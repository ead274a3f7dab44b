#pragma once

#include "ScreenRect.h"

#include <optional>

// Whether the window in front is full screen, from what Windows tells of it.
// The window must leave nothing of its monitor (the whole of it, the
// taskbar's strip included) outside its client area: a maximised window
// with a caption spreads its frame over a monitor without a taskbar too, but
// its caption stays, and the user still works beside the character. The
// shell's own word (SHQueryUserNotificationState saying busy, Direct3D full
// screen or presentation) names no window and no monitor, and Wine always
// answers "accepts notifications"; where the shell says so, a window whose
// frame covers its monitor counts as well (a full-screen window with a thin
// border), unless it is maximised. Standard library only.
class FullScreenRule {
public:
    // What the watch reads of the window in front, in screen pixels.
    struct Front {
        ScreenRect frame;   // the window's rectangle, frame included
        ScreenRect client;  // its client area
        ScreenRect monitor; // the whole monitor it lies on
        bool maximised = false;
        bool minimised = false;
        bool shellSaysFullScreen = false;
    };

    // The monitor the window fills, or nothing.
    static std::optional<ScreenRect> filledMonitor(const Front& front);
};
