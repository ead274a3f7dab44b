// The program's one coordinate space on monitors that are not the classic
// single one: a primary monitor that is not leftmost, and scaled ones.

#include "ScreenSpace.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Screen = ScreenSpace::Screen;

struct SpaceCase {
    const char* name;
    std::vector<Screen> screens;
    std::size_t primary;
    QPoint device;        // a point as Xlib reports it
    QPoint program;       // the same point for the program
    ScreenRect deviceBar; // a panel as Xlib reports it
    ScreenRect programBar;
};

class Spaces : public ::testing::TestWithParam<SpaceCase> {};

TEST_P(Spaces, DeviceValuesReachTheProgramRelativeToThePrimaryAndBack) {
    const SpaceCase& c = GetParam();
    const ScreenSpace space(c.screens, c.primary);
    EXPECT_EQ(space.deviceToProgram(c.device), c.program);
    EXPECT_EQ(space.deviceToProgram(c.deviceBar), c.programBar);
    // What the program sets lands where the desktop reported it.
    EXPECT_EQ(space.logicalToDevice(space.toLogical(c.program)), c.device);
    EXPECT_EQ(space.toProgram(space.toLogical(c.program)), c.program);
    // The primary monitor starts at the program's 0, 0.
    const ScreenRect primary = space.primaryDevice();
    EXPECT_EQ(space.deviceToProgram(QPoint(primary.left, primary.top)), QPoint(0, 0));
}

const Screen left{{0, 0, 1024, 768}, 1}, right{{1024, 0, 1024, 768}, 1};

INSTANTIATE_TEST_SUITE_P(
    Monitors, Spaces,
    ::testing::Values(
        SpaceCase{"OneMonitor", {left}, 0, {300, 200}, {300, 200}, {0, 738, 1024, 768}, {0, 738, 1024, 768}},
        SpaceCase{"PrimaryLeft",
                  {left, right},
                  0,
                  {1500, 20},
                  {1500, 20},
                  {0, 738, 1024, 768},
                  {0, 738, 1024, 768}},
        SpaceCase{"PrimaryRight",
                  {left, right},
                  1,
                  {1500, 20},
                  {476, 20},
                  {1024, 738, 2048, 768},
                  {0, 738, 1024, 768}},
        // The pointer on the other monitor still has a place: left of 0.
        SpaceCase{"PrimaryRightPointerOnTheLeft",
                  {left, right},
                  1,
                  {100, 20},
                  {-924, 20},
                  {1024, 0, 2048, 30},
                  {0, 0, 1024, 30}},
        SpaceCase{"ScaleTwo",
                  {{{0, 0, 512, 384}, 2}},
                  0,
                  {600, 700},
                  {300, 350},
                  {0, 708, 1024, 768},
                  {0, 354, 512, 384}},
        SpaceCase{"ScaleOneAndAHalf",
                  {{{0, 0, 683, 512}, 1.5}},
                  0,
                  {150, 300},
                  {100, 200},
                  {0, 723, 1024, 768},
                  {0, 482, 683, 512}},
        // Qt keeps each monitor's corner where the device has it.
        SpaceCase{"ScaleTwoPrimaryRight",
                  {{{0, 0, 512, 384}, 2}, {{1024, 0, 512, 384}, 2}},
                  1,
                  {1224, 100},
                  {100, 50},
                  {1024, 708, 2048, 768},
                  {0, 354, 512, 384}}),
    [](const auto& test) { return std::string(test.param.name); });

// A drag keeps the pressed point under the pointer at the scale the window
// is drawn at, and that scale is the one a later move to the same corner
// draws it at (the corner's monitor), wherever that can hold.
TEST(ScreenSpace, DraggedCornerAndScaleAgreeAcrossABorderBetweenScales) {
    // A laptop's monitor at 2, primary, and an external one at 1 on its
    // right (device 2048..3072), or on its left.
    const ScreenSpace laptopLeft({{{0, 0, 1024, 768}, 2}, {{2048, 0, 1024, 768}, 1}}, 0);
    const ScreenSpace laptopRight({{{0, 0, 1024, 768}, 1}, {{1024, 0, 1024, 768}, 2}}, 1);
    const ScreenSpace oneAndAHalf({{{0, 0, 683, 512}, 1.5}}, 0);
    struct Case {
        const char* name;
        const ScreenSpace& space;
        QPoint pointer, press;
        QPoint corner;
        qreal scale;
    } cases[] = {
        {"on the laptop", laptopLeft, {1848, 130}, {26, 65}, {1796, 0}, 2},
        {"on the external one", laptopLeft, {2148, 130}, {26, 65}, {2122, 65}, 1},
        {"just past the border, corner behind it", laptopLeft, {2060, 130}, {26, 65}, {2008, 0}, 2},
        {"past the border leftwards", laptopRight, {1030, 200}, {26, 20}, {1004, 180}, 1},
        {"no scale keeps the corner on its monitor", laptopRight, {1040, 200}, {10, 20}, {1020, 160}, 2},
        {"fractional press point rounded", oneAndAHalf, {100, 100}, {25, 25}, {62, 62}, 1.5},
    };
    for (const Case& c : cases) {
        const ScreenSpace::Placement p = c.space.dragCorner(c.pointer, c.press);
        EXPECT_EQ(p.device, c.corner) << c.name;
        EXPECT_EQ(p.scale, c.scale) << c.name;
    }
}

TEST(ScreenSpace, ScaledOutlinesKeepNeighboursTouching) {
    // At 1.5 two pixel columns of 3 meet at 4.5: both edges round alike.
    const QRegion halves = QRegion(0, 0, 3, 1) + QRegion(3, 0, 3, 1);
    EXPECT_EQ(ScreenSpace::scaledRegion(halves, 1.5), QRegion(0, 0, 9, 2));
    EXPECT_EQ(ScreenSpace::scaledRegion(QRegion(1, 2, 3, 4), 2), QRegion(2, 4, 6, 8));
}

TEST(ScreenSpace, NoMonitorsAndNonsenseScalesActAsOnePlainMonitor) {
    const ScreenSpace none({}, 3);
    EXPECT_EQ(none.deviceToProgram(QPoint(7, 9)), QPoint(7, 9));
    const ScreenSpace zero({{{0, 0, 100, 100}, 0}}, 0);
    EXPECT_EQ(zero.deviceToProgram(QPoint(7, 9)), QPoint(7, 9));
}

} // namespace
