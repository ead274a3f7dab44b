#pragma once

#include "RgnRect.h"

#include <cstdint>
#include <vector>

// A figure's outline as the window system takes it: rectangles in the
// canonical banded form (y-x sorted bands, the widest spans in each band,
// touching bands with the same spans merged). Two outlines of the same
// pixels therefore have the same rectangles, so they compare by value, and
// the rectangles go to the desktop as they are, with no region object made
// on the way.
class RgnOutline {
public:
    RgnOutline() = default;

    // The union of rectangles in any order, overlapping or not; empty
    // rectangles count for nothing.
    static RgnOutline unionOf(const std::vector<RgnRect>& rects);
    // The union of outlines. One outline is its own union and is copied.
    static RgnOutline united(const std::vector<const RgnOutline*>& outlines);

    const std::vector<RgnRect>& rects() const { return rects_; }
    bool empty() const { return rects_.empty(); }
    bool contains(std::int32_t x, std::int32_t y) const;

    bool operator==(const RgnOutline&) const = default;

private:
    std::vector<RgnRect> rects_;
};
