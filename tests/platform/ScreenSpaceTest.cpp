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

TEST(ScreenSpace, NoMonitorsAndNonsenseScalesActAsOnePlainMonitor) {
    const ScreenSpace none({}, 3);
    EXPECT_EQ(none.deviceToProgram(QPoint(7, 9)), QPoint(7, 9));
    const ScreenSpace zero({{{0, 0, 100, 100}, 0}}, 0);
    EXPECT_EQ(zero.deviceToProgram(QPoint(7, 9)), QPoint(7, 9));
}

} // namespace
