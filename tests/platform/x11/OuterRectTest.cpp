// The front window's outer rectangle from what the X server tells of it:
// window managers that publish their frame extents and those (i3) that only
// reparent the client into a larger window of their own.

#include "XlibBridge.h"

#include <gtest/gtest.h>

namespace {

struct FrameCase {
    const char* name;
    ScreenRect client;
    std::vector<long> extents; // left, right, top, bottom
    std::optional<ScreenRect> holder;
    ScreenRect outer;
};

void PrintTo(const FrameCase& c, std::ostream* os) {
    *os << c.name;
}

class OuterRect : public ::testing::TestWithParam<FrameCase> {};

TEST_P(OuterRect, IsTheFrameTheWindowManagerDrew) {
    const FrameCase& c = GetParam();
    EXPECT_EQ(XlibBridge::outerRect(c.client, c.extents, c.holder), c.outer);
}

const ScreenRect client{100, 130, 500, 430};

INSTANTIATE_TEST_SUITE_P(
    FrontWindow, OuterRect,
    ::testing::Values(
        // Each side grows by its own extent, even where the frame window is
        // larger (an invisible border around what is drawn).
        FrameCase{"ExtentsWinOverTheHoldingWindow",
                  client,
                  {2, 3, 29, 5},
                  ScreenRect{80, 80, 520, 450},
                  ScreenRect{98, 101, 503, 435}},
        FrameCase{"ZeroExtentsMeanNoFrame", client, {0, 0, 0, 0}, ScreenRect{80, 80, 520, 450}, client},
        // i3: a title bar above the client, no extents.
        FrameCase{"WithoutExtentsTheHoldingWindowIsTheFrame",
                  client,
                  {},
                  ScreenRect{100, 111, 500, 430},
                  ScreenRect{100, 111, 500, 430}},
        FrameCase{"TooFewExtentsCountAsNone",
                  client,
                  {2, 3, 29},
                  ScreenRect{99, 111, 501, 431},
                  ScreenRect{99, 111, 501, 431}},
        // Borders on the sides and at the bottom only.
        FrameCase{"HolderFlushWithTheTopIsTheFrame",
                  client,
                  {},
                  ScreenRect{98, 130, 502, 432},
                  ScreenRect{98, 130, 502, 432}},
        FrameCase{"NoHoldingWindowLeavesTheClient", client, {}, std::nullopt, client},
        // A holding window that does not contain the client is no frame of it.
        FrameCase{"HolderLeftOfTheClientIsNoFrame", client, {}, ScreenRect{101, 111, 500, 430}, client},
        FrameCase{"HolderBelowTheTopIsNoFrame", client, {}, ScreenRect{100, 131, 500, 430}, client},
        FrameCase{"HolderShortOnTheRightIsNoFrame", client, {}, ScreenRect{100, 111, 499, 430}, client},
        FrameCase{"HolderShortAtTheBottomIsNoFrame", client, {}, ScreenRect{100, 111, 500, 429}, client}),
    [](const auto& test) { return std::string(test.param.name); });

} // namespace
