#pragma once

#include <cstdint>

// One rectangle of a region-data block: right and bottom are exclusive.
struct RgnRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;

    bool isEmpty() const { return left >= right || top >= bottom; }
    bool contains(std::int32_t x, std::int32_t y) const {
        return left <= x && x < right && top <= y && y < bottom;
    }
    bool operator==(const RgnRect&) const = default;
};
