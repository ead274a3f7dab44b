// The checked-in program icon: one 32 x 32 image, 4 bits a pixel through the
// standard 16-colour palette, with a 1-bit mask.
#include "FrameFile.h"
#include "IconImage.h"

#include <gtest/gtest.h>

#include <array>

namespace {

std::uint32_t le(const std::vector<std::uint8_t>& b, std::size_t at, int size) {
    std::uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) {
        v = v << 8 | b[at + std::size_t(i)];
    }
    return v;
}

class IconFileTest : public ::testing::Test {
protected:
    std::vector<std::uint8_t> b = FrameFile::readBytes(FrameFile::artDir() / "kuvito.ico");

    static constexpr std::size_t image = 22;
    static constexpr std::size_t palette = image + 40;
    static constexpr std::size_t colourBits = palette + 64;
    static constexpr std::size_t maskBits = colourBits + 512;

    int index(int x, int y) const {
        const std::uint8_t pair = b[colourBits + std::size_t(31 - y) * 16 + std::size_t(x / 2)];
        return x % 2 == 0 ? pair >> 4 : pair & 0x0F;
    }
    bool clear(int x, int y) const {
        return (b[maskBits + std::size_t(31 - y) * 4 + std::size_t(x / 8)] >> (7 - x % 8)) & 1;
    }
};

TEST_F(IconFileTest, FileIsOneEntryWithA744ByteImage) {
    ASSERT_EQ(b.size(), 766u);
    // Header: reserved, type icon, one entry; the entry: 32 x 32, 16 colours,
    // 1 plane, 4 bits, 744 bytes at offset 22.
    const std::array<std::pair<std::size_t, std::uint32_t>, 11> fields{{
        {0, 0},
        {2, 1},
        {4, 1},
        {10, 1},
        {12, 4},
        {14, 744},
        {18, 22},
        {image, 40},
        {image + 4, 32},
        {image + 8, 64},
        {image + 16, 0},
    }};
    for (const auto& [offset, value] : fields) {
        EXPECT_EQ(le(b, offset, offset == 14 || offset == 18 || offset >= image ? 4 : 2), value)
            << "at byte " << offset;
    }
    EXPECT_EQ(b[6], 32);
    EXPECT_EQ(b[7], 32);
    EXPECT_EQ(b[8], 16);
    EXPECT_EQ(le(b, image + 12, 2), 1u);
    EXPECT_EQ(le(b, image + 14, 2), 4u);
}

TEST_F(IconFileTest, PaletteIsTheStandardSixteenColours) {
    for (std::size_t i = 0; i < 16; ++i) {
        const auto& c = kuvito::art::vgaPalette[i];
        EXPECT_EQ(b[palette + i * 4], c.b) << "entry " << i;
        EXPECT_EQ(b[palette + i * 4 + 1], c.g) << "entry " << i;
        EXPECT_EQ(b[palette + i * 4 + 2], c.r) << "entry " << i;
        EXPECT_EQ(b[palette + i * 4 + 3], 0) << "entry " << i;
    }
    // Spot-check the table itself against the well-known order.
    EXPECT_EQ(kuvito::art::vgaPalette[9], (kuvito::art::Rgb{255, 0, 0}));
    EXPECT_EQ(kuvito::art::vgaPalette[10], (kuvito::art::Rgb{0, 255, 0}));
    EXPECT_EQ(kuvito::art::vgaPalette[7], (kuvito::art::Rgb{192, 192, 192}));
}

TEST_F(IconFileTest, HeadIsSurroundedBySeeThroughPixels) {
    int clearCount = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (clear(x, y)) {
                ++clearCount;
                // The colour bits under the mask are 0, so the icon shows the
                // screen unchanged there.
                EXPECT_EQ(index(x, y), 0) << x << "," << y;
            }
        }
    }
    EXPECT_NEAR(clearCount, 296, 30);
    EXPECT_TRUE(clear(0, 0) && clear(31, 0) && clear(0, 31) && clear(31, 31));
    EXPECT_FALSE(clear(16, 16));
}

TEST_F(IconFileTest, ShowsAGreenHeadWithWhiteEyeBlackPupilPinkCheeksAndRedMouth) {
    std::array<int, 16> uses{};
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (!clear(x, y)) {
                ++uses[std::size_t(index(x, y))];
            }
        }
    }
    using namespace kuvito::art;
    EXPECT_GT(uses[green], uses[white]) << "the head is mostly green";
    EXPECT_GT(uses[white], 60) << "a big white eye";
    EXPECT_GT(uses[black], 0);
    EXPECT_GT(uses[magenta], 0) << "pink cheeks";
    EXPECT_LT(uses[magenta], 20) << "cheeks are used sparingly";
    EXPECT_GT(uses[darkRed] + uses[red], 0) << "the open mouth";
}

} // namespace
