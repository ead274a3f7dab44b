// Feeds arbitrary bytes to the bitmap reader. Whatever it accepts must write
// back and read again to the same picture, and must go through the outline
// routine without harm.
#include "BitmapToRgnData.h"
#include "KuvitoError.h"
#include "Picture.h"
#include "RgnDataBlock.h"

#include <cstdlib>

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
        if (!RgnDataBlock::parse(block.get(), static_cast<std::size_t>(n)))
            std::abort();
    } catch (const KuvitoError&) {
    }
    return 0;
}
