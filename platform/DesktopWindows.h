#pragma once

#include <vector>

#include "RgnRect.h"
#include "ScreenPoint.h"
#include "WindowHandle.h"

// What the program does to its own top-level windows.
class DesktopWindows {
public:
    virtual ~DesktopWindows() = default;

    // No taskbar button and no task-switcher entry; called before the window
    // is first shown. A window without an owner window is then on every
    // workspace, since nothing would lead back to it from another.
    virtual void hideFromTaskbar(WindowHandle window) = 0;
    // Moves a top-level window; its size is kept. Immediate. Positions are
    // pixels with the primary monitor's top-left corner at 0, 0, whatever
    // other monitors lie around it; so are all the desktop's positions.
    virtual void moveWindow(WindowHandle window, int left, int top) = 0;
    // Where the window's outer top-left corner is, as moveWindow counts.
    virtual ScreenPoint windowPos(WindowHandle window) const = 0;
    // Keeps the window above all windows that are not top-most, or not. The
    // window stays the same window (same native id) either way.
    virtual void setTopMost(WindowHandle window, bool on) = 0;
    virtual bool isTopMost(WindowHandle window) const = 0;
    // The window's shape: it shows and takes mouse input only inside the
    // union of these rectangles (in the window's own pixels, in any order);
    // with none, nothing of it shows.
    virtual void setWindowRegion(WindowHandle window, const std::vector<RgnRect>& region) = 0;
    // Brings the window to the front and gives it the input focus.
    virtual void setForegroundWindow(WindowHandle window) = 0;
};

// The installed desktop's window calls (see DesktopServices.h), declared
// here too so that code that only moves and shapes windows needs no more.
DesktopWindows& desktopWindows();
