#pragma once

#include <windows.h>

#include <cstdint>

// A plain top-level window of the test's own, without a frame, so that its
// visible frame is its rectangle on every system.
class TestWindow {
public:
    explicit TestWindow(RECT r);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    std::uintptr_t id() const { return reinterpret_cast<std::uintptr_t>(hwnd_); }
    // Shows it and waits until Windows has put it in front.
    bool bringToFront() const;

private:
    HWND hwnd_ = nullptr;
};
