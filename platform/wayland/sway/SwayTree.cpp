#include "SwayTree.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonValue>

#include <cmath>
#include <limits>

namespace {

// Coordinates beyond this are not a screen's; such a rectangle is ignored.
constexpr double kFarthest = 1 << 24;

std::optional<int> intMember(const QJsonObject& node, QLatin1StringView name) {
    const QJsonValue v = node.value(name);
    if (!v.isDouble() || std::fabs(v.toDouble()) > kFarthest)
        return std::nullopt;
    return static_cast<int>(v.toDouble());
}

// A rectangle as sway writes it ({"x", "y", "width", "height"}), or nothing
// when it is missing, absurd or of negative size.
std::optional<ScreenRect> rectMember(const QJsonObject& node, QLatin1StringView name) {
    const QJsonValue member = node.value(name);
    if (!member.isObject())
        return std::nullopt;
    const QJsonObject r = member.toObject();
    const auto x = intMember(r, QLatin1StringView("x")), y = intMember(r, QLatin1StringView("y"));
    const auto width = intMember(r, QLatin1StringView("width"));
    const auto height = intMember(r, QLatin1StringView("height"));
    if (!x || !y || !width || !height || *width < 0 || *height < 0)
        return std::nullopt;
    return ScreenRect{*x, *y, *x + *width, *y + *height};
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
    void takeWindow(const QJsonObject& node) {
        const std::optional<ScreenRect> frame = rectMember(node, QLatin1StringView("rect"));
        if (!frame)
            return;
        const double id = node.value(QLatin1StringView("id")).toDouble(-1);
        const auto pid = intMember(node, QLatin1StringView("pid"));
        const bool idFits = id >= 0 && id <= double(std::numeric_limits<std::uint32_t>::max());
        // 1: full screen on its output, 2: over every output.
        const auto fullScreen = intMember(node, QLatin1StringView("fullscreen_mode"));
        found.window = CompositorReport::Window{idFits ? static_cast<std::uint64_t>(id) : 0, *frame,
                                                pid && *pid == ownPid, fullScreen.value_or(0) != 0};
    }

    // `depth` counts the arrays and objects around `node` and itself.
    void visit(const QJsonObject& node, const QJsonObject* workspace, int depth) {
        if (done)
            return;
        if (depth > SwayTree::kMaxDepth) {
            // Refused whole, as a tree of another shape.
            found = {};
            done = true;
            return;
        }
        const QString type = node.value(QLatin1StringView("type")).toString();
        if (type == QLatin1StringView("workspace"))
            workspace = &node;
        if (node.value(QLatin1StringView("focused")).toBool(false)) {
            done = true;
            if (workspace)
                found.workArea = rectMember(*workspace, QLatin1StringView("rect"));
            if (type == QLatin1StringView("con") || type == QLatin1StringView("floating_con"))
                takeWindow(node);
            return;
        }
        for (const char* children : {"nodes", "floating_nodes"}) {
            const QJsonArray list = node.value(QLatin1StringView(children)).toArray();
            for (const QJsonValue child : list)
                if (child.isObject())
                    visit(child.toObject(), workspace, depth + 2);
        }
    }
};

} // namespace

std::optional<QJsonObject> SwayTree::parse(std::string_view payload) {
    // Read in place: the payload stays alive for the call, and a copy of a
    // large tree would only double the memory it takes.
    const QByteArray bytes = QByteArray::fromRawData(payload.data(), static_cast<qsizetype>(payload.size()));
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

SwayFocus SwayTree::focus(const QJsonObject& tree, int ownPid) {
    Walk walk{ownPid, {}};
    walk.visit(tree, nullptr, 1);
    return walk.found;
}
