#include "RgnRegion.h"

#include "RgnDataBlock.h"

namespace {

QRect toQRect(const RgnRect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// Unites rectangles pairwise, then the results pairwise, and so on: each
// rectangle takes part in about log n unions of growing regions instead of
// n unions with one ever larger region.
QRegion uniteRange(const std::vector<RgnRect>& rects, std::size_t first, std::size_t last) {
    if (last - first == 1)
        return QRegion(toQRect(rects[first]));
    const std::size_t middle = first + (last - first) / 2;
    return uniteRange(rects, first, middle).united(uniteRange(rects, middle, last));
}

} // namespace

QRegion RgnRegion::fromRects(const std::vector<RgnRect>& rects) {
    if (rects.empty())
        return QRegion();
    return uniteRange(rects, 0, rects.size());
}

std::optional<QRegion> RgnRegion::fromBlock(const std::uint8_t* data, std::size_t size,
                                            const RgnTransform& xform) {
    const std::optional<std::vector<RgnRect>> rects = RgnDataBlock::parse(data, size);
    if (!rects)
        return std::nullopt;
    const std::optional<std::vector<RgnRect>> moved = RgnDataBlock::transformed(*rects, xform);
    if (!moved)
        return std::nullopt;
    return fromRects(*moved);
}

std::vector<RgnRect> RgnRegion::rects(const QRegion& region) {
    std::vector<RgnRect> out;
    out.reserve(static_cast<std::size_t>(region.rectCount()));
    for (const QRect& r : region)
        out.push_back({r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
    // QRegion keeps y-x sorted bands but does not always merge bands that
    // grew one row at a time, so its rectangles are brought to the
    // canonical form here.
    return RgnDataBlock::coalesced(out);
}

std::vector<std::uint8_t> RgnRegion::toBlock(const QRegion& region) {
    return RgnDataBlock::build(rects(region));
}
