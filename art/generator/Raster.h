#pragma once

#include "Rgb.h"

#include <vector>

namespace kuvito::art {

// A picture in memory, row 0 at the top.
class Raster {
public:
    Raster(int width, int height, Rgb fill);

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb at(int x, int y) const { return pixels_[index(x, y)]; }
    void set(int x, int y, Rgb c) { pixels_[index(x, y)] = c; }

    // The picture flipped left to right: column c becomes column width-1-c.
    Raster mirrored() const;

    bool operator==(const Raster&) const = default;

private:
    std::size_t index(int x, int y) const { return std::size_t(y) * std::size_t(width_) + std::size_t(x); }

    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

} // namespace kuvito::art
