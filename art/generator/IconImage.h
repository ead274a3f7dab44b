#pragma once

#include "Rgb.h"

#include <array>
#include <cstdint>

namespace kuvito::art {

constexpr int iconSize = 32;

// The standard 16-colour palette in its usual order: black, the eight dark
// colours, light grey, dark grey, then the bright ones, white last.
constexpr std::array<Rgb, 16> vgaPalette{{{0, 0, 0},
                                          {128, 0, 0},
                                          {0, 128, 0},
                                          {128, 128, 0},
                                          {0, 0, 128},
                                          {128, 0, 128},
                                          {0, 128, 128},
                                          {192, 192, 192},
                                          {128, 128, 128},
                                          {255, 0, 0},
                                          {0, 255, 0},
                                          {255, 255, 0},
                                          {0, 0, 255},
                                          {255, 0, 255},
                                          {0, 255, 255},
                                          {255, 255, 255}}};

// Palette indices by name, for drawing.
enum Vga : std::uint8_t {
    black = 0,
    darkRed = 1,
    darkGreen = 2,
    darkGrey = 8,
    lightGrey = 7,
    red = 9,
    green = 10,
    yellow = 11,
    magenta = 13,
    white = 15
};

// A 32 x 32 icon picture: a palette index and a see-through flag per pixel,
// row 0 at the top. See-through pixels keep index 0.
struct IconImage {
    std::array<std::uint8_t, iconSize * iconSize> index{};
    std::array<bool, iconSize * iconSize> transparent{};

    std::uint8_t at(int x, int y) const { return index[std::size_t(y * iconSize + x)]; }
    bool clear(int x, int y) const { return transparent[std::size_t(y * iconSize + x)]; }
};

} // namespace kuvito::art
