#pragma once

#include <string>

// How the window manager of an XWayland session is to hold the mascot's
// window, by the name it publishes. Measured per compositor:
//   - sway places a managed X11 window itself and ignores the program's
//     moves; it leaves an override-redirect one where the program puts it,
//     drawn above every window whatever "always on top" says.
//   - Mutter (alone or as GNOME Shell) and KWin leave a managed window where
//     it is moved and stack it as asked, but keep it inside the work area:
//     never over GNOME Shell's top bar, never partly above the screen (on
//     KWin a window moved to y -47 stayed at 0). Override-redirect windows
//     escape that, so there the window is override-redirect while it stays
//     on top (on GNOME drawn above the bar too).
//   - Behind other windows, Mutter leaves a dock where it is put too, and
//     keeps one with _NET_WM_STATE_BELOW below every window: there the
//     window is such a dock. KWin 6.3 stacked that dock above the window in
//     front, so there it is managed as any window while behind, and kept
//     inside the work area.
// Unknown compositors get what is known to stay in place.
class MascotHolding {
public:
    enum Kind { Managed, Unmanaged, UnmanagedWhileOnTop, UnmanagedWhileOnTopDockBehind };
    static Kind onXWayland(const std::string& windowManagerName);
};
