// What the full-screen watch reads of real windows: a frameless window over
// the whole primary monitor fills it, a captioned one whose frame is spread
// over it does not, and the program's own windows never make the watch
// answer. Needs a display.
#include "Win32FullScreenWatch.h"
#include "MessagePump.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

RECT primaryMonitor() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcMonitor;
}

// A shown window of the given style whose client area is `client`.
struct ShownWindow {
    HWND hwnd = nullptr;
    ShownWindow(DWORD style, RECT client) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"kuvito full-screen test";
        ::RegisterClassW(&wc);
        RECT r = client;
        ::AdjustWindowRectEx(&r, style, FALSE, 0);
        hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"full-screen test", style, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
        ::ShowWindow(hwnd, SW_SHOWNA);
    }
    ~ShownWindow() { ::DestroyWindow(hwnd); }
    std::uintptr_t id() const { return reinterpret_cast<std::uintptr_t>(hwnd); }
};

TEST(Win32FullScreenWatch, AWindowFillsTheMonitorOnlyWithItsClientArea) {
    const RECT monitor = primaryMonitor();
    const RECT belowCaption{monitor.left, monitor.top + 24, monitor.right, monitor.bottom};
    struct Case {
        const char* what;
        DWORD style;
        RECT client;
        bool fills;
    };
    const Case cases[] = {
        {"frameless over the monitor", WS_POPUP, monitor, true},
        {"captioned, its frame over the monitor", WS_OVERLAPPEDWINDOW, belowCaption, false},
    };
    for (const Case& c : cases) {
        const ShownWindow window(c.style, c.client);
        ASSERT_TRUE(window.hwnd) << c.what;
        const ScreenRect whole{monitor.left, monitor.top, monitor.right, monitor.bottom};
        // An empty rectangle stands for "fills none".
        EXPECT_TRUE(Win32FullScreenWatch::filledMonitor(window.id()).value_or(ScreenRect{}) ==
                    (c.fills ? whole : ScreenRect{}))
            << c.what;
    }
}

TEST(Win32FullScreenWatch, TheProgramsOwnFullScreenWindowDoesNotCount) {
    const ShownWindow window(WS_POPUP, primaryMonitor());
    ::SetForegroundWindow(window.hwnd);
    ASSERT_TRUE(pumpUntil([&] { return ::GetForegroundWindow() == window.hwnd; }));
    int changes = 0;
    const Win32FullScreenWatch watch([&] { ++changes; }, nullptr);
    EXPECT_FALSE(watch.fullScreenMonitor());
    EXPECT_EQ(changes, 0);
}

} // namespace
