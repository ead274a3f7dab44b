// The outlines the program stores must be region data that Windows itself
// accepts and reads back unchanged, since on Windows a frame's shape is the
// block handed straight to ExtCreateRegion. The blocks come from the
// checked-in frames through the same outline code the layout builder uses.
#include "BitmapToRgnData.h"
#include "Picture.h"
#include "RgnBandBuilder.h"
#include "RgnDataBlock.h"
#include "SystemRegion.h"
#include "UnderWine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

SystemRegion::Transform systemForm(const RgnTransform& x) {
    return {x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy};
}

// The rectangles of the region Windows makes of a block, in its own order.
std::optional<std::vector<RgnRect>> windowsRects(const std::vector<std::uint8_t>& block,
                                                 const RgnTransform* xform = nullptr) {
    SystemRegion::Transform transform{};
    if (xform)
        transform = systemForm(*xform);
    const auto created = SystemRegion::created(block, xform ? &transform : nullptr);
    if (!created)
        return std::nullopt;
    return RgnDataBlock::parse(created->data(), created->size()).value_or(std::vector<RgnRect>{});
}

// Every checked-in frame, by file name.
std::vector<std::string> frameFiles() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(KUVITO_ART_SOURCE_DIR)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("Rgn", 0) == 0 && entry.path().extension() == ".bmp")
            names.push_back(entry.path().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::uint8_t> frameBlock(const std::string& file) {
    Picture picture = Picture::loadBmpFile(file);
    std::unique_ptr<std::uint8_t[]> buffer;
    const std::int32_t size = BitmapToRgnData(&picture, buffer);
    return {buffer.get(), buffer.get() + size};
}

// The canonical banded form of the union of some rectangles, worked out
// pixel row by pixel row: the form Windows must give for the same point set.
std::vector<RgnRect> bandedUnion(const std::vector<RgnRect>& rects) {
    const RgnRect box = RgnDataBlock::bounds(rects);
    RgnBandBuilder builder;
    for (std::int32_t y = box.top; y < box.bottom; ++y) {
        std::vector<std::int32_t> runs;
        for (std::int32_t x = box.left; x < box.right; ++x) {
            const bool inside =
                std::any_of(rects.begin(), rects.end(), [&](const RgnRect& r) { return r.contains(x, y); });
            if (inside && (runs.empty() || runs.back() != x))
                runs.insert(runs.end(), {x, x + 1});
            else if (inside)
                runs.back() = x + 1;
        }
        builder.addRow(y, runs);
    }
    return builder.finish();
}

TEST(RegionAgreement, EveryFrameOutlineRoundTripsThroughWindowsUnchanged) {
    const std::vector<std::string> frames = frameFiles();
    ASSERT_FALSE(frames.empty());
    for (const std::string& frame : frames) {
        const std::vector<std::uint8_t> block = frameBlock(frame);
        const auto created = SystemRegion::created(block);
        ASSERT_TRUE(created) << "Windows refused frame " << frame << "'s outline";
        EXPECT_EQ(*created, block) << "frame " << frame;
    }
}

// The outline worked out the slow way, independently of the outline code's
// fast paths and band building: each row's runs of pixels that differ in
// colour from the bottom-left pixel, united by Windows. The picture is
// converted first, so every format's path is taken.
TEST(RegionAgreement, OutlinesOfEveryPixelFormatAreWhatWindowsUnites) {
    const Picture::PixelFormat formats[] = {Picture::PixelFormat::pf24bit,  Picture::PixelFormat::pf32bit,
                                            Picture::PixelFormat::pfDevice, Picture::PixelFormat::pf16bit,
                                            Picture::PixelFormat::pf15bit,  Picture::PixelFormat::pf8bit,
                                            Picture::PixelFormat::pf4bit,   Picture::PixelFormat::pf1bit};
    for (const std::string& frame : frameFiles())
        for (const Picture::PixelFormat format : formats) {
            Picture picture = Picture::loadBmpFile(frame);
            picture.setPixelFormat(format);
            const Picture::Rgb key = picture.pixel(0, picture.height() - 1);
            std::vector<std::array<int, 4>> runs;
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    if (!(picture.pixel(x, y) == key)) {
                        if (!runs.empty() && runs.back()[1] == y && runs.back()[2] == x)
                            runs.back()[2] = x + 1;
                        else
                            runs.push_back({x, y, x + 1, y + 1});
                    }
            std::unique_ptr<std::uint8_t[]> buffer;
            const std::int32_t size = BitmapToRgnData(&picture, buffer);
            EXPECT_EQ(std::vector<std::uint8_t>(buffer.get(), buffer.get() + size),
                      SystemRegion::united(runs))
                << frame << ", format " << static_cast<int>(format);
        }
}

TEST(RegionAgreement, TransformedOutlinesMatchOurRounding) {
    const struct {
        const char* what;
        RgnTransform xform;
    } cases[] = {
        {"moved", {1, 0, 0, 1, 7, -3}},
        {"halved and moved", {0.5f, 0, 0, 0.5f, 20, 40}},
        {"doubled", {2, 0, 0, 2, 0, 0}},
        {"one and a half, moved by fractions", {1.5f, 0, 0, 1.5f, 0.25f, 0.75f}},
        {"halved and moved left and up", {0.5f, 0, 0, 0.5f, -40, -60}},
        {"mirrored", {-1, 0, 0, 1, 60, 0}},
    };
    for (const std::string& frame : frameFiles()) {
        const std::vector<std::uint8_t> block = frameBlock(frame);
        const std::vector<RgnRect> rects = *RgnDataBlock::parse(block.data(), block.size());
        for (const auto& c : cases) {
            const auto theirs = windowsRects(block, &c.xform);
            ASSERT_TRUE(theirs) << c.what;
            const std::optional<std::vector<RgnRect>> ours = RgnDataBlock::transformed(rects, c.xform);
            ASSERT_TRUE(ours) << c.what;
            EXPECT_EQ(*theirs, bandedUnion(*ours)) << "frame " << frame << ", " << c.what;
        }
    }
}

TEST(RegionAgreement, DocumentedRoundingExample) {
    const RgnTransform halvedAndMoved{0.5f, 0, 0, 0.5f, 20, 40};
    const std::vector<RgnRect> input{{111, 222, 333, 444}};
    const std::vector<RgnRect> expected{{76, 151, 187, 262}};
    EXPECT_EQ(windowsRects(RgnDataBlock::build(input), &halvedAndMoved), expected);
    EXPECT_EQ(RgnDataBlock::transformed(input, halvedAndMoved), expected);
}

// Windows and our parser must refuse the same damaged blocks and read the
// same rectangles from the ones they accept.
TEST(RegionAgreement, DamagedBlocksAreRefusedOrReadAlike) {
    const std::vector<RgnRect> two{{0, 0, 4, 2}, {1, 2, 3, 5}};
    const std::vector<std::uint8_t> good = RgnDataBlock::build(two);
    auto field = [](std::vector<std::uint8_t> block, std::size_t offset, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            block[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        return block;
    };
    auto withEmpty = [&] {
        std::vector<RgnRect> rects = two;
        rects.insert(rects.begin() + 1, RgnRect{5, 5, 5, 9});
        return RgnDataBlock::build(rects);
    };
    const struct {
        const char* what;
        std::vector<std::uint8_t> block;
        // Windows refuses a block shorter than its count asks for; Wine reads
        // past its end, so Wine is never handed one.
        bool shortOfItsCount;
    } cases[] = {
        {"intact", good, false},
        {"header size below 32", field(good, 0, 31), false},
        {"header size above 32", field(good, 0, 48), false},
        {"count beyond the data", field(good, 8, 3), true},
        {"count below the data", field(good, 8, 1), false},
        {"one byte short", {good.begin(), good.end() - 1}, true},
        {"header only, with a count", {good.begin(), good.begin() + 32}, true},
        {"wrong rectangle byte size", field(good, 12, 0), false},
        {"wrong bounds", field(good, 16, 100), false},
        {"an empty rectangle among them", withEmpty(), false},
    };
    const bool wine = underWine();
    for (const auto& c : cases) {
        if (wine && c.shortOfItsCount)
            continue;
        const auto theirs = windowsRects(c.block);
        const std::optional<std::vector<RgnRect>> ours = RgnDataBlock::parse(c.block.data(), c.block.size());
        EXPECT_EQ(theirs.has_value(), ours.has_value()) << c.what;
        if (theirs && ours) {
            EXPECT_EQ(*theirs, bandedUnion(*ours)) << c.what;
        }
    }
}

} // namespace
