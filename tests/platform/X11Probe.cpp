#include "X11Probe.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>

namespace {
Display* dpy(void* d) { return static_cast<Display*>(d); }

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

std::vector<long> longs(Display* d, Window w, const char* name, Atom type) {
    Atom actual = 0;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<long> out;
    if (XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, 1024, False, type, &actual, &format, &n, &after,
                           &data) == Success &&
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

std::vector<std::string> X11Probe::wmStates(std::uintptr_t window) {
    std::vector<std::string> names;
    Display* d = dpy(display_);
    for (long a : longs(d, static_cast<Window>(window), "_NET_WM_STATE", XA_ATOM)) {
        char* name = XGetAtomName(d, static_cast<Atom>(a));
        if (name) {
            names.emplace_back(name);
            XFree(name);
        }
    }
    return names;
}

bool X11Probe::hasWmState(std::uintptr_t window, const std::string& state) {
    const auto states = wmStates(window);
    return std::find(states.begin(), states.end(), state) != states.end();
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

bool X11Probe::leftButtonDown() {
    Display* d = dpy(display_);
    Window root = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(d, DefaultRootWindow(d), &root, &child, &rx, &ry, &wx, &wy, &mask);
    return (mask & Button1Mask) != 0;
}
