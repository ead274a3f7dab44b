// What the Win32 desktop does to a window of the test's own, read back from
// Windows: the shape, the top-most state and the place.
#include "Win32Windows.h"
#include "TestWindow.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

WindowHandle handleOf(const TestWindow& window) {
    return {window.id()};
}

TEST(Win32Windows, TheShapeIsTheUnionOfTheRectanglesAndNoneHidesTheWindow) {
    struct Case {
        const char* what;
        std::vector<RgnRect> rects;
        std::vector<POINT> inside, outside;
    };
    const Case cases[] = {
        {"overlapping, out of order",
         {{20, 30, 60, 50}, {0, 0, 30, 40}},
         {{0, 0}, {29, 39}, {59, 49}, {25, 45}},
         {{30, 0}, {0, 40}, {60, 30}, {10, 49}}},
        {"none", {}, {}, {{0, 0}, {50, 40}}},
    };
    TestWindow window({100, 100, 200, 200});
    ASSERT_TRUE(window.hwnd());
    Win32Windows windows;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        windows.setWindowRegion(handleOf(window), c.rects);
        const HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
        // ERROR would mean the window has no shape at all and shows whole.
        EXPECT_NE(::GetWindowRgn(window.hwnd(), shape), ERROR);
        for (const POINT p : c.inside)
            EXPECT_TRUE(::PtInRegion(shape, p.x, p.y)) << p.x << "," << p.y;
        for (const POINT p : c.outside)
            EXPECT_FALSE(::PtInRegion(shape, p.x, p.y)) << p.x << "," << p.y;
        ::DeleteObject(shape);
    }
}

TEST(Win32Windows, TopMostSwitchesInPlace) {
    TestWindow window({0, 0, 50, 40});
    ASSERT_TRUE(window.hwnd());
    Win32Windows windows;
    windows.moveWindow(handleOf(window), 120, 130);
    EXPECT_EQ(windows.windowPos(handleOf(window)), (ScreenPoint{120, 130}));
    for (const bool on : {true, false, true}) {
        windows.setTopMost(handleOf(window), on);
        EXPECT_EQ(windows.isTopMost(handleOf(window)), on);
        EXPECT_TRUE(::IsWindow(window.hwnd()));
        EXPECT_EQ(windows.windowPos(handleOf(window)), (ScreenPoint{120, 130}));
    }
}

TEST(Win32Windows, AHiddenWindowIsAToolWindow) {
    TestWindow window({0, 0, 50, 40});
    ASSERT_TRUE(window.hwnd());
    Win32Windows().hideFromTaskbar(handleOf(window));
    const LONG_PTR style = ::GetWindowLongPtrW(window.hwnd(), GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(style & WS_EX_APPWINDOW);
}

} // namespace
