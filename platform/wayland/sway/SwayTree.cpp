#include "SwayTree.h"

#include <cmath>
#include <limits>
#include <string>

namespace {

// Coordinates beyond this are not a screen's; such a rectangle is ignored.
constexpr double kFarthest = 1 << 24;

std::optional<int> intMember(const JsonValue& node, const char* name) {
    const JsonValue* v = node.member(name);
    const std::optional<double> n = v ? v->number() : std::nullopt;
    if (!n || std::fabs(*n) > kFarthest)
        return std::nullopt;
    return static_cast<int>(*n);
}

// A rectangle as sway writes it ({"x", "y", "width", "height"}), or nothing
// when it is missing, absurd or of negative size.
std::optional<ScreenRect> rectMember(const JsonValue& node, const char* name) {
    const JsonValue* r = node.member(name);
    if (!r)
        return std::nullopt;
    const auto x = intMember(*r, "x"), y = intMember(*r, "y");
    const auto width = intMember(*r, "width"), height = intMember(*r, "height");
    if (!x || !y || !width || !height || *width < 0 || *height < 0)
        return std::nullopt;
    return ScreenRect{*x, *y, *x + *width, *y + *height};
}

std::string typeOf(const JsonValue& node) {
    const JsonValue* t = node.member("type");
    const std::string* s = t ? t->string() : nullptr;
    return s ? *s : std::string();
}

bool isFocused(const JsonValue& node) {
    const JsonValue* f = node.member("focused");
    return f && f->boolean().value_or(false);
}

struct Walk {
    int ownPid;
    SwayFocus found;
    bool done = false;

    // The window as the character stands on it: sway's "rect", its borders
    // and contents. The title bar above ("deco_rect") is left out: a tiled
    // window's title bar starts at the workspace's top, where nothing can
    // stand, and an X11 window's own top (what XWayland reports) is the
    // contents' too, so the character stands on the title bar's lower edge.
    void takeWindow(const JsonValue& node) {
        const std::optional<ScreenRect> frame = rectMember(node, "rect");
        if (!frame)
            return;
        const JsonValue* idValue = node.member("id");
        const double id = idValue ? idValue->number().value_or(-1) : -1;
        const auto pid = intMember(node, "pid");
        const bool idFits = id >= 0 && id <= double(std::numeric_limits<std::uint32_t>::max());
        found.window = CompositorReport::Window{idFits ? static_cast<std::uint64_t>(id) : 0, *frame,
                                                pid && *pid == ownPid};
    }

    void visit(const JsonValue& node, const JsonValue* workspace) {
        if (done)
            return;
        const std::string type = typeOf(node);
        if (type == "workspace")
            workspace = &node;
        if (isFocused(node)) {
            done = true;
            if (workspace)
                found.workArea = rectMember(*workspace, "rect");
            if (type == "con" || type == "floating_con")
                takeWindow(node);
            return;
        }
        for (const char* children : {"nodes", "floating_nodes"})
            if (const JsonValue* list = node.member(children))
                for (const JsonValue& child : list->items())
                    visit(child, workspace);
    }
};

} // namespace

SwayFocus SwayTree::focus(const JsonValue& tree, int ownPid) {
    Walk walk{ownPid, {}};
    walk.visit(tree, nullptr);
    return walk.found;
}
