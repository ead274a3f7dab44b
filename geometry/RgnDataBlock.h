#pragma once

#include "RgnRect.h"
#include "RgnTransform.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The region-data block: a 32-byte header (header size 32, type 1, rectangle
// count n, rectangle bytes 16 * n, bounding rectangle) followed by n
// rectangles, every field a 32-bit little-endian integer. Standard library
// only, so that the parser can be fuzzed.
class RgnDataBlock {
public:
    static constexpr std::size_t headerSize = 32;
    static constexpr std::size_t rectSize = 16;
    static constexpr std::uint32_t typeRectangles = 1;

    // The block for these rectangles, in the order given. The bounds are
    // those of all rectangles, or 0, 0, 0, 0 when there are none.
    static std::vector<std::uint8_t> build(const std::vector<RgnRect>& rects);
    // Writes the same block into a buffer of exactly blockSize(rects.size())
    // bytes.
    static void write(const std::vector<RgnRect>& rects, std::uint8_t* out);
    static std::size_t blockSize(std::size_t count) { return headerSize + rectSize * count; }

    // The rectangles of a block, empty ones left out, or nothing when the
    // block is unusable: header size below 32, a type other than 1, or fewer
    // bytes than its rectangle count asks for. The count is never trusted
    // over the real length.
    static std::optional<std::vector<RgnRect>> parse(const std::uint8_t* data, std::size_t size);

    // The rectangles moved and scaled by a transform, each corner rounded
    // with floor(v + 0.5); rectangles that become empty are left out. Nothing
    // when the transform shears or a corner leaves the coordinate range that
    // regions support.
    static std::optional<std::vector<RgnRect>> transformed(const std::vector<RgnRect>& rects,
                                                           const RgnTransform& xform);

    // The canonical banded form of rectangles that already lie in y-x sorted
    // bands (every rectangle of a band shares top and bottom, bands do not
    // overlap): spans that touch within a band are joined, and a band that
    // touches the one above it with the same spans is merged into it.
    static std::vector<RgnRect> coalesced(const std::vector<RgnRect>& banded);

    static RgnRect bounds(const std::vector<RgnRect>& rects);

    // Coordinates beyond this magnitude are refused, so that widths and
    // heights computed from them cannot overflow.
    static constexpr std::int32_t coordinateLimit = 1 << 27;
};
