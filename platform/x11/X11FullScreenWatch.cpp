#include "X11FullScreenWatch.h"

#include "X11ErrorTrap.h"

#include <QGuiApplication>
#include <QSocketNotifier>

// Xlib after Qt: its macros (None, Bool, Status, ...) would clash with Qt's
// names in Qt's headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <vector>

struct X11FullScreenWatch::Server {
    Display* dpy = nullptr;
    Window root = 0;
    Window active = 0;
    Atom activeWindow = 0, wmState = 0, fullScreen = 0;

    ~Server() {
        if (dpy)
            XCloseDisplay(dpy);
    }
    std::vector<long> longs(Window w, Atom property, Atom wanted) const {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::vector<long> out;
        if (XGetWindowProperty(dpy, w, property, 0, 1024, False, wanted, &type, &format, &count, &after,
                               &data) == Success &&
            data) {
            if (format == 32 && type == wanted)
                out.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
            XFree(data);
        }
        return out;
    }
};

std::unique_ptr<X11FullScreenWatch> X11FullScreenWatch::open(std::function<void()> changed) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto x = std::make_unique<Server>();
    x->dpy = XOpenDisplay(nullptr);
    if (!x->dpy)
        return nullptr;
    x->root = DefaultRootWindow(x->dpy);
    x->activeWindow = XInternAtom(x->dpy, "_NET_ACTIVE_WINDOW", False);
    x->wmState = XInternAtom(x->dpy, "_NET_WM_STATE", False);
    x->fullScreen = XInternAtom(x->dpy, "_NET_WM_STATE_FULLSCREEN", False);
    XSelectInput(x->dpy, x->root, PropertyChangeMask);
    return std::unique_ptr<X11FullScreenWatch>(new X11FullScreenWatch(std::move(x), std::move(changed)));
}

X11FullScreenWatch::X11FullScreenWatch(std::unique_ptr<Server> server, std::function<void()> changed)
    : x_(std::move(server)), changed_(std::move(changed)) {
    events_ = std::make_unique<QSocketNotifier>(ConnectionNumber(x_->dpy), QSocketNotifier::Read);
    connect(events_.get(), &QSocketNotifier::activated, this, [this] { readEvents(); });
    followActiveWindow();
}

X11FullScreenWatch::~X11FullScreenWatch() {
    events_.reset();
}

void X11FullScreenWatch::readEvents() {
    Server& x = *x_;
    // Reading the window's state reads the socket too, and events that come
    // with the reply wait in Xlib's queue where the socket notifier never
    // sees them: they are answered here before the loop goes back to sleep
    // (else the end of a full screen could go unheard until the next event).
    do
        answerPendingEvents();
    while (XEventsQueued(x.dpy, QueuedAlready) > 0);
}

void X11FullScreenWatch::answerPendingEvents() {
    Server& x = *x_;
    bool activeChanged = false;
    bool windowChanged = false;
    // A burst of events (a window going full screen sends its state and
    // several configures) is read in one go and answered once.
    while (XPending(x.dpy) > 0) {
        XEvent ev;
        XNextEvent(x.dpy, &ev);
        switch (ev.type) {
        case PropertyNotify:
            if (ev.xproperty.window == x.root && ev.xproperty.atom == x.activeWindow)
                activeChanged = true;
            else if (ev.xproperty.window == x.active && ev.xproperty.atom == x.wmState)
                windowChanged = true;
            break;
        case ConfigureNotify:
        case UnmapNotify:
        case DestroyNotify:
            if (ev.xany.window == x.active)
                windowChanged = true;
            break;
        default:
            break;
        }
    }
    if (activeChanged)
        followActiveWindow();
    else if (windowChanged)
        readActiveWindow();
}

void X11FullScreenWatch::followActiveWindow() {
    Server& x = *x_;
    const std::vector<long> active = x.longs(x.root, x.activeWindow, XA_WINDOW);
    const Window now = active.empty() ? 0 : static_cast<Window>(active.front());
    if (now != x.active) {
        // The window may be gone already; its errors are this connection's
        // only and end with the trap.
        X11ErrorTrap trap(x.dpy, true);
        if (x.active)
            XSelectInput(x.dpy, x.active, NoEventMask);
        x.active = now;
        if (x.active)
            XSelectInput(x.dpy, x.active, PropertyChangeMask | StructureNotifyMask);
    }
    readActiveWindow();
}

void X11FullScreenWatch::readActiveWindow() {
    Server& x = *x_;
    std::optional<QRect> now;
    if (x.active) {
        X11ErrorTrap trap(x.dpy, false);
        const std::vector<long> states = x.longs(x.active, x.wmState, XA_ATOM);
        if (std::find(states.begin(), states.end(), static_cast<long>(x.fullScreen)) != states.end()) {
            Window root = 0, child = 0;
            int wx = 0, wy = 0, rx = 0, ry = 0;
            unsigned width = 0, height = 0, border = 0, depth = 0;
            if (XGetGeometry(x.dpy, x.active, &root, &wx, &wy, &width, &height, &border, &depth) &&
                XTranslateCoordinates(x.dpy, x.active, root, 0, 0, &rx, &ry, &child) && trap.ok())
                now = QRect(rx, ry, static_cast<int>(width), static_cast<int>(height));
        }
    }
    if (now == fullScreen_)
        return;
    fullScreen_ = now;
    if (changed_)
        changed_();
}
