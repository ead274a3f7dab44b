// Feeds arbitrary bytes to the region-data parser and the transform, and
// checks that a parsed block built again parses to the same rectangles.
#include "RgnDataBlock.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto rects = RgnDataBlock::parse(data, size);
    if (!rects)
        return 0;
    const std::vector<std::uint8_t> block = RgnDataBlock::build(*rects);
    if (block.size() != RgnDataBlock::blockSize(rects->size()))
        std::abort();
    const auto again = RgnDataBlock::parse(block.data(), block.size());
    if (!again || *again != *rects)
        std::abort();
    // The header's transform, taken from the block's first bytes when there are enough.
    RgnTransform xform;
    if (size >= 32 + 24) {
        float values[6];
        std::memcpy(values, data + size - 24, sizeof values);
        xform = RgnTransform{values[0], 0, 0, values[3], values[4], values[5]};
    }
    if (const auto moved = RgnDataBlock::transformed(*rects, xform)) {
        for (const RgnRect& r : *moved)
            if (r.isEmpty() || r.left < -RgnDataBlock::coordinateLimit ||
                r.right > RgnDataBlock::coordinateLimit)
                std::abort();
    }
    return 0;
}
