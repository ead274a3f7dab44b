#include "Raster.h"

#include <stdexcept>

namespace kuvito::art {

Raster::Raster(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(std::size_t(width) * std::size_t(height), fill) {
    if (width <= 0 || height <= 0) {
        throw std::invalid_argument("a raster needs a positive size");
    }
}

Raster Raster::mirrored() const {
    Raster out(width_, height_, Rgb{});
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            out.set(width_ - 1 - x, y, at(x, y));
        }
    }
    return out;
}

} // namespace kuvito::art
