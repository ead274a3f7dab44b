#include "X11SessionClaim.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#include <string>

#include <X11/Xlib.h>

struct X11SessionClaim::Server {
    Display* dpy = nullptr;
    Window window = 0;
    Atom selection = 0;
    Atom comeForward = 0;
    ~Server() {
        if (!dpy)
            return;
        if (window)
            XDestroyWindow(dpy, window);
        XCloseDisplay(dpy);
    }
};

std::unique_ptr<X11SessionClaim> X11SessionClaim::claim(std::function<void()> comeForward) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto x = std::make_unique<Server>();
    x->dpy = XOpenDisplay(nullptr);
    if (!x->dpy)
        return nullptr;
    const int screen = DefaultScreen(x->dpy);
    const std::string name = "_KUVITO_S" + std::to_string(screen);
    x->selection = XInternAtom(x->dpy, name.c_str(), False);
    x->comeForward = XInternAtom(x->dpy, "_KUVITO_COME_FORWARD", False);
    XSetWindowAttributes attrs{};
    attrs.override_redirect = True;
    x->window = XCreateWindow(x->dpy, RootWindow(x->dpy, screen), -1, -1, 1, 1, 0, CopyFromParent, InputOnly,
                              CopyFromParent, CWOverrideRedirect, &attrs);
    // Two programs started at once must not both see the selection free.
    XGrabServer(x->dpy);
    const Window owner = XGetSelectionOwner(x->dpy, x->selection);
    if (owner == None)
        XSetSelectionOwner(x->dpy, x->selection, x->window, CurrentTime);
    XUngrabServer(x->dpy);
    std::unique_ptr<X11SessionClaim> result(new X11SessionClaim(std::move(x), std::move(comeForward)));
    if (owner == None) {
        result->owned_ = XGetSelectionOwner(result->x_->dpy, result->x_->selection) == result->x_->window;
        return result;
    }
    // An event sent with no mask goes to the client that made the window.
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = owner;
    event.xclient.message_type = result->x_->comeForward;
    event.xclient.format = 32;
    XSendEvent(result->x_->dpy, owner, False, NoEventMask, &event);
    XSync(result->x_->dpy, False);
    return result;
}

X11SessionClaim::X11SessionClaim(std::unique_ptr<Server> server, std::function<void()> comeForward)
    : x_(std::move(server)), comeForward_(std::move(comeForward)) {
    events_ = std::make_unique<QSocketNotifier>(ConnectionNumber(x_->dpy), QSocketNotifier::Read);
    connect(events_.get(), &QSocketNotifier::activated, this, [this] { readEvents(); });
}

X11SessionClaim::~X11SessionClaim() = default;

void X11SessionClaim::readEvents() {
    while (XPending(x_->dpy) > 0) {
        XEvent event{};
        XNextEvent(x_->dpy, &event);
        if (owned_ && event.type == ClientMessage && event.xclient.message_type == x_->comeForward &&
            comeForward_)
            comeForward_();
    }
}
