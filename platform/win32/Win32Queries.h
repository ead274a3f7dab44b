#pragma once

#include "DesktopQueries.h"

#include <cstdint>
#include <optional>

// What the program asks Windows about the screen, the pointer and the
// shell. Coordinates are Windows' own: the primary monitor's top-left
// corner is 0, 0 there as in the program's space.
class Win32Queries : public DesktopQueries {
public:
    Win32Queries();
    ~Win32Queries() override;
    Win32Queries(const Win32Queries&) = delete;
    Win32Queries& operator=(const Win32Queries&) = delete;

    ScreenSize screenSize() const override; // the primary monitor
    // Where the pointer is; where it was last seen when Windows cannot say
    // (another desktop, the secure one, is in front).
    ScreenPoint cursorPos() const override;
    // Its visible frame; nothing when no window is in front or it is gone by
    // the time it is measured.
    std::optional<ForegroundWindow> foregroundWindow() const override;
    // The taskbar; where the shell shows none, the edge of the primary
    // monitor that its work area leaves out; nothing when neither is found.
    std::optional<ScreenRect> taskbarRect() const override;
    // Windows keeps nothing from the program.
    SessionLimits sessionLimits() const override { return {}; }
    // The primary monitor less the taskbar and other docked bars.
    std::optional<ScreenRect> workArea() const;

    // The visible frame of a window: the frame the desktop window manager
    // draws, without the invisible resize borders that the window's own
    // rectangle includes; that rectangle where the manager cannot say.
    std::optional<ScreenRect> visibleFrame(std::uintptr_t window) const;
    // Whether a window (the front one, say) is one of this program's.
    static bool isOwnWindow(std::uintptr_t window);

private:
    // dwmapi.dll, loaded at run time: the program still starts where it is
    // missing.
    void* dwmapi_ = nullptr;
    void* frameBounds_ = nullptr; // DwmGetWindowAttribute
    mutable ScreenPoint lastCursor_;
};
