#pragma once

#include "Rgb.h"

#include <algorithm>
#include <cmath>

namespace kuvito::art {

// A colour being worked out: channels are doubles so that lighting, blends
// and sub-pixel averages lose nothing until the final rounding.
struct ShadeColour {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;

    ShadeColour operator+(ShadeColour o) const { return {r + o.r, g + o.g, b + o.b}; }
    ShadeColour operator*(double s) const { return {r * s, g * s, b * s}; }

    static ShadeColour of(Rgb c) { return {double(c.r), double(c.g), double(c.b)}; }

    Rgb rounded() const {
        auto channel = [](double v) { return std::uint8_t(std::clamp(std::lround(v), 0L, 255L)); };
        return {channel(r), channel(g), channel(b)};
    }
};

inline ShadeColour mix(ShadeColour a, ShadeColour b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return a * (1.0 - t) + b * t;
}

} // namespace kuvito::art
