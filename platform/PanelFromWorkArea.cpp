#include "PanelFromWorkArea.h"

std::optional<ScreenRect> PanelFromWorkArea::find(ScreenRect monitor, ScreenRect workArea) {
    const ScreenRect& a = monitor;
    const ScreenRect& w = workArea;
    if (w.bottom < a.bottom)
        return ScreenRect{a.left, w.bottom, a.right, a.bottom};
    if (w.top > a.top)
        return ScreenRect{a.left, a.top, a.right, w.top};
    if (w.right < a.right)
        return ScreenRect{w.right, a.top, a.right, a.bottom};
    if (w.left > a.left)
        return ScreenRect{a.left, a.top, w.left, a.bottom};
    return std::nullopt;
}
