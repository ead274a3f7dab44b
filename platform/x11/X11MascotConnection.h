#pragma once

#include <QRect>

#include <memory>
#include <string>
#include <utility>
#include <vector>

struct _XDisplay;

// The mascot's own Xlib connection and the one X window it shows the mascot
// in, made with a visual that has alpha where the server offers one. Closing
// the connection (when this goes) destroys the window with it.
//
// Declared without any Xlib type (the server's ids are unsigned long, as
// Xlib's XID is; the visual is a pointer) so that Xlib's macros stay out of
// the Qt code that includes this.
class X11MascotConnection {
public:
    // The connection with its window at `g` (the server's pixels), unmapped
    // and with an empty shape; null when there is no X display, no shape
    // extension, or the server refused the window.
    static std::unique_ptr<X11MascotConnection> open(QRect g);
    ~X11MascotConnection();
    X11MascotConnection(const X11MascotConnection&) = delete;
    X11MascotConnection& operator=(const X11MascotConnection&) = delete;

    _XDisplay* display() const { return dpy_; }
    unsigned long window() const { return window_; }
    // The window's Visual* and depth, and whether the visual has alpha.
    void* visual() const { return visual_; }
    int depth() const { return depth_; }
    bool withAlpha() const { return colormap_ != 0; }
    // Atoms the window's events are told apart by.
    unsigned long wmState() const { return wmState_; }
    unsigned long wmDesktop() const { return wmDesktop_; }
    unsigned long wmProtocols() const { return wmProtocols_; }
    unsigned long wmDelete() const { return wmDelete_; }

    unsigned long atom(const char* name) const;
    // A client message about the window to the root window, as pagers send
    // them to the window manager.
    void sendToRoot(const char* type, long d0, long d1, long d2, long d3) const;
    // The window's property of 32-bit items of type CARDINAL or ATOM; empty
    // when it is missing.
    std::vector<long> cardinals(unsigned long property) const;
    std::vector<long> atoms(unsigned long property) const;
    // Sets the property to these atoms (by name), in order.
    void setAtoms(unsigned long property, const std::vector<long>& atoms) const;
    void setCardinal(unsigned long property, unsigned long value) const;
    // Copies the properties that the window manager and other programs go
    // by from `from` (Qt's own window for the widget) to this window, which
    // wants no keyboard focus.
    void copyIdentity(unsigned long from) const;
    // Takes size limits off the window's size hints and states its place.
    void setPlaceHints(QRect g) const;
    // Whether the window's structure events come (from a map until its
    // MapNotify), or only the pointer's and the properties'.
    void hearMap(bool on);

private:
    X11MascotConnection() = default;
    bool createWindow(QRect g);
    std::vector<long> longs(unsigned long property, unsigned long wanted) const;

    _XDisplay* dpy_ = nullptr;
    unsigned long window_ = 0;
    void* visual_ = nullptr;
    int depth_ = 0;
    // Made for a visual with alpha, which is not the screen's default.
    unsigned long colormap_ = 0;
    unsigned long wmState_ = 0, wmProtocols_ = 0, wmDelete_ = 0, wmDesktop_ = 0;
};
