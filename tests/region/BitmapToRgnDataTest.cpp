#include "BitmapToRgnData.h"
#include "KuvitoError.h"
#include "PictureText.h"
#include "RgnDataBlock.h"
#include "RgnRegion.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using PF = Picture::PixelFormat;

std::vector<RgnRect> outline(Picture& picture, std::int32_t* size = nullptr) {
    std::unique_ptr<std::uint8_t[]> buffer;
    const std::int32_t n = BitmapToRgnData(&picture, buffer);
    EXPECT_NE(buffer, nullptr);
    if (size)
        *size = n;
    auto rects = RgnDataBlock::parse(buffer.get(), static_cast<std::size_t>(n));
    EXPECT_TRUE(rects.has_value());
    return rects.value_or(std::vector<RgnRect>{});
}

// Expects a failure with this message and kind, and no buffer handed out.
void expectFailure(Picture* picture, const std::string& message, KuvitoError::Kind kind) {
    std::unique_ptr<std::uint8_t[]> buffer;
    try {
        BitmapToRgnData(picture, buffer);
        ADD_FAILURE() << "no error";
    } catch (const KuvitoError& e) {
        EXPECT_EQ(e.what(), message);
        EXPECT_EQ(e.kind(), kind);
    }
    EXPECT_EQ(buffer, nullptr);
}

struct OutlineCase {
    const char* what;
    std::vector<std::string> rows;
    std::vector<RgnRect> expected;
};

class OutlineTest : public testing::TestWithParam<OutlineCase> {};

TEST_P(OutlineTest, GivesBandedRectangles) {
    Picture p = PictureText::make(GetParam().rows);
    EXPECT_EQ(outline(p), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Bands, OutlineTest,
    testing::Values(
        OutlineCase{"one run", {".#."}, {{1, 0, 2, 1}}},
        OutlineCase{"identical rows merge", {".#.", ".#."}, {{1, 0, 2, 2}}},
        OutlineCase{
            "changed row breaks the band", {".#..", ".#..", ".##.", "...."}, {{1, 0, 2, 2}, {1, 2, 3, 3}}},
        OutlineCase{"empty row breaks the band", {".#.", "...", ".#.", "..."}, {{1, 0, 2, 1}, {1, 2, 2, 3}}},
        OutlineCase{"two runs per band", {"#.#.", "#.#.", "...."}, {{0, 0, 1, 2}, {2, 0, 3, 2}}},
        OutlineCase{"colours differ but all are figure", {"gk..", "kg..", "...."}, {{0, 0, 2, 2}}},
        OutlineCase{
            "figure-coloured bottom-left makes the figure colour the key", {"g.g", "ggg"}, {{1, 0, 2, 1}}},
        OutlineCase{"run to the last pixel", {"..##", "...."}, {{2, 0, 4, 1}}},
        // Background is skipped four pixels at a time; every byte counts.
        OutlineCase{"black figure on a coloured background", {"zzzz....", "........"}, {{0, 0, 4, 1}}},
        OutlineCase{"figure differing in the last byte only", {"...l....", "........"}, {{3, 0, 4, 1}}},
        OutlineCase{"figure one below the background", {"m.......", "........"}, {{0, 0, 1, 1}}}));

// A two-row picture whose top row alternates figure and key from pixel 0 up
// to `lastFigure`, the rest key.
Picture alternating(int width, int lastFigure) {
    std::string top(static_cast<std::size_t>(width), '.');
    for (int x = 0; x <= lastFigure; x += 2)
        top[static_cast<std::size_t>(x)] = '#';
    return PictureText::make({top, std::string(static_cast<std::size_t>(width), '.')});
}

TEST(RunLimit, BoundaryWidths) {
    Picture p199 = alternating(199, 198);
    EXPECT_EQ(outline(p199).size(), 100u);
    Picture p201 = alternating(201, 200);
    EXPECT_EQ(outline(p201).size(), 101u);
    Picture p203 = alternating(203, 202);
    expectFailure(&p203, "ﾋﾞｯﾄﾏｯﾌﾟの形状が不適です", KuvitoError::Kind::InvalidPicture);
    Picture p204 = alternating(204, 200);
    expectFailure(&p204, "ﾋﾞｯﾄﾏｯﾌﾟの形状が不適です", KuvitoError::Kind::InvalidPicture);
}

TEST(BitmapToRgnData, PaletteFormatsComparePaletteIndices) {
    // Two indices of the same colour: only the index tells figure from key,
    // so a picture turned into colours first would have no figure at all.
    for (PF format : {PF::pf1bit, PF::pf4bit, PF::pf8bit}) {
        SCOPED_TRACE(static_cast<int>(format));
        Picture p(3, 2, format);
        auto palette = p.palette();
        palette[1] = palette[0];
        p.setPalette(palette);
        p.setPixelIndex(0, 0, 1);
        p.setPixelIndex(2, 0, 1);
        EXPECT_EQ(outline(p), (std::vector<RgnRect>{{0, 0, 1, 1}, {2, 0, 3, 1}}));
        EXPECT_EQ(p.pixelFormat(), PF::pf8bit) << "indices are scanned as bytes";
        EXPECT_EQ(p.pixelIndex(0, 0), 1);
    }
}

TEST(BitmapToRgnData, OtherFormatsAreConvertedTo24Bits) {
    for (PF format : {PF::pf15bit, PF::pf16bit, PF::pf32bit, PF::pfDevice}) {
        Picture p = PictureText::make({"..g.", ".gg.", "...."}, format);
        EXPECT_EQ(outline(p), (std::vector<RgnRect>{{2, 0, 3, 1}, {1, 1, 3, 2}})) << static_cast<int>(format);
        EXPECT_EQ(p.pixelFormat(), PF::pf24bit);
    }
}

TEST(BitmapToRgnData, AllKeyGivesHeaderOnly) {
    Picture p = PictureText::make({"...", "..."});
    std::unique_ptr<std::uint8_t[]> buffer;
    ASSERT_EQ(BitmapToRgnData(&p, buffer), 32);
    const std::vector<std::uint8_t> block(buffer.get(), buffer.get() + 32);
    EXPECT_EQ(block, RgnDataBlock::build({}));
}

TEST(BitmapToRgnData, HeaderHoldsCountSizeAndBounds) {
    Picture p = PictureText::make({"..#..", ".###.", "....."});
    std::unique_ptr<std::uint8_t[]> buffer;
    ASSERT_EQ(BitmapToRgnData(&p, buffer), 64);
    const std::vector<std::uint8_t> expected = RgnDataBlock::build({{2, 0, 3, 1}, {1, 1, 4, 2}});
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.get(), buffer.get() + 64), expected);
    auto le = [&](int at) {
        return buffer[at] | buffer[at + 1] << 8 | buffer[at + 2] << 16 | buffer[at + 3] << 24;
    };
    EXPECT_EQ(le(0), 32);
    EXPECT_EQ(le(4), 1);
    EXPECT_EQ(le(8), 2);
    EXPECT_EQ(le(12), 32);
    EXPECT_EQ((std::vector<int>{le(16), le(20), le(24), le(28)}), (std::vector<int>{1, 0, 4, 2}));
}

TEST(BitmapToRgnData, EmptyOrMissingPictureFailsWithNothingAllocated) {
    Picture empty;
    expectFailure(&empty, "ﾋﾞｯﾄﾏｯﾌﾟが正しくｾｯﾄされていません", KuvitoError::Kind::InvalidPicture);
    expectFailure(nullptr, "ﾋﾞｯﾄﾏｯﾌﾟが正しくｾｯﾄされていません", KuvitoError::Kind::InvalidPicture);
    Picture noRows(5, 0, PF::pf24bit);
    expectFailure(&noRows, "ﾋﾞｯﾄﾏｯﾌﾟが正しくｾｯﾄされていません", KuvitoError::Kind::InvalidPicture);
}

TEST(BitmapToRgnData, FailureKeepsCallersBuffer) {
    Picture p203 = alternating(203, 202);
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[4]{1, 2, 3, 4});
    const std::uint8_t* before = buffer.get();
    EXPECT_THROW(BitmapToRgnData(&p203, buffer), KuvitoError);
    EXPECT_EQ(buffer.get(), before);
}

// The outline worked out from runs must equal what uniting the one-row
// rectangles as regions gives: the regions' own banded form.
TEST(BitmapToRgnData, MatchesUnionOfRowRectangles) {
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        const int w = 1 + static_cast<int>(random() % 40), h = 1 + static_cast<int>(random() % 30);
        std::vector<std::string> rows(static_cast<std::size_t>(h),
                                      std::string(static_cast<std::size_t>(w), '.'));
        for (int y = 0; y + 1 < h; ++y) {
            // Copy the row above now and then, so that bands form.
            if (y > 0 && random() % 3 == 0) {
                rows[static_cast<std::size_t>(y)] = rows[static_cast<std::size_t>(y - 1)];
                continue;
            }
            for (auto& c : rows[static_cast<std::size_t>(y)])
                c = random() % 3 == 0 ? 'g' : '.';
        }
        Picture p = PictureText::make(rows);
        const std::vector<RgnRect> fromRuns = outline(p);

        QRegion united;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] != '.')
                    united += QRect(x, y, 1, 1);
        EXPECT_EQ(fromRuns, RgnRegion::rects(united)) << "round " << round;
    }
}

} // namespace
