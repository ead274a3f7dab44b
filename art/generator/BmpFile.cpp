#include "BmpFile.h"

#include "ByteWriter.h"

namespace kuvito::art {

std::vector<std::uint8_t> encodeBmp(const Raster& picture) {
    const std::uint32_t rowBytes = (std::uint32_t(picture.width()) * 3 + 3) / 4 * 4;
    const std::uint32_t imageBytes = rowBytes * std::uint32_t(picture.height());
    ByteWriter out;
    out.bytes({'B', 'M'});
    out.u32(54 + imageBytes);
    out.u16(0);
    out.u16(0);
    out.u32(54);
    out.u32(40);
    out.u32(std::uint32_t(picture.width()));
    out.u32(std::uint32_t(picture.height()));
    out.u16(1);
    out.u16(24);
    out.u32(0);
    out.u32(imageBytes);
    out.u32(0);
    out.u32(0);
    out.u32(0);
    out.u32(0);
    for (int y = picture.height() - 1; y >= 0; --y) {
        out.markRowStart();
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb c = picture.at(x, y);
            out.bytes({c.b, c.g, c.r});
        }
        out.padTo(4);
    }
    return out.take();
}

} // namespace kuvito::art
