#include "RgnOutline.h"
#include "RgnRegion.h"

#include <QRegion>

#include <gtest/gtest.h>

#include <random>

namespace {

// Qt's region arithmetic is the reference: for rectangles thrown anywhere,
// overlapping, touching or empty, the outline covers the same pixels as
// Qt's union, is in the one banded form Qt's rectangles come to, and
// answers point queries as Qt does.
TEST(RgnOutlineTest, UnionAgreesWithQtOnScatteredRectangles) {
    std::mt19937 random(21);
    std::uniform_int_distribution<int> coordinate(-4, 24), count(0, 12);
    for (int round = 0; round < 300; ++round) {
        std::vector<RgnRect> rects(static_cast<std::size_t>(count(random)));
        for (RgnRect& r : rects) {
            const int a = coordinate(random), b = coordinate(random), c = coordinate(random),
                      d = coordinate(random);
            r = {std::min(a, b), std::min(c, d), std::max(a, b), std::max(c, d)};
        }
        const RgnOutline outline = RgnOutline::unionOf(rects);
        const QRegion reference = RgnRegion::fromRects(rects);
        ASSERT_EQ(outline.rects(), RgnRegion::rects(reference)) << "round " << round;
        for (int y = -5; y < 26; y += 3)
            for (int x = -5; x < 26; x += 2)
                ASSERT_EQ(outline.contains(x, y), reference.contains(QPoint(x, y)))
                    << "round " << round << " at " << x << ", " << y;
    }
}

TEST(RgnOutlineTest, UnionOfOutlinesCoversEachAndOneIsItself) {
    const RgnOutline a = RgnOutline::unionOf({{0, 0, 4, 4}});
    const RgnOutline b = RgnOutline::unionOf({{2, 2, 6, 6}});
    EXPECT_EQ(RgnOutline::united({&a}), a);
    EXPECT_EQ(RgnOutline::united({&a, &b}).rects(),
              RgnRegion::rects(QRegion(0, 0, 4, 4).united(QRegion(2, 2, 4, 4))));
    EXPECT_TRUE(RgnOutline::united({}).empty());
}

} // namespace
