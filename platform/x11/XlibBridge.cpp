#include "XlibBridge.h"

#include "X11ErrorTrap.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

Display* display() {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

// The connection the queries use when one is set instead of Qt's.
Display*& queryConnection() {
    static Display* dpy = nullptr;
    return dpy;
}

Display* queryDisplay() {
    return queryConnection() ? queryConnection() : display();
}

// Traps the errors of requests about other programs' windows, which may
// vanish at any time. On a connection that only asks questions (the query
// connection), every request is a round trip that reports its own error
// before it returns, so the trap need not wait for the server.
class ErrorTrap : public X11ErrorTrap {
public:
    explicit ErrorTrap(Display* dpy) : X11ErrorTrap(dpy, dpy != queryConnection()) {}
};

Atom atom(Display* dpy, const char* name) {
    return XInternAtom(dpy, name, False);
}

// A 32-bit property as a list of longs (Xlib hands format-32 data as long).
std::vector<long> longProperty(Display* dpy, Window w, const char* name, Atom type) {
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<long> out;
    if (XGetWindowProperty(dpy, w, atom(dpy, name), 0, 1024, False, type, &actualType, &format, &count,
                           &after, &data) == Success &&
        data) {
        if (format == 32 && actualType == type)
            out.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
        XFree(data);
    }
    return out;
}

std::optional<ScreenRect> rootRect(Display* dpy, Window w) {
    Window root = 0, child = 0;
    int x = 0, y = 0, rx = 0, ry = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    if (!XGetGeometry(dpy, w, &root, &x, &y, &width, &height, &border, &depth))
        return std::nullopt;
    if (!XTranslateCoordinates(dpy, w, root, 0, 0, &rx, &ry, &child))
        return std::nullopt;
    return ScreenRect{rx, ry, rx + static_cast<int>(width), ry + static_cast<int>(height)};
}

// A window that reserves a screen edge (a panel) and lies on the screen
// rectangle: its rectangle on the root window.
std::optional<ScreenRect> panelOn(Display* dpy, Window w, ScreenRect screen) {
    std::vector<long> strut = longProperty(dpy, w, "_NET_WM_STRUT_PARTIAL", XA_CARDINAL);
    if (strut.size() < 4)
        strut = longProperty(dpy, w, "_NET_WM_STRUT", XA_CARDINAL);
    if (strut.size() < 4 || std::all_of(strut.begin(), strut.begin() + 4, [](long v) { return v == 0; }))
        return std::nullopt;
    const std::optional<ScreenRect> r = rootRect(dpy, w);
    if (!r)
        return std::nullopt;
    const bool onScreen =
        r->left < screen.right && r->right > screen.left && r->top < screen.bottom && r->bottom > screen.top;
    return onScreen ? r : std::nullopt;
}

std::vector<Window> children(Display* dpy, Window parent) {
    Window root = 0, up = 0;
    Window* list = nullptr;
    unsigned count = 0;
    std::vector<Window> out;
    if (XQueryTree(dpy, parent, &root, &up, &list, &count) && list) {
        out.assign(list, list + count);
        XFree(list);
    }
    return out;
}

// The child of the root window that holds the window (the window itself
// when the root is its parent); nothing when the tree cannot be read.
std::optional<Window> childOfRoot(Display* dpy, Window w) {
    // A bound on the walk, in case a broken tree loops.
    for (int depth = 0; depth < 64; ++depth) {
        Window root = 0, parent = 0;
        Window* list = nullptr;
        unsigned count = 0;
        if (!XQueryTree(dpy, w, &root, &parent, &list, &count))
            return std::nullopt;
        if (list)
            XFree(list);
        if (parent == 0)
            return std::nullopt; // w is a root window
        if (parent == root)
            return w;
        w = parent;
    }
    return std::nullopt;
}

bool viewable(Display* dpy, Window w) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(dpy, w, &attributes) && attributes.map_state == IsViewable;
}

void sendToRoot(Display* dpy, Window w, const char* type, long d0, long d1, long d2, long d3) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = atom(dpy, type);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = d0;
    ev.xclient.data.l[1] = d1;
    ev.xclient.data.l[2] = d2;
    ev.xclient.data.l[3] = d3;
    XSendEvent(dpy, DefaultRootWindow(dpy), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
}

} // namespace

void XlibBridge::setQueryConnection(void* display) {
    queryConnection() = static_cast<Display*>(display);
}

bool XlibBridge::available() {
    return display() != nullptr;
}

bool XlibBridge::serverOffersXWayland() {
    Display* dpy = display();
    if (!dpy)
        return false;
    int opcode = 0, event = 0, error = 0;
    return XQueryExtension(dpy, "XWAYLAND", &opcode, &event, &error) != 0;
}

std::string XlibBridge::windowManagerName() {
    Display* dpy = display();
    if (!dpy)
        return {};
    ErrorTrap trap(dpy);
    const std::vector<long> check =
        longProperty(dpy, DefaultRootWindow(dpy), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    if (check.empty() || check[0] == 0)
        return {};
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string name;
    if (XGetWindowProperty(dpy, static_cast<Window>(check[0]), atom(dpy, "_NET_WM_NAME"), 0, 256, False,
                           atom(dpy, "UTF8_STRING"), &type, &format, &count, &after, &data) == Success &&
        data) {
        if (format == 8)
            name.assign(reinterpret_cast<const char*>(data), count);
        XFree(data);
    }
    return trap.ok() ? name : std::string();
}

std::optional<std::string> XlibBridge::displayRefusal() {
    // Xlib prints a refusing server's reason to standard error on its own
    // line; it is caught here so that the caller can say it in its one.
    std::fflush(stderr);
    const int savedStderr = ::dup(STDERR_FILENO);
    std::FILE* capture = std::tmpfile();
    if (capture && savedStderr >= 0)
        ::dup2(::fileno(capture), STDERR_FILENO);
    Display* connection = XOpenDisplay(nullptr);
    std::string reason;
    if (capture && savedStderr >= 0) {
        std::fflush(stderr);
        ::dup2(savedStderr, STDERR_FILENO);
        std::rewind(capture);
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, capture))
            reason += buffer;
    }
    if (capture)
        std::fclose(capture);
    if (savedStderr >= 0)
        ::close(savedStderr);
    if (connection) {
        XCloseDisplay(connection);
        return std::nullopt;
    }
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' '))
        reason.pop_back();
    for (char& c : reason)
        if (c == '\n')
            c = ' ';
    return reason;
}

void XlibBridge::setWmState(std::uintptr_t window, bool mapped, bool on, const char* state1,
                            const char* state2) {
    Display* dpy = display();
    if (!dpy || !window)
        return;
    ErrorTrap trap(dpy);
    const Window w = static_cast<Window>(window);
    if (mapped) {
        // 1 = add, 0 = remove; source 2 = a pager-like tool, which window
        // managers obey without focus-stealing checks.
        sendToRoot(dpy, w, "_NET_WM_STATE", on ? 1 : 0, static_cast<long>(atom(dpy, state1)),
                   state2 ? static_cast<long>(atom(dpy, state2)) : 0, 2);
        XFlush(dpy);
        return;
    }
    std::vector<long> states = longProperty(dpy, w, "_NET_WM_STATE", XA_ATOM);
    for (const char* name : {state1, state2}) {
        if (!name)
            continue;
        const long a = static_cast<long>(atom(dpy, name));
        auto it = std::find(states.begin(), states.end(), a);
        if (on && it == states.end())
            states.push_back(a);
        else if (!on && it != states.end())
            states.erase(it);
    }
    XChangeProperty(dpy, w, atom(dpy, "_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(states.data()), static_cast<int>(states.size()));
    XFlush(dpy);
}

bool XlibBridge::hasWmState(std::uintptr_t window, const char* state) {
    Display* dpy = display();
    if (!dpy || !window)
        return false;
    ErrorTrap trap(dpy);
    const std::vector<long> states = longProperty(dpy, static_cast<Window>(window), "_NET_WM_STATE", XA_ATOM);
    return std::find(states.begin(), states.end(), static_cast<long>(atom(dpy, state))) != states.end();
}

std::uint32_t XlibBridge::internAtom(const char* name) {
    Display* dpy = display();
    return dpy ? static_cast<std::uint32_t>(atom(dpy, name)) : 0;
}

std::optional<ForegroundWindow> XlibBridge::activeWindow() {
    Display* dpy = queryDisplay();
    if (!dpy)
        return std::nullopt;
    ErrorTrap trap(dpy);
    const std::vector<long> active =
        longProperty(dpy, DefaultRootWindow(dpy), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    if (active.empty() || active[0] == 0)
        return std::nullopt;
    const Window w = static_cast<Window>(active[0]);
    const std::optional<ScreenRect> client = rootRect(dpy, w);
    if (!client || !trap.ok())
        return std::nullopt;
    const std::vector<long> extents = longProperty(dpy, w, "_NET_FRAME_EXTENTS", XA_CARDINAL);
    std::optional<ScreenRect> holder;
    if (extents.size() < 4)
        if (const std::optional<Window> top = childOfRoot(dpy, w))
            holder = rootRect(dpy, *top);
    if (!trap.ok())
        return std::nullopt;
    const ScreenRect rect = outerRect(*client, extents, holder);
    return ForegroundWindow{static_cast<std::uintptr_t>(w), rect};
}

ScreenRect XlibBridge::outerRect(ScreenRect client, const std::vector<long>& extents,
                                 std::optional<ScreenRect> holder) {
    if (extents.size() >= 4)
        return ScreenRect{
            client.left - static_cast<int>(extents[0]), client.top - static_cast<int>(extents[2]),
            client.right + static_cast<int>(extents[1]), client.bottom + static_cast<int>(extents[3])};
    const bool holds = holder && holder->left <= client.left && holder->top <= client.top &&
                       holder->right >= client.right && holder->bottom >= client.bottom;
    return holds ? *holder : client;
}

void XlibBridge::activate(std::uintptr_t window) {
    Display* dpy = display();
    if (!dpy || !window)
        return;
    ErrorTrap trap(dpy);
    sendToRoot(dpy, static_cast<Window>(window), "_NET_ACTIVE_WINDOW", 2, CurrentTime, 0, 0);
    XFlush(dpy);
}

std::optional<ScreenRect> XlibBridge::dockRect(ScreenRect screen) {
    Display* dpy = queryDisplay();
    if (!dpy)
        return std::nullopt;
    ErrorTrap trap(dpy);
    const long dock = static_cast<long>(atom(dpy, "_NET_WM_WINDOW_TYPE_DOCK"));
    for (long client : longProperty(dpy, DefaultRootWindow(dpy), "_NET_CLIENT_LIST", XA_WINDOW)) {
        const Window w = static_cast<Window>(client);
        const std::vector<long> types = longProperty(dpy, w, "_NET_WM_WINDOW_TYPE", XA_ATOM);
        if (std::find(types.begin(), types.end(), dock) == types.end())
            continue;
        if (auto r = panelOn(dpy, w, screen))
            return r;
    }
    // Some window managers list no panel (i3 leaves i3bar out of its client
    // list and sets no work area): any shown top-level window that reserves
    // an edge is one, the window manager's frame around it looked into.
    for (Window top : children(dpy, DefaultRootWindow(dpy))) {
        if (!viewable(dpy, top))
            continue;
        if (auto r = panelOn(dpy, top, screen))
            return r;
        for (Window inner : children(dpy, top))
            if (viewable(dpy, inner))
                if (auto r = panelOn(dpy, inner, screen))
                    return r;
    }
    return std::nullopt;
}

std::optional<XlibBridge::PointerState> XlibBridge::pointer() {
    Display* dpy = display();
    if (!dpy)
        return std::nullopt;
    ErrorTrap trap(dpy);
    Window root = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    if (!XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &rx, &ry, &wx, &wy, &mask))
        return std::nullopt;
    return PointerState{QPoint(rx, ry), (mask & Button1Mask) != 0};
}
