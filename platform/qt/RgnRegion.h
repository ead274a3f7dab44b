#pragma once

#include "RgnRect.h"
#include "RgnTransform.h"

#include <QRegion>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Region objects are QRegions; these turn region-data blocks into them and
// back. A block read from a region lists its rectangles in the canonical
// banded form, exactly the rectangles a block built from pixel runs has.
class RgnRegion {
public:
    // The region of a block, its rectangles moved and scaled by `xform` and
    // united; nothing when the block is unusable (see RgnDataBlock::parse)
    // or the transform cannot be applied.
    static std::optional<QRegion> fromBlock(const std::uint8_t* data, std::size_t size,
                                            const RgnTransform& xform);
    // The union of the rectangles, in whatever order they come.
    static QRegion fromRects(const std::vector<RgnRect>& rects);
    // The region's rectangles in its own banded order, and the block for them.
    static std::vector<RgnRect> rects(const QRegion& region);
    static std::vector<std::uint8_t> toBlock(const QRegion& region);
};
