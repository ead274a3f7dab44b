#include "X11MascotConnection.h"

#include "X11ErrorTrap.h"

// Xlib after Qt: its macros (None, Bool, Status, ...) would clash with Qt's
// names in Qt's headers.
#include <X11/Xlib.h>

#include <X11/extensions/shape.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace {

// What the window tells this connection: the pointer over it and its
// properties. Structure events (a ConfigureNotify for every move) are heard
// only between a map and its MapNotify.
constexpr long kEventMask =
    ButtonPressMask | ButtonReleaseMask | PointerMotionMask | LeaveWindowMask | PropertyChangeMask;

// The properties Qt gave its own window for the widget that the window
// manager and other programs go by; this window carries them instead.
constexpr const char* kCopiedProperties[] = {
    "WM_CLASS",          "WM_NAME",
    "_NET_WM_NAME",      "WM_ICON_NAME",
    "_NET_WM_ICON_NAME", "_NET_WM_PID",
    "WM_CLIENT_MACHINE", "WM_CLIENT_LEADER",
    "WM_HINTS",          "WM_NORMAL_HINTS",
    "_MOTIF_WM_HINTS",   "_NET_WM_ICON",
    "WM_LOCALE_NAME",    "_NET_WM_WINDOW_TYPE",
};

} // namespace

std::unique_ptr<X11MascotConnection> X11MascotConnection::open(QRect g) {
    std::unique_ptr<X11MascotConnection> x(new X11MascotConnection);
    x->dpy_ = XOpenDisplay(nullptr);
    if (!x->dpy_)
        return nullptr;
    int shapeEvent = 0, shapeError = 0;
    if (!XShapeQueryExtension(x->dpy_, &shapeEvent, &shapeError) || !x->createWindow(g))
        return nullptr;
    return x;
}

X11MascotConnection::~X11MascotConnection() {
    if (!dpy_)
        return;
    if (window_)
        XDestroyWindow(dpy_, window_);
    if (colormap_)
        XFreeColormap(dpy_, colormap_);
    XCloseDisplay(dpy_);
}

void X11MascotConnection::hearMap(bool on) {
    XSelectInput(dpy_, window_, kEventMask | (on ? StructureNotifyMask : 0));
}

bool X11MascotConnection::createWindow(QRect g) {
    // A server out of memory refuses the window; Qt then shows the widget.
    X11ErrorTrap trap(dpy_, true);
    const int screen = DefaultScreen(dpy_);
    const Window root = RootWindow(dpy_, screen);
    XSetWindowAttributes attrs{};
    attrs.event_mask = kEventMask;
    unsigned long attrMask = CWEventMask;
    // A visual with alpha lets a compositor that ignores the shape (Wayland
    // compositors showing X11 programs) still show only the character; the
    // shape stays for window managers without compositing and limits input.
    XVisualInfo argb{};
    Visual* visual = nullptr;
    if (XMatchVisualInfo(dpy_, screen, 32, TrueColor, &argb)) {
        visual = argb.visual;
        depth_ = argb.depth;
        colormap_ = XCreateColormap(dpy_, root, visual, AllocNone);
        attrs.colormap = colormap_;
        attrs.border_pixel = 0;
        attrs.background_pixmap = None;
        attrMask |= CWColormap | CWBorderPixel | CWBackPixmap;
    } else {
        visual = DefaultVisual(dpy_, screen);
        depth_ = DefaultDepth(dpy_, screen);
        attrs.background_pixel = BlackPixel(dpy_, screen);
        attrMask |= CWBackPixel;
    }
    visual_ = visual;
    wmState_ = atom("_NET_WM_STATE");
    wmDesktop_ = atom("_NET_WM_DESKTOP");
    wmProtocols_ = atom("WM_PROTOCOLS");
    wmDelete_ = atom("WM_DELETE_WINDOW");
    window_ = XCreateWindow(dpy_, root, g.x(), g.y(), g.width(), g.height(), 0, depth_, InputOutput, visual,
                            attrMask, &attrs);
    Atom protocols = wmDelete_;
    XSetWMProtocols(dpy_, window_, &protocols, 1);
    // A window without a shape yet shows nothing rather than a black box.
    XShapeCombineRectangles(dpy_, window_, ShapeBounding, 0, 0, nullptr, 0, ShapeSet, YXBanded);
    return trap.ok();
}

unsigned long X11MascotConnection::atom(const char* name) const {
    return XInternAtom(dpy_, name, False);
}

void X11MascotConnection::sendToRoot(const char* type, long d0, long d1, long d2, long d3) const {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = window_;
    ev.xclient.message_type = atom(type);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = d0;
    ev.xclient.data.l[1] = d1;
    ev.xclient.data.l[2] = d2;
    ev.xclient.data.l[3] = d3;
    XSendEvent(dpy_, DefaultRootWindow(dpy_), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
}

std::vector<long> X11MascotConnection::cardinals(unsigned long property) const {
    return longs(property, XA_CARDINAL);
}

std::vector<long> X11MascotConnection::atoms(unsigned long property) const {
    return longs(property, XA_ATOM);
}

std::vector<long> X11MascotConnection::longs(unsigned long property, unsigned long wanted) const {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<long> out;
    if (XGetWindowProperty(dpy_, window_, property, 0, 1024, False, wanted, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        if (format == 32)
            out.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
        XFree(data);
    }
    return out;
}

void X11MascotConnection::setAtoms(unsigned long property, const std::vector<long>& atoms) const {
    XChangeProperty(dpy_, window_, property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(atoms.data()), static_cast<int>(atoms.size()));
}

void X11MascotConnection::setCardinal(unsigned long property, unsigned long value) const {
    const long item = static_cast<long>(value);
    XChangeProperty(dpy_, window_, property, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&item), 1);
}

void X11MascotConnection::copyIdentity(unsigned long from) const {
    for (const char* name : kCopiedProperties) {
        const Atom property = atom(name);
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(dpy_, from, property, 0, 1 << 20, False, AnyPropertyType, &type, &format,
                               &count, &after, &data) == Success &&
            data && type != 0) {
            XChangeProperty(dpy_, window_, property, type, format, PropModeReplace, data,
                            static_cast<int>(count));
        }
        if (data)
            XFree(data);
    }
    // The character never takes the keyboard from the window the user types
    // in: it wants no input, and no user action maps it (GNOME Shell 43 and
    // 48 focused it at every start while it wanted input, whatever its user
    // time said). It still comes to the front when the desktop asks.
    XWMHints* copied = XGetWMHints(dpy_, window_);
    XWMHints hints = copied ? *copied : XWMHints{};
    if (copied)
        XFree(copied);
    hints.flags |= InputHint;
    hints.input = False;
    XSetWMHints(dpy_, window_, &hints);
    setCardinal(atom("_NET_WM_USER_TIME"), 0);
}

void X11MascotConnection::setPlaceHints(QRect g) const {
    // Qt's size hints describe the whole form; this window is the outline's,
    // and its size changes with the frame, which limits would prevent.
    XSizeHints hints{};
    long supplied = 0;
    if (XGetWMNormalHints(dpy_, window_, &hints, &supplied)) {
        hints.flags &= ~(PMinSize | PMaxSize | PResizeInc | PBaseSize | PAspect);
        hints.x = g.x();
        hints.y = g.y();
        hints.width = g.width();
        hints.height = g.height();
        XSetWMNormalHints(dpy_, window_, &hints);
    }
}
