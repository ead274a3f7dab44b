#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kuvito::art {

// A 24-bit colour. Shading works in doubles through ShadeColour and is only
// rounded into an Rgb once per pixel.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    bool operator==(const Rgb&) const = default;
};

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
