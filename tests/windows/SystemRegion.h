#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// Windows' own region calls, in a source of their own: the tests speak to
// them in the standard library's types and never see the system's headers.
class SystemRegion {
public:
    // The transform as the system's record lists it: eM11, eM12, eM21, eM22,
    // eDx, eDy.
    using Transform = std::array<float, 6>;

    // The region-data block that GetRegionData gives for the region that
    // ExtCreateRegion makes of `block` (transformed when asked), or nothing
    // when ExtCreateRegion refuses the block.
    static std::optional<std::vector<std::uint8_t>> created(const std::vector<std::uint8_t>& block,
                                                            const Transform* transform = nullptr);

    // The region-data block of the union of rectangles (left, top, right,
    // bottom each), worked out by the system's own region arithmetic
    // (CreateRectRgn and CombineRgn).
    static std::vector<std::uint8_t> united(const std::vector<std::array<int, 4>>& rects);
};
