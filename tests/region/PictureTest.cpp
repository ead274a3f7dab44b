#include "KuvitoError.h"
#include "PictureText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using PF = Picture::PixelFormat;

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t get32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

Picture sample(PF format) {
    return PictureText::make({"..gk.", ".kgg.", "g...k"}, format);
}

TEST(PictureBmp, RoundTripEveryFormat) {
    for (PF format :
         {PF::pf1bit, PF::pf4bit, PF::pf8bit, PF::pf15bit, PF::pf16bit, PF::pf24bit, PF::pf32bit}) {
        const Picture p = sample(format);
        const Picture back = Picture::loadBmp(p.saveBmp());
        EXPECT_EQ(back, p) << static_cast<int>(format);
        EXPECT_EQ(back.pixelFormat(), format);
    }
    // Device pictures are written as 32 bits per pixel.
    const Picture device = sample(PF::pfDevice);
    const Picture back = Picture::loadBmp(device.saveBmp());
    EXPECT_EQ(back.pixelFormat(), PF::pf32bit);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(back.pixel(x, y), device.pixel(x, y));
}

TEST(PictureBmp, TwentyFourBitFileLayout) {
    // 53 x 87 at 24 bits: rows of 160 bytes, bottom row first, 54-byte headers.
    Picture p(53, 87, PF::pf24bit);
    p.setPixel(0, 86, {0, 128, 192});
    p.setPixel(0, 0, {1, 2, 3});
    const std::vector<std::uint8_t> file = p.saveBmp();
    ASSERT_EQ(file.size(), 13974u);
    EXPECT_EQ(get32(file, 2), 13974u);
    EXPECT_EQ(get32(file, 10), 54u);
    EXPECT_EQ(get32(file, 14), 40u);
    EXPECT_EQ(get32(file, 34), 13920u);
    EXPECT_EQ(get32(file, 46), 0u); // colours used
    EXPECT_EQ((std::vector<int>{file[54], file[55], file[56]}), (std::vector<int>{0xC0, 0x80, 0x00}));
    EXPECT_EQ((std::vector<int>{file[54 + 86 * 160], file[55 + 86 * 160]}), (std::vector<int>{3, 2}));
}

TEST(PictureBmp, ReadsTopDownRows) {
    Picture p = sample(PF::pf24bit);
    std::vector<std::uint8_t> file = p.saveBmp();
    // Turn the file top-down: negative height, rows reversed.
    put32(file, 22, static_cast<std::uint32_t>(-3));
    const std::size_t stride = p.stride();
    std::vector<std::uint8_t> rows(file.begin() + 54, file.end());
    for (std::size_t r = 0; r < 3; ++r)
        std::copy_n(rows.begin() + static_cast<std::ptrdiff_t>((2 - r) * stride), stride,
                    file.begin() + 54 + static_cast<std::ptrdiff_t>(r * stride));
    EXPECT_EQ(Picture::loadBmp(file), p);
}

TEST(PictureBmp, ReadsColourMasks) {
    // A 32-bit file with masks in an unusual order is read by its masks.
    std::vector<std::uint8_t> file(14 + 40 + 12 + 4, 0);
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 2, static_cast<std::uint32_t>(file.size()));
    put32(file, 10, 66);
    put32(file, 14, 40);
    put32(file, 18, 1);
    put32(file, 22, 1);
    file[26] = 1;
    file[28] = 32;
    put32(file, 30, 3);
    put32(file, 54, 0x000000FF); // red in the lowest byte
    put32(file, 58, 0x0000FF00);
    put32(file, 62, 0x00FF0000);
    put32(file, 66, 0x00302010);
    const Picture p = Picture::loadBmp(file);
    EXPECT_EQ(p.pixelFormat(), PF::pfCustom);
    EXPECT_EQ(p.pixel(0, 0), (Picture::Rgb{0x10, 0x20, 0x30}));
}

// A valid 2 x 2, 8-bit file, changed by each case below.
std::vector<std::uint8_t> validEightBit() {
    Picture p(2, 2, PF::pf8bit);
    p.setPalette({{1, 2, 3}, {4, 5, 6}});
    p.setPixelIndex(1, 1, 1);
    return p.saveBmp();
}

TEST(PictureBmp, RejectsMalformedFiles) {
    const std::vector<std::uint8_t> valid = validEightBit();
    ASSERT_NO_THROW(Picture::loadBmp(valid));
    // offsets: 10 pixel offset, 14 header size, 18 width, 22 height, 26 planes,
    // 28 bits, 30 compression, 46 colours used; palette at 54, pixels at 62.
    struct Case {
        const char* what;
        std::size_t at;
        std::uint32_t value;
    };
    const std::vector<Case> changes{
        {"pixel offset past the end", 10, 1000},
        {"pixel offset wraps", 10, 0xFFFFFFFF},
        {"pixel offset inside the palette", 10, 58},
        {"header size past the end", 14, 0x7FFFFFFF},
        {"unknown header size", 14, 20},
        {"width too large for the data", 18, 5000},
        {"absurd width", 18, 0x7FFFFFFF},
        {"negative width", 18, 0xFFFFFFFE},
        {"absurd height", 22, 0x40000000},
        {"most negative height", 22, 0x80000000},
        {"two planes", 26, 2},
        {"bit count 7", 28, 7},
        {"run-length compression", 30, 1},
        {"palette past the pixels", 46, 200},
    };
    for (const Case& c : changes) {
        std::vector<std::uint8_t> bad = valid;
        if (c.at == 26 || c.at == 28) {
            bad[c.at] = static_cast<std::uint8_t>(c.value);
        } else {
            put32(bad, c.at, c.value);
        }
        EXPECT_THROW(Picture::loadBmp(bad), KuvitoError) << c.what;
    }
    for (std::size_t cut = 0; cut < valid.size(); ++cut)
        EXPECT_THROW(Picture::loadBmp(valid.data(), cut), KuvitoError) << "cut at " << cut;
    std::vector<std::uint8_t> notBm = valid;
    notBm[1] = 'A';
    EXPECT_THROW(Picture::loadBmp(notBm), KuvitoError);
    EXPECT_THROW(Picture::loadBmp(nullptr, 0), KuvitoError);
}

TEST(PictureBmp, MalformedFileGivesInvalidPictureKind) {
    try {
        Picture::loadBmp(std::vector<std::uint8_t>{'B', 'M'});
        FAIL();
    } catch (const KuvitoError& e) {
        EXPECT_EQ(e.kind(), KuvitoError::Kind::InvalidPicture);
    }
}

TEST(Picture, ConversionsKeepIndicesOrColours) {
    Picture p(4, 1, PF::pf4bit);
    for (int x = 0; x < 4; ++x)
        p.setPixelIndex(x, 0, 12 + x);
    Picture eight = p;
    eight.setPixelFormat(PF::pf8bit);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(eight.pixelIndex(x, 0), 12 + x);
        EXPECT_EQ(eight.pixel(x, 0), p.pixel(x, 0));
    }
    Picture rgb = p;
    rgb.setPixelFormat(PF::pf24bit);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(rgb.pixel(x, 0), p.pixel(x, 0));
    // 16 bits keep the top five or six bits of each component.
    Picture sixteen(1, 1, PF::pf16bit);
    sixteen.setPixel(0, 0, {0xFF, 0x84, 0x08});
    sixteen.setPixelFormat(PF::pf24bit);
    EXPECT_EQ(sixteen.pixel(0, 0), (Picture::Rgb{0xFF, 0x86, 0x08}));
}

TEST(Picture, MirroredEveryFormat) {
    for (PF format : {PF::pf1bit, PF::pf4bit, PF::pf8bit, PF::pf16bit, PF::pf24bit, PF::pf32bit}) {
        const Picture p = sample(format);
        const Picture m = p.mirrored();
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                EXPECT_EQ(m.pixel(x, y), p.pixel(p.width() - 1 - x, y)) << static_cast<int>(format);
        EXPECT_EQ(m.mirrored(), p);
    }
}

TEST(Picture, ResizeKeepsPixelsAndZeroesTheRest) {
    Picture p = sample(PF::pf1bit);
    const Picture original = p;
    p.setSize(3, 2);
    p.setSize(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(p.pixelIndex(x, y), (x < 3 && y < 2) ? original.pixelIndex(x, y) : 0);
    EXPECT_THROW(p.setSize(-1, 2), KuvitoError);
    EXPECT_THROW(p.setSize(Picture::maxDimension + 1, 1), KuvitoError);
}

TEST(Picture, ChangeStampFollowsContent) {
    Picture a = sample(PF::pf24bit);
    const std::uint64_t before = a.changeCount();
    a.scanLine(0)[0] = 9;
    EXPECT_NE(a.changeCount(), before);
    Picture b;
    b = a;
    EXPECT_EQ(b.changeCount(), a.changeCount());
}

} // namespace
