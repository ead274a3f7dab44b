#pragma once

#include "DesktopServices.h"

#include <QPoint>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The few X11 requests the Qt side cannot make itself. Declared without any
// Xlib type, so that Xlib's macros (None, Bool, Status, ...) stay inside
// XlibBridge.cpp and never meet Qt's names. Works on the Xlib display Qt
// itself uses; every call traps X errors (a window that vanished meanwhile
// gives an empty answer instead of ending the program).
class XlibBridge {
public:
    // False when Qt does not run on xcb (no display to talk to).
    static bool available();
    // Whether an X server accepts a connection to the display named in
    // $DISPLAY, tried on a connection of its own that is closed again. Asked
    // before Qt starts, because Qt aborts the program when it cannot connect.
    // Nothing when it does; otherwise the server's reason, if it gave one.
    static std::optional<std::string> displayRefusal();

    // Whether the X server says it is XWayland: newer ones (23.1 and later)
    // offer the XWAYLAND extension. Older ones are known only by the names
    // of their outputs (X11Desktop asks Qt's screens).
    static bool serverOffersXWayland();

    // The window manager's name as it publishes it (_NET_SUPPORTING_WM_CHECK's
    // _NET_WM_NAME); empty without one.
    static std::string windowManagerName();

    // _NET_WM_STATE: with mapped = false the property is edited directly (as
    // the window manager reads it when the window is mapped), otherwise a
    // client message asks the window manager to change it.
    static void setWmState(std::uintptr_t window, bool mapped, bool on, const char* state1,
                           const char* state2 = nullptr);
    // True when the window's _NET_WM_STATE property lists the state.
    static bool hasWmState(std::uintptr_t window, const char* state);
    // The server's number for an atom name (0 without a display).
    static std::uint32_t internAtom(const char* name);

    // An Xlib connection (a Display*) of the program's own on which the
    // queries below about the front window and the panel are asked instead
    // of Qt's, so that a movement tick's questions do not wake Qt's event
    // thread; null returns them to Qt's connection.
    static void setQueryConnection(void* display);

    // The active window (client window id) and its outer rectangle, frame
    // included; nothing when no window is active.
    static std::optional<ForegroundWindow> activeWindow();
    // A client window's outer rectangle from what the server tells of it:
    // its own rectangle, the frame extents its window manager publishes
    // (left, right, top, bottom; empty when it publishes none) and the
    // rectangle of the child of the root window that holds it (the window
    // manager's frame window, or the client itself when nothing reparents
    // it). Published extents win: they are the window manager's own word on
    // its frame, while the window it reparents into may be larger than what
    // it draws (invisible borders, shadows). Without them (i3 draws a title
    // bar and publishes none) the holding window is the frame, as long as it
    // contains the client.
    static ScreenRect outerRect(ScreenRect client, const std::vector<long>& extents,
                                std::optional<ScreenRect> holder);
    // Asks the window manager to activate the window, as a pager would.
    static void activate(std::uintptr_t window);

    // A dock window with a strut that lies on the given screen rectangle.
    static std::optional<ScreenRect> dockRect(ScreenRect screen);

    // The pointer position and whether the left button is down, straight
    // from the server (not from Qt's last event).
    struct PointerState {
        QPoint pos;
        bool leftDown = false;
    };
    static std::optional<PointerState> pointer();
};
