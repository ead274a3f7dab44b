// Relations between the frames: the right-facing pair is the left-facing
// pair mirrored, every frame is different, and the high step lifts the head.
#include "FrameFile.h"

#include <gtest/gtest.h>

namespace {

int topRow(const FrameFile& f) {
    for (int y = 0; y < f.height(); ++y) {
        if (!f.runs(y).empty()) {
            return y;
        }
    }
    return -1;
}

TEST(FrameSetTest, RightFacingFramesMirrorTheLeftFacingOnesPixelForPixel) {
    const std::pair<const char*, const char*> pairs[] = {{"Rgn3.bmp", "Rgn5.bmp"}, {"Rgn4.bmp", "Rgn6.bmp"}};
    for (const auto& [leftName, rightName] : pairs) {
        const FrameFile left(leftName);
        const FrameFile right(rightName);
        int differing = 0;
        for (int y = 0; y < 87; ++y) {
            for (int x = 0; x < 53; ++x) {
                differing += !(left.at(x, y) == right.at(52 - x, y));
            }
        }
        EXPECT_EQ(differing, 0) << leftName << " and " << rightName;
    }
}

TEST(FrameSetTest, NoTwoFramesAreIdentical) {
    for (int a = 1; a <= 6; ++a) {
        for (int b = a + 1; b <= 6; ++b) {
            const FrameFile fa("Rgn" + std::to_string(a) + ".bmp");
            const FrameFile fb("Rgn" + std::to_string(b) + ".bmp");
            EXPECT_NE(fa.bytes(), fb.bytes()) << "Rgn" << a << " and Rgn" << b;
        }
    }
}

TEST(FrameSetTest, HighStepCarriesTheHeadFourRowsAboveTheStride) {
    EXPECT_EQ(topRow(FrameFile("Rgn3.bmp")) - topRow(FrameFile("Rgn4.bmp")), 4);
}

} // namespace
