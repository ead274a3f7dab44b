// Which front windows count as full screen, from what Windows tells of them.
#include "FullScreenRule.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr ScreenRect kMonitor{1920, 0, 3840, 1080}; // a second monitor, right of the primary

TEST(FullScreenRule, OnlyAWindowThatLeavesNothingOfItsMonitorCounts) {
    using Front = FullScreenRule::Front;
    const ScreenRect beyond{1912, -8, 3848, 1088}; // a frame spread past the monitor's edges
    const ScreenRect belowCaption{1920, 23, 3840, 1080};
    struct Case {
        const char* what;
        Front front;
        bool counts;
    };
    const Case cases[] = {
        {"a window without a frame filling the monitor", {kMonitor, kMonitor, kMonitor}, true},
        {"one a pixel short at the bottom", {{1920, 0, 3840, 1079}, {1920, 0, 3840, 1079}, kMonitor}, false},
        {"one a pixel short at the left", {{1921, 0, 3840, 1080}, {1921, 0, 3840, 1080}, kMonitor}, false},
        {"a captioned window spread over the monitor (maximised where no taskbar is)",
         {beyond, belowCaption, kMonitor, true},
         false},
        {"the same while the shell says a full-screen program runs",
         {beyond, belowCaption, kMonitor, true, false, true},
         false},
        {"a thin-bordered window over the monitor while the shell says so",
         {beyond, {1921, 1, 3839, 1079}, kMonitor, false, false, true},
         true},
        {"the same without the shell's word", {beyond, {1921, 1, 3839, 1079}, kMonitor}, false},
        {"a full-screen window minimised", {kMonitor, kMonitor, kMonitor, false, true}, false},
    };
    for (const Case& c : cases) {
        // An empty rectangle stands for "fills none".
        EXPECT_TRUE(FullScreenRule::filledMonitor(c.front).value_or(ScreenRect{}) ==
                    (c.counts ? kMonitor : ScreenRect{}))
            << c.what;
    }
}

} // namespace
