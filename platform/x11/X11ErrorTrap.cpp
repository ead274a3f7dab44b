#include "X11ErrorTrap.h"

#include <X11/Xlib.h>

namespace {

// The innermost trap alive, and the handler the outermost one found. Xlib
// calls error handlers on the thread that reads the connection, and every
// trap lives on the GUI thread.
X11ErrorTrap*& innermost() {
    static X11ErrorTrap* trap = nullptr;
    return trap;
}

XErrorHandler& outside() {
    static XErrorHandler handler = nullptr;
    return handler;
}

int onError(Display* display, XErrorEvent* event) {
    if (X11ErrorTrap::caught(display))
        return 0;
    return outside() ? outside()(display, event) : 0;
}

} // namespace

X11ErrorTrap::X11ErrorTrap(_XDisplay* display, bool sync)
    : display_(display), sync_(sync), outer_(innermost()) {
    // Errors of requests made before the trap are not its business.
    if (sync_)
        XSync(display_, False);
    if (!outer_)
        outside() = XSetErrorHandler(onError);
    innermost() = this;
}

X11ErrorTrap::~X11ErrorTrap() {
    if (sync_)
        XSync(display_, False);
    innermost() = outer_;
    if (!outer_)
        XSetErrorHandler(outside());
}

bool X11ErrorTrap::ok() {
    if (sync_)
        XSync(display_, False);
    return !failed_;
}

bool X11ErrorTrap::caught(_XDisplay* display) {
    for (X11ErrorTrap* trap = innermost(); trap; trap = trap->outer_) {
        if (trap->display_ == display) {
            trap->failed_ = true;
            return true;
        }
    }
    return false;
}
