#include "RgnDataBlock.h"
#include "RgnRegion.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> header(std::uint32_t size, std::uint32_t type, std::uint32_t count) {
    std::vector<std::uint8_t> b(32, 0);
    auto put = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    put(0, size);
    put(4, type);
    put(8, count);
    put(12, count * 16);
    return b;
}

TEST(RgnDataBlock, BuildAndParseRoundTrip) {
    const std::vector<RgnRect> rects{{5, 2, 9, 4}, {1, 4, 3, 7}, {6, 4, 8, 7}};
    const std::vector<std::uint8_t> block = RgnDataBlock::build(rects);
    ASSERT_EQ(block.size(), 32u + 48u);
    EXPECT_EQ(RgnDataBlock::parse(block.data(), block.size()), rects);
    EXPECT_EQ(RgnDataBlock::bounds(rects), (RgnRect{1, 2, 9, 7}));
    // The bounds stand at offset 16.
    EXPECT_EQ(block[16], 1);
    EXPECT_EQ(block[20], 2);
    EXPECT_EQ(block[24], 9);
    EXPECT_EQ(block[28], 7);
    // Every byte of a coordinate counts, the sign included.
    const std::vector<RgnRect> wide{{-300, 0x10203, 0x20304, 0x1020304}};
    const std::vector<std::uint8_t> wideBlock = RgnDataBlock::build(wide);
    EXPECT_EQ(RgnDataBlock::parse(wideBlock.data(), wideBlock.size()), wide);
}

TEST(RgnDataBlock, EmptyBlockIsHeaderWithZeroBounds) {
    const std::vector<std::uint8_t> block = RgnDataBlock::build({});
    EXPECT_EQ(block, header(32, 1, 0));
    EXPECT_EQ(RgnDataBlock::parse(block.data(), block.size()), std::vector<RgnRect>{});
}

TEST(RgnDataBlock, ParseRefusesUnusableBlocks) {
    std::vector<std::uint8_t> good = RgnDataBlock::build({{0, 0, 1, 1}, {2, 0, 3, 1}});
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<std::uint8_t> smallHeader = good;
    smallHeader[0] = 31;
    std::vector<std::uint8_t> wrongType = good;
    wrongType[4] = 2;
    std::vector<std::uint8_t> countTooLarge = good;
    countTooLarge[8] = 3;
    std::vector<std::uint8_t> hugeCount = good;
    hugeCount[8] = hugeCount[9] = hugeCount[10] = hugeCount[11] = 0xFF;
    std::vector<std::uint8_t> truncated(good.begin(), good.end() - 1);
    const std::vector<Case> cases{
        {"empty", {}},
        {"short header", std::vector<std::uint8_t>(good.begin(), good.begin() + 31)},
        {"header size below 32", smallHeader},
        {"type not rectangles", wrongType},
        {"count past the end", countTooLarge},
        {"count that would wrap", hugeCount},
        {"last rectangle cut", truncated}};
    for (const Case& c : cases)
        EXPECT_FALSE(RgnDataBlock::parse(c.bytes.data(), c.bytes.size()).has_value()) << c.what;
}

TEST(RgnDataBlock, ParseSkipsEmptyRectanglesAndExtraBytes) {
    std::vector<std::uint8_t> block =
        RgnDataBlock::build({{0, 0, 1, 1}, {4, 4, 4, 9}, {3, 5, 7, 2}, {2, 0, 3, 1}});
    block.push_back(0xAB); // bytes past the rectangles are ignored
    EXPECT_EQ(RgnDataBlock::parse(block.data(), block.size()),
              (std::vector<RgnRect>{{0, 0, 1, 1}, {2, 0, 3, 1}}));
    // A larger header size field does not move where the rectangles start.
    block[0] = 40;
    EXPECT_EQ(RgnDataBlock::parse(block.data(), block.size())->size(), 2u);
}

TEST(RgnDataBlock, TransformRoundsEachCorner) {
    const RgnTransform half{0.5f, 0, 0, 0.5f, 20, 40};
    EXPECT_EQ(RgnDataBlock::transformed({{111, 222, 333, 444}}, half),
              (std::vector<RgnRect>{{76, 151, 187, 262}}));
    // Halves round up, also below zero: floor(v + 0.5), not truncation and
    // not away from zero.
    EXPECT_EQ(RgnDataBlock::transformed({{0, 0, 1, 1}}, RgnTransform{1, 0, 0, 1, -2.5f, -2.7f}),
              (std::vector<RgnRect>{{-2, -3, -1, -2}}));
    const RgnTransform twice{2, 0, 0, 2, 3, 4};
    EXPECT_EQ(RgnDataBlock::transformed({{1, 1, 2, 3}}, twice), (std::vector<RgnRect>{{5, 6, 7, 10}}));
    // A rectangle rounded down to nothing is left out; a mirroring scale
    // puts the corners back in order.
    EXPECT_EQ(RgnDataBlock::transformed({{1, 0, 2, 1}}, RgnTransform{0.1f, 0, 0, 1, 0, 0}),
              std::vector<RgnRect>{});
    EXPECT_EQ(RgnDataBlock::transformed({{1, 0, 3, 1}}, RgnTransform{-1, 0, 0, 1, 10, 0}),
              (std::vector<RgnRect>{{7, 0, 9, 1}}));
    EXPECT_FALSE(RgnDataBlock::transformed({{0, 0, 1, 1}}, RgnTransform{1, 1, 0, 1, 0, 0}).has_value());
    EXPECT_FALSE(RgnDataBlock::transformed({{0, 0, 1, 1}}, RgnTransform{1e9f, 0, 0, 1, 0, 0}).has_value());
}

TEST(RgnRegion, BlockToRegionAndBack) {
    const std::vector<RgnRect> banded{{2, 0, 5, 2}, {1, 2, 3, 3}, {4, 2, 6, 3}};
    const std::vector<std::uint8_t> block = RgnDataBlock::build(banded);
    const auto region = RgnRegion::fromBlock(block.data(), block.size(), RgnTransform{});
    ASSERT_TRUE(region.has_value());
    EXPECT_EQ(RgnRegion::toBlock(*region), block);

    const auto moved = RgnRegion::fromBlock(block.data(), block.size(), RgnTransform{1, 0, 0, 1, 10, 20});
    EXPECT_EQ(*moved, region->translated(10, 20));
    EXPECT_TRUE(moved->contains(QPoint(12, 20)));
    EXPECT_FALSE(moved->contains(QPoint(15, 20))); // right edge is exclusive

    const std::vector<std::uint8_t> bad = header(32, 1, 5);
    EXPECT_FALSE(RgnRegion::fromBlock(bad.data(), bad.size(), RgnTransform{}).has_value());
}

TEST(RgnRegion, UnionOfOverlappingRectanglesIsCanonical) {
    // Out of order and overlapping: the union still lists banded rectangles.
    const QRegion r = RgnRegion::fromRects({{0, 2, 4, 4}, {0, 0, 4, 2}, {2, 1, 6, 3}});
    EXPECT_EQ(RgnRegion::rects(r), (std::vector<RgnRect>{{0, 0, 4, 1}, {0, 1, 6, 3}, {0, 3, 4, 4}}));
    EXPECT_TRUE(RgnRegion::fromRects({}).isEmpty());
}

} // namespace

namespace {

TEST(RgnDataBlock, CoalescedJoinsTouchingSpansAndEqualBands) {
    const std::vector<RgnRect> banded{{0, 0, 2, 1}, {2, 0, 3, 1}, {5, 0, 6, 1}, // touching spans
                                      {0, 1, 3, 2}, {5, 1, 6, 2},               // same spans below
                                      {0, 3, 3, 4}, {5, 3, 6, 4}};              // a gap row: kept apart
    EXPECT_EQ(RgnDataBlock::coalesced(banded),
              (std::vector<RgnRect>{{0, 0, 3, 2}, {5, 0, 6, 2}, {0, 3, 3, 4}, {5, 3, 6, 4}}));
    // The very first band merges as well, also when it has one span.
    EXPECT_EQ(RgnDataBlock::coalesced({{0, 0, 5, 1}, {0, 1, 5, 2}}), (std::vector<RgnRect>{{0, 0, 5, 2}}));
}

} // namespace
