#include "XClient.h"

#include <X11/extensions/shape.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <stdexcept>

struct XClient::Impl {
    Display* dpy = nullptr;
    ::Window root = 0;

    Atom atom(const char* name) { return XInternAtom(dpy, name, False); }

    std::vector<unsigned long> cardinals(::Window w, const char* prop, Atom type) {
        Atom actual;
        int format;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        std::vector<unsigned long> out;
        if (XGetWindowProperty(dpy, w, atom(prop), 0, 1024, False, type, &actual, &format, &n, &after,
                               &data) == Success &&
            data && format == 32) {
            auto* values = reinterpret_cast<unsigned long*>(data);
            out.assign(values, values + n);
        }
        if (data)
            XFree(data);
        return out;
    }

    void collect(::Window w, std::vector<::Window>& out) {
        out.push_back(w);
        ::Window r, p, *children = nullptr;
        unsigned int n = 0;
        if (XQueryTree(dpy, w, &r, &p, &children, &n)) {
            for (unsigned int i = 0; i < n; ++i)
                collect(children[i], out);
            if (children)
                XFree(children);
        }
    }
};

namespace {
int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}
} // namespace

XClient::XClient(const std::string& display) : impl_(new Impl) {
    impl_->dpy = XOpenDisplay(display.c_str());
    if (!impl_->dpy) {
        delete impl_;
        throw std::runtime_error("cannot open display " + display);
    }
    // Windows of a program under test may vanish between two queries.
    XSetErrorHandler(ignoreErrors);
    impl_->root = DefaultRootWindow(impl_->dpy);
}

XClient::~XClient() {
    XCloseDisplay(impl_->dpy);
    delete impl_;
}

std::vector<XClient::Window> XClient::windowsOfPid(int pid) {
    std::vector<::Window> all;
    impl_->collect(impl_->root, all);
    std::vector<Window> out;
    for (::Window w : all) {
        auto v = impl_->cardinals(w, "_NET_WM_PID", XA_CARDINAL);
        if (!v.empty() && static_cast<int>(v[0]) == pid)
            out.push_back(w);
    }
    return out;
}

bool XClient::isViewable(Window w) {
    XWindowAttributes a;
    return XGetWindowAttributes(impl_->dpy, w, &a) && a.map_state == IsViewable;
}

std::string XClient::name(Window w) {
    Atom actual;
    int format;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    std::string out;
    if (XGetWindowProperty(impl_->dpy, w, impl_->atom("_NET_WM_NAME"), 0, 1024, False,
                           impl_->atom("UTF8_STRING"), &actual, &format, &n, &after, &data) == Success &&
        data) {
        out.assign(reinterpret_cast<char*>(data), n);
    }
    if (data)
        XFree(data);
    if (out.empty()) {
        char* wmName = nullptr;
        if (XFetchName(impl_->dpy, w, &wmName) && wmName) {
            out = wmName;
            XFree(wmName);
        }
    }
    return out;
}

XClient::Rect XClient::geometry(Window w) {
    ::Window r;
    int x, y;
    unsigned int width = 0, height = 0, border, depth;
    XGetGeometry(impl_->dpy, w, &r, &x, &y, &width, &height, &border, &depth);
    ::Window child;
    int rx = 0, ry = 0;
    XTranslateCoordinates(impl_->dpy, w, impl_->root, 0, 0, &rx, &ry, &child);
    return {rx, ry, static_cast<int>(width), static_cast<int>(height)};
}

std::vector<XClient::Rect> XClient::shape(Window w) {
    int count = 0, ordering = 0;
    XRectangle* rects = XShapeGetRectangles(impl_->dpy, w, ShapeBounding, &count, &ordering);
    std::vector<Rect> out;
    for (int i = 0; i < count; ++i)
        out.push_back({rects[i].x, rects[i].y, rects[i].width, rects[i].height});
    if (rects)
        XFree(rects);
    return out;
}

std::set<std::pair<int, int>> XClient::shapePixels(Window w) {
    std::set<std::pair<int, int>> out;
    for (const Rect& r : shape(w))
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x)
                out.insert({x, y});
    return out;
}

std::vector<std::string> XClient::netWmState(Window w) {
    return atoms(w, "_NET_WM_STATE");
}

std::vector<std::string> XClient::atoms(Window w, const std::string& property) {
    std::vector<std::string> out;
    for (unsigned long a : impl_->cardinals(w, property.c_str(), XA_ATOM)) {
        char* n = XGetAtomName(impl_->dpy, a);
        if (n) {
            out.emplace_back(n);
            XFree(n);
        }
    }
    return out;
}

bool XClient::hasState(Window w, const std::string& atom) {
    for (const auto& s : netWmState(w))
        if (s == atom)
            return true;
    return false;
}

std::optional<XClient::Window> XClient::activeWindow() {
    auto v = impl_->cardinals(impl_->root, "_NET_ACTIVE_WINDOW", XA_WINDOW);
    if (v.empty() || v[0] == 0)
        return std::nullopt;
    return v[0];
}

XClient::Window XClient::inputFocus() {
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(impl_->dpy, &focus, &revert);
    return focus == PointerRoot ? 0 : focus;
}

std::vector<XClient::Window> XClient::clientList() {
    auto v = impl_->cardinals(impl_->root, "_NET_CLIENT_LIST", XA_WINDOW);
    return {v.begin(), v.end()};
}

XClient::Window XClient::parentOf(Window w) {
    ::Window r, p = 0, *children = nullptr;
    unsigned int n = 0;
    if (XQueryTree(impl_->dpy, w, &r, &p, &children, &n) && children)
        XFree(children);
    return p;
}

XClient::Window XClient::topLevel(Window w) {
    Window current = w;
    for (;;) {
        Window p = parentOf(current);
        if (p == 0 || p == impl_->root)
            return current;
        current = p;
    }
}

std::vector<XClient::Window> XClient::stackingOrder() {
    ::Window r, p, *children = nullptr;
    unsigned int n = 0;
    std::vector<Window> out;
    if (XQueryTree(impl_->dpy, impl_->root, &r, &p, &children, &n) && children) {
        out.assign(children, children + n);
        XFree(children);
    }
    return out;
}

bool XClient::isOverrideRedirect(Window w) {
    XWindowAttributes a;
    return XGetWindowAttributes(impl_->dpy, w, &a) && a.override_redirect;
}

void XClient::sync() {
    XSync(impl_->dpy, False);
}

void XClient::requestClose(Window w) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = impl_->atom("WM_PROTOCOLS");
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(impl_->atom("WM_DELETE_WINDOW"));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(impl_->dpy, w, False, NoEventMask, &e);
    XFlush(impl_->dpy);
}
