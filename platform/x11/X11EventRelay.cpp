#include "X11EventRelay.h"

#include "MouseRelay.h"
#include "ScreenSpace.h"
#include "X11MascotConnection.h"

#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

// Xlib after Qt: its macros (None, Bool, Status, ...) would clash with Qt's
// names in Qt's headers.
#include <X11/Xlib.h>

namespace {

Qt::MouseButton qtButton(unsigned button) {
    switch (button) {
    case Button1:
        return Qt::LeftButton;
    case Button2:
        return Qt::MiddleButton;
    case Button3:
        return Qt::RightButton;
    default:
        return Qt::NoButton;
    }
}

Qt::MouseButtons qtButtons(unsigned state) {
    Qt::MouseButtons out;
    if (state & Button1Mask)
        out |= Qt::LeftButton;
    if (state & Button2Mask)
        out |= Qt::MiddleButton;
    if (state & Button3Mask)
        out |= Qt::RightButton;
    return out;
}

Qt::KeyboardModifiers qtModifiers(unsigned state) {
    Qt::KeyboardModifiers out;
    if (state & ShiftMask)
        out |= Qt::ShiftModifier;
    if (state & ControlMask)
        out |= Qt::ControlModifier;
    if (state & Mod1Mask)
        out |= Qt::AltModifier;
    return out;
}

} // namespace

X11EventRelay::X11EventRelay(X11MascotConnection& x, QWidget& widget, std::function<QPoint(QPoint)> toWidget,
                             std::function<void(unsigned long)> propertyChanged, std::function<void()> shown)
    : x_(x), widget_(&widget), toWidget_(std::move(toWidget)), propertyChanged_(std::move(propertyChanged)),
      shown_(std::move(shown)),
      events_(std::make_unique<QSocketNotifier>(ConnectionNumber(x.display()), QSocketNotifier::Read)),
      mouse_(std::make_unique<MouseRelay>(widget)) {
    connect(events_.get(), &QSocketNotifier::activated, this, [this] { readEvents(); });
}

X11EventRelay::~X11EventRelay() = default;

std::optional<X11EventRelay::Pointer> X11EventRelay::pointer() {
    Display* dpy = x_.display();
    Window root = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    const bool ok = XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &rx, &ry, &wx, &wy, &mask);
    readQueuedEvents();
    if (!ok)
        return std::nullopt;
    return Pointer{QPoint(rx, ry), (mask & Button1Mask) != 0};
}

void X11EventRelay::holdPointer(std::function<void(QPoint)> moved, std::function<void(QPoint)> released) {
    moved_ = std::move(moved);
    released_ = std::move(released);
}

void X11EventRelay::forgetPress() {
    mouse_->forgetPress();
}

void X11EventRelay::readQueuedEvents() {
    if (XEventsQueued(x_.display(), QueuedAlready) > 0)
        QTimer::singleShot(0, this, [this] { readEvents(); });
}

void X11EventRelay::readEvents() {
    Display* dpy = x_.display();
    while (XPending(dpy) > 0) {
        XEvent ev;
        XNextEvent(dpy, &ev);
        switch (ev.type) {
        case ButtonPress:
        case ButtonRelease:
            deliverButton(ev.type == ButtonPress, ev.xbutton.button, QPoint(ev.xbutton.x, ev.xbutton.y),
                          QPoint(ev.xbutton.x_root, ev.xbutton.y_root), ev.xbutton.state, ev.xbutton.time);
            break;
        case MotionNotify:
            deliverMotion(QPoint(ev.xmotion.x, ev.xmotion.y), QPoint(ev.xmotion.x_root, ev.xmotion.y_root),
                          ev.xmotion.state);
            break;
        case LeaveNotify:
            mouse_->hideHint();
            break;
        case PropertyNotify:
            if (propertyChanged_)
                propertyChanged_(ev.xproperty.atom);
            break;
        case MapNotify:
            if (ev.xmap.window == x_.window() && shown_)
                shown_();
            break;
        case ClientMessage:
            if (ev.xclient.message_type == x_.wmProtocols() &&
                static_cast<Atom>(ev.xclient.data.l[0]) == x_.wmDelete() && widget_)
                widget_->close();
            break;
        default:
            break;
        }
    }
}

void X11EventRelay::deliverButton(bool press, unsigned button, QPoint local, QPoint global, unsigned state,
                                  unsigned long time) {
    const Qt::MouseButton which = qtButton(button);
    if (which == Qt::NoButton)
        return;
    if (moved_) {
        // The drag holds the pointer: the widget does not see it.
        if (!press && which == Qt::LeftButton && released_)
            released_(global);
        return;
    }
    mouse_->button(press, which, qtButtons(state), qtModifiers(state), toWidget_(local),
                   ScreenSpace::current().deviceToLogical(global), time);
}

void X11EventRelay::deliverMotion(QPoint local, QPoint global, unsigned state) {
    if (moved_) {
        moved_(global);
        return;
    }
    mouse_->motion(qtButtons(state), qtModifiers(state), toWidget_(local),
                   ScreenSpace::current().deviceToLogical(global));
}
