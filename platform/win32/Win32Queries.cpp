#include "Win32Queries.h"

#include "PanelFromWorkArea.h"

#include <windows.h>

#include <shellapi.h>

namespace {

// DwmGetWindowAttribute and the attribute it is asked for, as dwmapi.h has
// them; the header is not needed for one call.
using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
constexpr DWORD kExtendedFrameBounds = 9; // DWMWA_EXTENDED_FRAME_BOUNDS

ScreenRect fromRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

bool isEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

} // namespace

Win32Queries::Win32Queries() {
    // Only from the system folder, never a dwmapi.dll beside the program.
    if (HMODULE dwm = ::LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        dwmapi_ = dwm;
        frameBounds_ = reinterpret_cast<void*>(::GetProcAddress(dwm, "DwmGetWindowAttribute"));
    }
}

Win32Queries::~Win32Queries() {
    if (dwmapi_)
        ::FreeLibrary(static_cast<HMODULE>(dwmapi_));
}

ScreenSize Win32Queries::screenSize() const {
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

ScreenPoint Win32Queries::cursorPos() const {
    POINT p{};
    if (::GetCursorPos(&p))
        lastCursor_ = {p.x, p.y};
    return lastCursor_;
}

std::optional<ScreenRect> Win32Queries::visibleFrame(std::uintptr_t window) const {
    HWND hwnd = reinterpret_cast<HWND>(window);
    RECT r{};
    // The manager is off, or the call is not implemented (Wine), or the
    // window is not one it draws: the window's own rectangle.
    if (frameBounds_) {
        const auto dwmGetWindowAttribute = reinterpret_cast<DwmGetWindowAttributeFn>(frameBounds_);
        if (SUCCEEDED(dwmGetWindowAttribute(hwnd, kExtendedFrameBounds, &r, sizeof r)) && !isEmpty(r))
            return fromRect(r);
    }
    if (::GetWindowRect(hwnd, &r))
        return fromRect(r);
    return std::nullopt;
}

std::optional<ForegroundWindow> Win32Queries::foregroundWindow() const {
    HWND front = ::GetForegroundWindow();
    if (!front)
        return std::nullopt;
    const auto id = reinterpret_cast<std::uintptr_t>(front);
    const std::optional<ScreenRect> frame = visibleFrame(id);
    if (!frame)
        return std::nullopt;
    return ForegroundWindow{id, *frame};
}

bool Win32Queries::isOwnWindow(std::uintptr_t window) {
    DWORD process = 0;
    return ::GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &process) != 0 &&
           process == ::GetCurrentProcessId();
}

std::optional<ScreenRect> Win32Queries::workArea() const {
    RECT r{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0) || isEmpty(r))
        return std::nullopt;
    return fromRect(r);
}

std::optional<ScreenRect> Win32Queries::taskbarRect() const {
    // The shell answers for its taskbar window also while that window is
    // hidden (a shell that draws no taskbar, Wine's among them, keeps one),
    // and then its rectangle is no bar the user sees.
    HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    APPBARDATA bar{};
    bar.cbSize = sizeof bar;
    if (taskbar && ::IsWindowVisible(taskbar) && ::SHAppBarMessage(ABM_GETTASKBARPOS, &bar) &&
        !isEmpty(bar.rc))
        return fromRect(bar.rc);
    // No taskbar shown: the strip the work area leaves out of the primary
    // monitor, where another program's bar is docked.
    const std::optional<ScreenRect> work = workArea();
    if (!work)
        return std::nullopt;
    const ScreenSize screen = screenSize();
    return PanelFromWorkArea::find({0, 0, screen.width, screen.height}, *work);
}
