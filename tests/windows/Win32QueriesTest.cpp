// What the Win32 desktop reads from Windows, checked against what the test
// itself arranged: a window of ours in front, the pointer where it was put.
// Needs a display (the Wine tests run on a virtual one).
#include "Win32Queries.h"
#include "TestWindow.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(Win32Queries, OurWindowInFrontIsReportedWithItsFrame) {
    TestWindow window({100, 120, 300, 270});
    ASSERT_TRUE(window.hwnd());
    ASSERT_TRUE(window.bringToFront());

    const Win32Queries queries;
    const auto front = queries.foregroundWindow();
    ASSERT_TRUE(front);
    EXPECT_EQ(front->id, window.id());
    EXPECT_EQ(front->rect, (ScreenRect{100, 120, 300, 270}));
    EXPECT_TRUE(Win32Queries::isOwnWindow(front->id));
    EXPECT_FALSE(Win32Queries::isOwnWindow(reinterpret_cast<std::uintptr_t>(::GetDesktopWindow())));
}

TEST(Win32Queries, AWindowThatIsGoneHasNoFrame) {
    HWND gone = nullptr;
    {
        TestWindow window({0, 0, 10, 10});
        gone = window.hwnd();
    }
    EXPECT_FALSE(Win32Queries().visibleFrame(reinterpret_cast<std::uintptr_t>(gone)));
}

// Under Wine the pointer is moved on the X server, which may refuse to move
// it or report it back late on a busy machine; what the queries report is
// held to what Windows itself reports right then.
TEST(Win32Queries, ThePointerIsWhereWindowsSaysItIs) {
    TestWindow window({600, 400, 700, 500});
    ASSERT_TRUE(window.bringToFront());
    const Win32Queries queries;
    for (const ScreenPoint p : {ScreenPoint{10, 20}, ScreenPoint{500, 300}}) {
        ASSERT_TRUE(::SetCursorPos(p.x, p.y));
        POINT windows{};
        ASSERT_TRUE(::GetCursorPos(&windows));
        const ScreenPoint read = queries.cursorPos();
        EXPECT_TRUE(read == (ScreenPoint{windows.x, windows.y})) << read.x << "," << read.y;
    }
}

// The bar the movers walk along is the one the user sees: the work area
// ends where it begins. (The test desktop docks a panel of its own, which
// Windows' work area leaves out, beside a taskbar the shell keeps hidden.)
TEST(Win32Queries, TheTaskbarBordersTheWorkArea) {
    const Win32Queries queries;
    const ScreenSize screen = queries.screenSize();
    const auto work = queries.workArea();
    ASSERT_TRUE(work);
    if (*work == (ScreenRect{0, 0, screen.width, screen.height}))
        GTEST_SKIP() << "the work area is the whole screen: no bar is docked";
    const auto bar = queries.taskbarRect();
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->left >= 0 && bar->top >= 0 && bar->right <= screen.width &&
                bar->bottom <= screen.height);
    const bool bordering = bar->top == work->bottom || bar->bottom == work->top || bar->left == work->right ||
                           bar->right == work->left;
    EXPECT_TRUE(bordering) << bar->left << "," << bar->top << "," << bar->right << "," << bar->bottom;
}

} // namespace
