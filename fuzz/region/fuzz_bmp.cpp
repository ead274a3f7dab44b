// Feeds arbitrary bytes to the bitmap reader. Whatever it accepts must write
// back and read again to the same picture, and must go through the outline
// routine without harm.
#include "BitmapToRgnData.h"
#include "KuvitoError.h"
#include "Picture.h"
#include "RgnDataBlock.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Picture picture;
    try {
        picture = Picture::loadBmp(data, size);
    } catch (const KuvitoError&) {
        return 0;
    }
    if (static_cast<std::uint64_t>(picture.width()) * static_cast<std::uint64_t>(picture.height()) >
        (1u << 22))
        return 0; // valid but too slow to take further
    const Picture again = Picture::loadBmp(picture.saveBmp());
    if (!(again.width() == picture.width() && again.height() == picture.height()))
        std::abort();
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (!(again.pixel(x, y) == picture.pixel(x, y)))
                std::abort();
    try {
        std::unique_ptr<std::uint8_t[]> block;
        const std::int32_t n = BitmapToRgnData(&picture, block);
        const auto rects = RgnDataBlock::parse(block.get(), static_cast<std::size_t>(n));
        if (!rects)
            std::abort();
        // Every row's runs, spelled out from the bands, must be what a
        // plain pixel-by-pixel comparison with the key finds.
        const int bytes = picture.pixelFormat() == Picture::PixelFormat::pf8bit ? 1 : 3;
        const std::uint8_t* key = picture.scanLine(picture.height() - 1);
        std::size_t next = 0;
        for (int y = 0; y < picture.height(); ++y) {
            std::vector<std::int32_t> expected;
            const std::uint8_t* row = picture.scanLine(y);
            for (int x = 0; x < picture.width(); ++x) {
                const bool isKey = std::memcmp(row + x * bytes, key, static_cast<std::size_t>(bytes)) == 0;
                if (!isKey && (expected.empty() || expected.back() != x))
                    expected.insert(expected.end(), {x, x + 1});
                else if (!isKey)
                    expected.back() = x + 1;
            }
            std::vector<std::int32_t> found;
            while (next < rects->size() && (*rects)[next].bottom <= y)
                ++next;
            for (std::size_t i = next; i < rects->size() && (*rects)[i].top <= y; ++i)
                found.insert(found.end(), {(*rects)[i].left, (*rects)[i].right});
            if (found != expected)
                std::abort();
        }
    } catch (const KuvitoError&) {
    }
    return 0;
}
