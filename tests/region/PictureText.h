#pragma once

#include "Picture.h"

#include <string>
#include <vector>

// Pictures written as text for the tests: one string per row from the top,
// '.' the background colour and any other letter a figure colour.
namespace PictureText {

inline Picture::Rgb colourOf(char c) {
    switch (c) {
    case '.':
        return {0, 128, 192};
    case 'g':
        return {22, 235, 91};
    case 'k':
        return {31, 31, 31};
    case 'z': // black
        return {0, 0, 0};
    case 'l': // the background's bytes but the last (red, in BGR order)
        return {40, 128, 192};
    case 'm': // the background with its first byte (blue) one lower
        return {0, 128, 191};
    default:
        return {static_cast<std::uint8_t>(c), 10, 20};
    }
}

inline Picture make(const std::vector<std::string>& rows,
                    Picture::PixelFormat format = Picture::PixelFormat::pf24bit) {
    const int h = static_cast<int>(rows.size());
    const int w = h == 0 ? 0 : static_cast<int>(rows[0].size());
    Picture p(w, h, Picture::PixelFormat::pf24bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.setPixel(x, y, colourOf(rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]));
    p.setPixelFormat(format);
    return p;
}

} // namespace PictureText
