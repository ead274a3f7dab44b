#include "X11Probe.h"

#include <X11/Xlib.h>

#include <X11/extensions/shape.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>

namespace {
Display* dpy(void* d) {
    return static_cast<Display*>(d);
}

int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}

std::vector<long> longs(Display* d, Window w, const char* name, Atom type) {
    Atom actual = 0;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<long> out;
    if (XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, 1024, False, type, &actual, &format, &n,
                           &after, &data) == Success &&
        data) {
        if (format == 32)
            out.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + n);
        XFree(data);
    }
    return out;
}
} // namespace

X11Probe::X11Probe() : display_(XOpenDisplay(nullptr)) {
    if (display_)
        XSetErrorHandler(&ignoreErrors);
}

X11Probe::~X11Probe() {
    if (display_)
        XCloseDisplay(dpy(display_));
}

namespace {

std::vector<std::string> atomNames(Display* d, std::uintptr_t window, const char* property) {
    std::vector<std::string> names;
    for (long a : longs(d, static_cast<Window>(window), property, XA_ATOM)) {
        char* name = XGetAtomName(d, static_cast<Atom>(a));
        if (name) {
            names.emplace_back(name);
            XFree(name);
        }
    }
    return names;
}

} // namespace

std::vector<std::string> X11Probe::wmStates(std::uintptr_t window) {
    return atomNames(dpy(display_), window, "_NET_WM_STATE");
}

std::vector<std::string> X11Probe::windowTypes(std::uintptr_t window) {
    return atomNames(dpy(display_), window, "_NET_WM_WINDOW_TYPE");
}

int X11Probe::unmapsSince(std::uintptr_t window) {
    Display* d = dpy(display_);
    XWindowAttributes a{};
    if (XGetWindowAttributes(d, static_cast<Window>(window), &a) &&
        !(a.your_event_mask & StructureNotifyMask))
        XSelectInput(d, static_cast<Window>(window), a.your_event_mask | StructureNotifyMask);
    XSync(d, False);
    int unmaps = 0;
    XEvent e;
    while (XCheckTypedWindowEvent(d, static_cast<Window>(window), UnmapNotify, &e))
        ++unmaps;
    return unmaps;
}

bool X11Probe::overrideRedirect(std::uintptr_t window) {
    XWindowAttributes a{};
    return XGetWindowAttributes(dpy(display_), static_cast<Window>(window), &a) && a.override_redirect;
}

bool X11Probe::hasWmState(std::uintptr_t window, const std::string& state) {
    const auto states = wmStates(window);
    return std::find(states.begin(), states.end(), state) != states.end();
}

void X11Probe::requestWmState(std::uintptr_t window, bool on, const std::string& state) {
    Display* d = dpy(display_);
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = static_cast<Window>(window);
    ev.xclient.message_type = XInternAtom(d, "_NET_WM_STATE", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = on ? 1 : 0;
    ev.xclient.data.l[1] = static_cast<long>(XInternAtom(d, state.c_str(), False));
    ev.xclient.data.l[3] = 2;
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
    XFlush(d);
}

std::uintptr_t X11Probe::activeWindow() {
    Display* d = dpy(display_);
    const auto v = longs(d, DefaultRootWindow(d), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    return v.empty() ? 0 : static_cast<std::uintptr_t>(v[0]);
}

std::optional<QRect> X11Probe::frameRect(std::uintptr_t window) {
    Display* d = dpy(display_);
    Window w = static_cast<Window>(window);
    for (;;) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned n = 0;
        if (!XQueryTree(d, w, &root, &parent, &children, &n))
            return std::nullopt;
        if (children)
            XFree(children);
        if (parent == root)
            break;
        w = parent;
    }
    XWindowAttributes a{};
    if (!XGetWindowAttributes(d, w, &a))
        return std::nullopt;
    return QRect(a.x, a.y, a.width + 2 * a.border_width, a.height + 2 * a.border_width);
}

std::vector<QRect> X11Probe::docks() {
    Display* d = dpy(display_);
    std::vector<QRect> out;
    const long dock = static_cast<long>(XInternAtom(d, "_NET_WM_WINDOW_TYPE_DOCK", False));
    for (long c : longs(d, DefaultRootWindow(d), "_NET_CLIENT_LIST", XA_WINDOW)) {
        const auto types = longs(d, static_cast<Window>(c), "_NET_WM_WINDOW_TYPE", XA_ATOM);
        if (std::find(types.begin(), types.end(), dock) == types.end())
            continue;
        if (auto r = frameRect(static_cast<std::uintptr_t>(c)))
            out.push_back(*r);
    }
    return out;
}

bool X11Probe::onEveryWorkspace(std::uintptr_t window) {
    const auto v = longs(dpy(display_), static_cast<Window>(window), "_NET_WM_DESKTOP", XA_CARDINAL);
    return !v.empty() && (static_cast<unsigned long>(v[0]) & 0xFFFFFFFFUL) == 0xFFFFFFFFUL;
}

bool X11Probe::viewable(std::uintptr_t window) {
    XWindowAttributes a{};
    return XGetWindowAttributes(dpy(display_), static_cast<Window>(window), &a) && a.map_state == IsViewable;
}

bool X11Probe::leftButtonDown() {
    Display* d = dpy(display_);
    Window root = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(d, DefaultRootWindow(d), &root, &child, &rx, &ry, &wx, &wy, &mask);
    return (mask & Button1Mask) != 0;
}

std::uintptr_t X11Probe::clientNamed(const std::string& name) {
    Display* d = dpy(display_);
    const Atom netName = XInternAtom(d, "_NET_WM_NAME", False), utf8 = XInternAtom(d, "UTF8_STRING", False);
    for (long c : longs(d, DefaultRootWindow(d), "_NET_CLIENT_LIST", XA_WINDOW)) {
        Atom actual = 0;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        std::string got;
        if (XGetWindowProperty(d, static_cast<Window>(c), netName, 0, 1024, False, utf8, &actual, &format, &n,
                               &after, &data) == Success &&
            data)
            got.assign(reinterpret_cast<char*>(data), n);
        if (data)
            XFree(data);
        if (got == name)
            return static_cast<std::uintptr_t>(c);
    }
    return 0;
}

QRegion X11Probe::shape(std::uintptr_t window) {
    int count = 0, ordering = 0;
    XRectangle* rects =
        XShapeGetRectangles(dpy(display_), static_cast<Window>(window), ShapeBounding, &count, &ordering);
    QRegion out;
    for (int i = 0; i < count; ++i)
        out += QRect(rects[i].x, rects[i].y, rects[i].width, rects[i].height);
    if (rects)
        XFree(rects);
    return out;
}

std::optional<QRgb> X11Probe::pixel(std::uintptr_t window, QPoint at) {
    Display* d = dpy(display_);
    XImage* image = XGetImage(d, static_cast<Window>(window), at.x(), at.y(), 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return std::nullopt;
    const unsigned long p = XGetPixel(image, 0, 0);
    Visual* v = DefaultVisual(d, DefaultScreen(d));
    auto channel = [p](unsigned long mask) {
        int shift = 0;
        while (mask && !((mask >> shift) & 1))
            ++shift;
        const unsigned long max = mask >> shift;
        return max ? static_cast<int>(((p & mask) >> shift) * 255 / max) : 0;
    };
    const QRgb out = qRgb(channel(v->red_mask), channel(v->green_mask), channel(v->blue_mask));
    XDestroyImage(image);
    return out;
}
