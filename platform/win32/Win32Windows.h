#pragma once

#include "DesktopWindows.h"

// What the program does to its own top-level windows, over Windows' own
// calls. A window's handle is its HWND.
class Win32Windows : public DesktopWindows {
public:
    void hideFromTaskbar(WindowHandle window) override;
    void moveWindow(WindowHandle window, int left, int top) override;
    ScreenPoint windowPos(WindowHandle window) const override;
    void setTopMost(WindowHandle window, bool on) override;
    bool isTopMost(WindowHandle window) const override;
    void setWindowRegion(WindowHandle window, const std::vector<RgnRect>& region) override;
    void setForegroundWindow(WindowHandle window) override;
};
