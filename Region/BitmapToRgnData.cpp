#include "BitmapToRgnData.h"

#include "KuvitoError.h"
#include "Picture.h"
#include "RgnBandBuilder.h"
#include "RgnDataBlock.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace {

// The limit is tested before each search for a further run of a row, so a
// row passes with up to 100 runs, and with 101 only when no pixel is left to
// look at after the key pixel that ends the 101st.
constexpr int kRunsLimit = 100;

// Collects the runs of one row into `runs`. Pixel equality is byte equality
// of `Bytes`-wide values. For three-byte pixels a pixel is compared through
// one four-byte load wherever the row (with its padding) has a byte to spare
// after it, which is every pixel but possibly the last.
template <int Bytes>
void scanRow(const std::uint8_t* row, int width, std::size_t stride, const std::uint8_t* key,
             std::vector<std::int32_t>& runs) {
    std::uint32_t key32 = 0;
    int fastLimit = 0;
    if constexpr (Bytes == 3) {
        key32 = key[0] | (key[1] << 8) | (key[2] << 16);
        fastLimit = stride >= 4 ? std::min<int>(width, static_cast<int>((stride - 4) / 3) + 1) : 0;
    }
    auto isKey = [&](int x) {
        const std::uint8_t* p = row + static_cast<std::size_t>(x) * Bytes;
        if constexpr (Bytes == 1) {
            return p[0] == key[0];
        } else {
            if (x < fastLimit) {
                std::uint32_t v;
                std::memcpy(&v, p, 4);
                return ((v ^ key32) & 0xFFFFFFu) == 0;
            }
            return p[0] == key[0] && p[1] == key[1] && p[2] == key[2];
        }
    };
    // Four key pixels in a row, to skip background twelve bytes at a time.
    std::uint8_t keyQuad[12] = {};
    if constexpr (Bytes == 3)
        for (int i = 0; i < 12; ++i)
            keyQuad[i] = key[i % 3];
    const int quadLimit = width - 3;
    runs.clear();
    int count = 0;
    int x = 0;
    while (x < width) {
        if (count > kRunsLimit)
            throw KuvitoError("ﾋﾞｯﾄﾏｯﾌﾟの形状が不適です", KuvitoError::Kind::InvalidPicture);
        if constexpr (Bytes == 3)
            while (x < quadLimit && std::memcmp(row + static_cast<std::size_t>(x) * 3, keyQuad, 12) == 0)
                x += 4;
        while (x < width && isKey(x))
            ++x;
        if (x == width)
            break;
        const int start = x;
        while (x < width && !isKey(x))
            ++x;
        runs.push_back(start);
        runs.push_back(x);
        ++count;
        ++x; // the pixel at x, if any, has the key colour
    }
}

} // namespace

std::int32_t BitmapToRgnData(Picture* picture, std::unique_ptr<std::uint8_t[]>& buffer) {
    if (picture == nullptr || picture->empty())
        throw KuvitoError("ﾋﾞｯﾄﾏｯﾌﾟが正しくｾｯﾄされていません", KuvitoError::Kind::InvalidPicture);
    const int w = picture->width();
    const int h = picture->height();
    if (w == 0 || h == 0)
        throw KuvitoError("幅または高さが 0 です", KuvitoError::Kind::InvalidPicture);

    using PF = Picture::PixelFormat;
    switch (picture->pixelFormat()) {
    case PF::pf1bit:
    case PF::pf4bit:
        picture->setPixelFormat(PF::pf8bit);
        break;
    case PF::pf8bit:
    case PF::pf24bit:
        break;
    default:
        picture->setPixelFormat(PF::pf24bit);
        break;
    }

    try {
        const Picture& pic = *picture;
        const int bytes = pic.pixelFormat() == PF::pf8bit ? 1 : 3;
        std::uint8_t key[3] = {0, 0, 0};
        std::memcpy(key, pic.scanLine(h - 1), static_cast<std::size_t>(bytes));

        RgnBandBuilder bands;
        std::vector<std::int32_t> runs;
        runs.reserve(2 * (kRunsLimit + 1));
        for (int y = 0; y < h; ++y) {
            if (bytes == 1)
                scanRow<1>(pic.scanLine(y), w, pic.stride(), key, runs);
            else
                scanRow<3>(pic.scanLine(y), w, pic.stride(), key, runs);
            bands.addRow(y, runs);
        }
        const std::vector<RgnRect> rects = bands.finish();

        const std::size_t size = RgnDataBlock::blockSize(rects.size());
        if (size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
            throw KuvitoError("ﾘｰｼﾞｮﾝﾃﾞｰﾀが抽出できません", KuvitoError::Kind::Conversion);
        std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[size]);
        RgnDataBlock::write(rects, block.get());
        buffer = std::move(block);
        return static_cast<std::int32_t>(size);
    } catch (const std::bad_alloc&) {
        throw KuvitoError("ﾒﾓﾘ獲得に失敗しました", KuvitoError::Kind::General);
    }
}
