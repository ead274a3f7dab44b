#include "TestWindow.h"

#include "MessagePump.h"

TestWindow::TestWindow(RECT r) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"kuvito test window";
    ::RegisterClassW(&wc);
    hwnd_ = ::CreateWindowExW(0, wc.lpszClassName, L"kuvito test", WS_POPUP, r.left, r.top, r.right - r.left,
                              r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
}

TestWindow::~TestWindow() {
    if (hwnd_)
        ::DestroyWindow(hwnd_);
}

bool TestWindow::bringToFront() const {
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetForegroundWindow(hwnd_);
    return pumpUntil([&] { return ::GetForegroundWindow() == hwnd_; });
}
