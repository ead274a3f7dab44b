#pragma once

#include <cstdint>

namespace kuvito::art {

// A 24-bit colour as stored in the pictures. Shading works in doubles
// through ShadeColour and is only rounded into an Rgb once per pixel.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    bool operator==(const Rgb&) const = default;
};

} // namespace kuvito::art
