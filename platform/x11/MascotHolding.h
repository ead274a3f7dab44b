#pragma once

#include <string>

// How the window manager of an XWayland session is to hold the mascot's
// window, by the name it publishes. Measured per compositor:
//   - sway places a managed X11 window itself and ignores the program's
//     moves; it leaves an override-redirect one where the program puts it,
//     drawn above every window whatever "always on top" says.
//   - Mutter (alone or as GNOME Shell) leaves a managed window where it is
//     moved and stacks it as asked, but keeps it inside the work area: never
//     over GNOME Shell's top bar, never partly above the screen. Only
//     override-redirect windows and docks escape that. So the window is
//     override-redirect while it stays on top (drawn above the bar too), and
//     a dock kept below every window while it does not, so that any window
//     may cover it.
//   - KWin leaves a managed window where it is moved, and stacks it as asked.
// Unknown compositors get what is known to stay in place.
class MascotHolding {
public:
    enum Kind { Managed, Unmanaged, UnmanagedWhileOnTop };
    static Kind onXWayland(const std::string& windowManagerName);
};
