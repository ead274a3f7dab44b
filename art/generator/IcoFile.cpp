#include "IcoFile.h"

#include "ByteWriter.h"

namespace kuvito::art {

namespace {

constexpr std::uint32_t colourRowBytes = iconSize / 2; // 4 bits a pixel, already a multiple of 4
constexpr std::uint32_t maskRowBytes = 4;              // 32 bits padded to 4 bytes
constexpr std::uint32_t imageBytes = 40 + 16 * 4 + colourRowBytes * iconSize + maskRowBytes * iconSize;

} // namespace

std::vector<std::uint8_t> encodeIco(const IconImage& icon) {
    ByteWriter out;
    out.u16(0);
    out.u16(1); // an icon, not a cursor
    out.u16(1);
    out.u8(iconSize);
    out.u8(iconSize);
    out.u8(16);
    out.u8(0);
    out.u16(1);
    out.u16(4);
    out.u32(imageBytes);
    out.u32(6 + 16);

    out.u32(40);
    out.u32(iconSize);
    out.u32(iconSize * 2); // colour rows and mask rows together
    out.u16(1);
    out.u16(4);
    out.u32(0);
    out.u32(colourRowBytes * iconSize + maskRowBytes * iconSize);
    out.u32(0);
    out.u32(0);
    out.u32(0);
    out.u32(0);
    for (const Rgb& c : vgaPalette) {
        out.bytes({c.b, c.g, c.r, 0});
    }
    for (int y = iconSize - 1; y >= 0; --y) {
        for (int x = 0; x < iconSize; x += 2) {
            out.u8(std::uint8_t(icon.at(x, y) << 4 | icon.at(x + 1, y)));
        }
    }
    for (int y = iconSize - 1; y >= 0; --y) {
        for (int x = 0; x < iconSize; x += 8) {
            std::uint8_t bits = 0;
            for (int b = 0; b < 8; ++b) {
                if (icon.clear(x + b, y)) {
                    bits |= std::uint8_t(0x80 >> b);
                }
            }
            out.u8(bits);
        }
    }
    return out.take();
}

} // namespace kuvito::art
