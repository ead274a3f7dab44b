// Properties every checked-in frame must have: the outline code and the
// colour-keyed painting of the mascot window rely on each of them.
#include "FrameFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace {

struct FrameGeometry {
    const char* name;
    int left, right, top, bottom; // inclusive figure columns and rows
    int maxEnclosed;
};

// Where the window layout expects each figure. Only the crouching frame may
// enclose a few background pixels, between its hands and its chest.
const FrameGeometry frames[] = {
    {"Rgn1.bmp", 5, 47, 2, 86, 0},  {"Rgn2.bmp", 7, 44, 15, 86, 10}, {"Rgn3.bmp", 4, 48, 23, 86, 0},
    {"Rgn4.bmp", 1, 50, 19, 86, 0}, {"Rgn5.bmp", 4, 48, 23, 86, 0},  {"Rgn6.bmp", 2, 51, 19, 86, 0},
};

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

class FrameFileTest : public ::testing::TestWithParam<FrameGeometry> {
protected:
    FrameFile frame{GetParam().name};
};

TEST_P(FrameFileTest, HeadersDescribeAnUncompressed24BitBottomUpPicture) {
    const auto& b = frame.bytes();
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    // Each field at its offset: file size, reserved, pixel offset, header
    // size, width, height (positive), planes and bits, compression, image
    // size, both resolutions, colours used, colours important.
    const std::pair<std::size_t, std::uint32_t> fields[] = {
        {2, 13974}, {6, 0},      {10, 54}, {14, 40}, {18, 53}, {22, 87}, {26, 1 | 24 << 16},
        {30, 0},    {34, 13920}, {38, 0},  {42, 0},  {46, 0},  {50, 0},
    };
    for (const auto& [offset, value] : fields) {
        EXPECT_EQ(le32(b, offset), value) << "at byte " << offset;
    }
    for (int row = 0; row < 87; ++row) {
        EXPECT_EQ(b[54 + std::size_t(row) * 160 + 159], 0) << "padding of stored row " << row;
    }
}

TEST_P(FrameFileTest, CornersAreBackground) {
    EXPECT_TRUE(frame.isBackground(0, 0));
    EXPECT_TRUE(frame.isBackground(52, 0));
    EXPECT_TRUE(frame.isBackground(0, 86));
    EXPECT_TRUE(frame.isBackground(52, 86));
}

TEST_P(FrameFileTest, FigureFillsItsExpectedColumnsAndRowsAndStandsOnTheBottomRow) {
    int left = 53, right = -1, top = 87, bottom = -1;
    for (int y = 0; y < 87; ++y) {
        for (int x = 0; x < 53; ++x) {
            if (!frame.isBackground(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    EXPECT_EQ(left, GetParam().left);
    EXPECT_EQ(right, GetParam().right);
    EXPECT_EQ(top, GetParam().top);
    EXPECT_EQ(bottom, 86);
}

TEST_P(FrameFileTest, NoRowHasMoreThanThreeRuns) {
    for (int y = 0; y < 87; ++y) {
        EXPECT_LE(frame.runs(y).size(), 3u) << "row " << y;
    }
}

TEST_P(FrameFileTest, EdgeIsDarkAndMostlyTheOutlineGrey) {
    // A figure pixel blended toward the background would sit on the edge and
    // be light, so a dark edge also rules out anti-aliasing.
    std::map<FrameFile::Pixel, int> edgeColours;
    int edgePixels = 0;
    int veryDark = 0;
    for (int y = 0; y < 87; ++y) {
        for (int x = 0; x < 53; ++x) {
            if (!frame.onEdge(x, y, true)) {
                continue;
            }
            const auto p = frame.at(x, y);
            EXPECT_TRUE(p.r < 128 && p.g < 128 && p.b < 128) << "edge pixel " << x << "," << y;
            ++edgePixels;
            veryDark += p.r < 64 && p.g < 64 && p.b < 64;
            ++edgeColours[p];
        }
    }
    ASSERT_GT(edgePixels, 0);
    EXPECT_GE(veryDark * 10, edgePixels * 9);
    const auto commonest = std::max_element(edgeColours.begin(), edgeColours.end(),
                                            [](const auto& a, const auto& b) { return a.second < b.second; });
    EXPECT_EQ(commonest->first, (FrameFile::Pixel{31, 31, 31}));
}

TEST_P(FrameFileTest, NoFigurePixelIsCloseToTheKeyColour) {
    // A nearly-key pixel would show as a speck of background colour on the
    // desktop, since only the exact key colour is left out.
    for (int y = 0; y < 87; ++y) {
        for (int x = 0; x < 53; ++x) {
            if (frame.isBackground(x, y)) {
                continue;
            }
            const auto p = frame.at(x, y);
            const int distance = std::abs(p.r - 0) + std::abs(p.g - 128) + std::abs(p.b - 192);
            EXPECT_GT(distance, 60) << "pixel " << x << "," << y;
        }
    }
}

TEST_P(FrameFileTest, FigureIsShadedAndEnclosesAtMostAFewBackgroundPixels) {
    std::set<FrameFile::Pixel> colours;
    for (int y = 0; y < 87; ++y) {
        for (int x = 0; x < 53; ++x) {
            if (!frame.isBackground(x, y)) {
                colours.insert(frame.at(x, y));
            }
        }
    }
    EXPECT_GE(colours.size(), 800u);
    EXPECT_LE(frame.enclosedBackground(), GetParam().maxEnclosed);
    RecordProperty("distinct_colours", int(colours.size()));
    RecordProperty("outline_rectangles", frame.outlineRectangles());
    RecordProperty("enclosed_background", frame.enclosedBackground());
}

TEST_P(FrameFileTest, BodyGreenIsAmongTheShades) {
    // The skin is lit around one mid-tone green; surfaces facing the viewer
    // come out at (nearly) exactly that colour.
    int nearMidTone = 0;
    for (int y = 0; y < 87; ++y) {
        for (int x = 0; x < 53; ++x) {
            const auto p = frame.at(x, y);
            nearMidTone += std::abs(p.r - 22) + std::abs(p.g - 235) + std::abs(p.b - 91) <= 4;
        }
    }
    EXPECT_GE(nearMidTone, 5);
}

INSTANTIATE_TEST_SUITE_P(Frames, FrameFileTest, ::testing::ValuesIn(frames),
                         [](const auto& test) { return std::string(test.param.name).substr(0, 4); });

} // namespace
