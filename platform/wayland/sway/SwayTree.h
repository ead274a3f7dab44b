#pragma once

#include "CompositorReport.h"
#include "JsonValue.h"

#include <optional>

// What sway's window tree (the reply to GET_TREE) says about the focus: the
// focused window's rectangle below its title bar and the rectangle of the workspace it is on,
// which sway shrinks by the bars (swaybar), so that it is the work area.
struct SwayFocus {
    // Nothing when the focus is on an empty workspace (or nowhere). The
    // window is the program's own when its process is ownPid.
    std::optional<CompositorReport::Window> window;
    std::optional<ScreenRect> workArea;

    bool operator==(const SwayFocus&) const = default;
};

class SwayTree {
public:
    // Walks the tree; a tree that is not shaped as sway's gives nothing.
    static SwayFocus focus(const JsonValue& tree, int ownPid);
};
