#pragma once

#include "CompositorReport.h"

#include <QJsonObject>

#include <optional>
#include <string_view>

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
    // Nested arrays and objects the walk goes into, counted together. sway's
    // window tree nests two levels per container; no real tree comes near
    // this, and the walk's recursion stays far from the stack's end.
    static constexpr int kMaxDepth = 200;

    // The JSON object a message's payload is, or nothing when the payload is
    // not exactly one valid JSON object. QtCore's reader refuses invalid
    // UTF-8 and bounds its own nesting, and costs a fraction of the memory
    // of a tree of values of our own.
    static std::optional<QJsonObject> parse(std::string_view payload);
    // Walks the tree; a tree that is not shaped as sway's, or that nests
    // deeper than kMaxDepth on the way to the focus, gives nothing.
    static SwayFocus focus(const QJsonObject& tree, int ownPid);
};
