#include "Win32Windows.h"

#include "RgnDataBlock.h"

#include <windows.h>

namespace {

HWND hwndOf(WindowHandle window) {
    return reinterpret_cast<HWND>(window.id);
}

// The region Windows makes of the rectangles: the region-data block they
// form, as the stored outlines are. No rectangles make an empty region, not
// a null one, which would take the shape away and show the whole window.
HRGN regionOf(const std::vector<RgnRect>& rects) {
    if (rects.empty())
        return ::CreateRectRgn(0, 0, 0, 0);
    const std::vector<std::uint8_t> block = RgnDataBlock::build(rects);
    return ::ExtCreateRegion(nullptr, static_cast<DWORD>(block.size()),
                             reinterpret_cast<const RGNDATA*>(block.data()));
}

} // namespace

void Win32Windows::hideFromTaskbar(WindowHandle window) {
    // A tool window gets no taskbar button and no Alt+Tab entry. The style
    // is read when the window is shown, so it is set before that.
    const HWND hwnd = hwndOf(window);
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE,
                        (style | WS_EX_TOOLWINDOW) & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW));
}

void Win32Windows::moveWindow(WindowHandle window, int left, int top) {
    ::SetWindowPos(hwndOf(window), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

ScreenPoint Win32Windows::windowPos(WindowHandle window) const {
    RECT r{};
    if (!::GetWindowRect(hwndOf(window), &r))
        return {};
    return {r.left, r.top};
}

void Win32Windows::setTopMost(WindowHandle window, bool on) {
    // In place: the window keeps its handle, place and size.
    ::SetWindowPos(hwndOf(window), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool Win32Windows::isTopMost(WindowHandle window) const {
    return (::GetWindowLongPtrW(hwndOf(window), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void Win32Windows::setWindowRegion(WindowHandle window, const std::vector<RgnRect>& region) {
    const HRGN rgn = regionOf(region);
    if (!rgn)
        return;
    // The window owns the region once it has taken it; one it refused is
    // still ours to delete.
    if (!::SetWindowRgn(hwndOf(window), rgn, TRUE))
        ::DeleteObject(rgn);
}

void Win32Windows::setForegroundWindow(WindowHandle window) {
    ::SetForegroundWindow(hwndOf(window));
}
