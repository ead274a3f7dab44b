#include "X11MascotWindow.h"

#include "ScreenSpace.h"
#include "X11ErrorTrap.h"
#include "X11FramePictures.h"
#include "XlibBridge.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

// Xlib after Qt: its macros (None, Bool, Status, ...) would clash with Qt's
// names in Qt's headers.
#include <X11/Xlib.h>

#include <X11/extensions/shape.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// _NET_WM_DESKTOP's value for a window on every workspace.
constexpr unsigned long kAllWorkspaces = 0xFFFFFFFFUL;

// Often enough to keep up with a hand, rare enough to cost nothing; the
// pointer's own motion events move the window in between.
constexpr int kDragPollMs = 30;

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

// Everything that carries an Xlib type.
struct X11MascotWindow::Server {
    Display* dpy = nullptr;
    Window window = 0;
    Visual* visual = nullptr;
    int depth = 0;
    // Made for a visual with alpha, which is not the screen's default.
    Colormap colormap = 0;
    Atom wmState = 0, wmProtocols = 0, wmDelete = 0, wmDesktop = 0;

    ~Server() {
        if (!dpy)
            return;
        if (window)
            XDestroyWindow(dpy, window);
        if (colormap)
            XFreeColormap(dpy, colormap);
        XCloseDisplay(dpy);
    }
    Atom atom(const char* name) const { return XInternAtom(dpy, name, False); }
    // Makes the window, unmapped, with no shape yet; false when the server
    // refused it.
    bool createWindow(QRect g);
    void sendToRoot(const char* type, long d0, long d1, long d2, long d3) const {
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = window;
        ev.xclient.message_type = atom(type);
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = d0;
        ev.xclient.data.l[1] = d1;
        ev.xclient.data.l[2] = d2;
        ev.xclient.data.l[3] = d3;
        XSendEvent(dpy, DefaultRootWindow(dpy), False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &ev);
    }
    std::vector<long> cardinals(Window w, Atom property) const { return longs(w, property, XA_CARDINAL); }
    std::vector<long> atoms(Window w, Atom property) const { return longs(w, property, XA_ATOM); }
    std::vector<long> longs(Window w, Atom property, Atom wanted) const {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::vector<long> out;
        if (XGetWindowProperty(dpy, w, property, 0, 1024, False, wanted, &type, &format, &count, &after,
                               &data) == Success &&
            data) {
            if (format == 32)
                out.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
            XFree(data);
        }
        return out;
    }
};

std::unique_ptr<X11MascotWindow> X11MascotWindow::adopt(QWidget& widget) {
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !widget.isWindow() ||
        widget.testAttribute(Qt::WA_WState_Created))
        return nullptr;
    auto x = std::make_unique<Server>();
    x->dpy = XOpenDisplay(nullptr);
    if (!x->dpy)
        return nullptr;
    int shapeEvent = 0, shapeError = 0;
    if (!XShapeQueryExtension(x->dpy, &shapeEvent, &shapeError))
        return nullptr;
    // Until the first outline is shown the window covers the form.
    const ScreenSpace space = ScreenSpace::current();
    const QPoint corner = widget.geometry().topLeft();
    const QSize size = widget.size().expandedTo(QSize(1, 1)) * space.scaleAtLogical(corner);
    if (!x->createWindow(QRect(space.logicalToDevice(corner), size)))
        return nullptr;
    return std::unique_ptr<X11MascotWindow>(new X11MascotWindow(widget, std::move(x)));
}

bool X11MascotWindow::Server::createWindow(QRect g) {
    // A server out of memory refuses the window; Qt then shows the widget.
    X11ErrorTrap trap(dpy, true);
    const int screen = DefaultScreen(dpy);
    const Window root = RootWindow(dpy, screen);
    XSetWindowAttributes attrs{};
    attrs.event_mask =
        ButtonPressMask | ButtonReleaseMask | PointerMotionMask | LeaveWindowMask | PropertyChangeMask;
    unsigned long attrMask = CWEventMask;
    // A visual with alpha lets a compositor that ignores the shape (Wayland
    // compositors showing X11 programs) still show only the character; the
    // shape stays for window managers without compositing and limits input.
    XVisualInfo argb{};
    if (XMatchVisualInfo(dpy, screen, 32, TrueColor, &argb)) {
        visual = argb.visual;
        depth = argb.depth;
        colormap = XCreateColormap(dpy, root, visual, AllocNone);
        attrs.colormap = colormap;
        attrs.border_pixel = 0;
        attrs.background_pixmap = None;
        attrMask |= CWColormap | CWBorderPixel | CWBackPixmap;
    } else {
        visual = DefaultVisual(dpy, screen);
        depth = DefaultDepth(dpy, screen);
        attrs.background_pixel = BlackPixel(dpy, screen);
        attrMask |= CWBackPixel;
    }
    wmState = atom("_NET_WM_STATE");
    wmDesktop = atom("_NET_WM_DESKTOP");
    wmProtocols = atom("WM_PROTOCOLS");
    wmDelete = atom("WM_DELETE_WINDOW");
    window = XCreateWindow(dpy, root, g.x(), g.y(), g.width(), g.height(), 0, depth, InputOutput, visual,
                           attrMask, &attrs);
    XSetWMProtocols(dpy, window, &wmDelete, 1);
    // A window without a shape yet shows nothing rather than a black box.
    XShapeCombineRectangles(dpy, window, ShapeBounding, 0, 0, nullptr, 0, ShapeSet, YXBanded);
    return trap.ok();
}

X11MascotWindow::X11MascotWindow(QWidget& widget, std::unique_ptr<Server> server)
    : widget_(&widget), x_(std::move(server)), mouse_(widget) {
    takeWidgetPlace();
    // The widget is shown to Qt but not on screen: this window is what the
    // user sees, and nothing the widget paints goes through Qt's backing
    // store. Its pictures are taken with QWidget::render when needed.
    widget.setAttribute(Qt::WA_DontShowOnScreen, true);
    // Nor does the widget ask for repaints: with updates off, the update()
    // of every frame switch returns at once.
    widget.setUpdatesEnabled(false);
    widget.installEventFilter(this);

    // The front window and the panel are asked about here too.
    XlibBridge::setQueryConnection(x_->dpy);
    events_ = std::make_unique<QSocketNotifier>(ConnectionNumber(x_->dpy), QSocketNotifier::Read);
    connect(events_.get(), &QSocketNotifier::activated, this, [this] { readEvents(); });
}

X11MascotWindow::~X11MascotWindow() {
    XlibBridge::setQueryConnection(nullptr);
    events_.reset();
    if (!widget_)
        return;
    // The widget goes back to Qt: it paints again, and is on screen the
    // next time it is shown.
    widget_->removeEventFilter(this);
    widget_->setUpdatesEnabled(true);
    widget_->setAttribute(Qt::WA_DontShowOnScreen, false);
}

std::uintptr_t X11MascotWindow::id() const {
    return x_->window;
}

bool X11MascotWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != widget_)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        map();
        break;
    case QEvent::Hide:
        unmap();
        break;
    case QEvent::UpdateRequest:
        // The picture on screen comes from the pixmaps; a repaint of the
        // widget would only fill a backing store nobody sees.
        return true;
    default:
        break;
    }
    return false;
}

void X11MascotWindow::map() {
    if (mapped_ || !widget_)
        return;
    Server& x = *x_;
    // A property too large for the server (an icon) is left out rather
    // than ending the program; the window is shown all the same.
    X11ErrorTrap trap(x.dpy, true);
    // Qt has made its own (never mapped) window for the widget by now; the
    // window manager is to see this one just as it would have seen that.
    const Window qtWindow = static_cast<Window>(widget_->winId());
    for (const char* name : kCopiedProperties) {
        const Atom property = x.atom(name);
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(x.dpy, qtWindow, property, 0, 1 << 20, False, AnyPropertyType, &type, &format,
                               &count, &after, &data) == Success &&
            data && type != 0) {
            XChangeProperty(x.dpy, x.window, property, type, format, PropModeReplace, data,
                            static_cast<int>(count));
        }
        if (data)
            XFree(data);
    }
    // Stay on top as the widget's flags say, unless the desktop was told
    // otherwise; the states it keeps are stated again on every map.
    if (keptStates_.count("_NET_WM_STATE_ABOVE") == 0 &&
        widget_->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        keptStates_["_NET_WM_STATE_ABOVE"] = {true, true, false};
    writeStates();
    if (everyWorkspace_) {
        // Read by the window manager when it takes the window on; it
        // deletes the property when the window is hidden.
        const long all = kAllWorkspaces;
        XChangeProperty(x.dpy, x.window, x.wmDesktop, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&all), 1);
    }
    takeWidgetPlace();
    const QRect g = windowRect();
    // Qt's size hints describe the whole form; this window is the outline's,
    // and its size changes with the frame, which limits would prevent.
    XSizeHints hints{};
    long supplied = 0;
    if (XGetWMNormalHints(x.dpy, x.window, &hints, &supplied)) {
        hints.flags &= ~(PMinSize | PMaxSize | PResizeInc | PBaseSize | PAspect);
        hints.x = g.x();
        hints.y = g.y();
        hints.width = g.width();
        hints.height = g.height();
        XSetWMNormalHints(x.dpy, x.window, &hints);
    }
    XMoveResizeWindow(x.dpy, x.window, g.x(), g.y(), g.width(), g.height());
    placed_ = g;
    XMapWindow(x.dpy, x.window);
    XFlush(x.dpy);
    mapped_ = true;
}

void X11MascotWindow::unmap() {
    if (!mapped_)
        return;
    XUnmapWindow(x_->dpy, x_->window);
    XFlush(x_->dpy);
    mapped_ = false;
}

X11FramePictures& X11MascotWindow::frames() {
    std::unique_ptr<X11FramePictures>& pictures = pictures_[scale_];
    if (!pictures)
        pictures = std::make_unique<X11FramePictures>(x_->dpy, x_->visual, x_->depth, x_->colormap != 0);
    return *pictures;
}

void X11MascotWindow::takeWidgetPlace() {
    if (!widget_)
        return;
    const ScreenSpace space = ScreenSpace::current();
    const QPoint corner = widget_->geometry().topLeft();
    formPos_ = space.logicalToDevice(corner);
    if (const qreal scale = space.scaleAtLogical(corner); scale != scale_) {
        scale_ = scale;
        shownFrame_ = -1;
        showFrame();
    }
}

QPoint X11MascotWindow::windowOffset() const {
    if (shownFrame_ < 0)
        return QPoint();
    return pictures_.at(scale_)->area().topLeft();
}

QRect X11MascotWindow::windowRect() const {
    if (shownFrame_ >= 0)
        return pictures_.at(scale_)->area().translated(formPos_);
    const QSize size = widget_ ? widget_->size().expandedTo(QSize(1, 1)) : QSize(1, 1);
    return QRect(formPos_, size * scale_);
}

void X11MascotWindow::place() {
    const QRect r = windowRect();
    if (r.size() != placed_.size())
        XMoveResizeWindow(x_->dpy, x_->window, r.x(), r.y(), r.width(), r.height());
    else
        XMoveWindow(x_->dpy, x_->window, r.x(), r.y());
    placed_ = r;
}

void X11MascotWindow::move(QPoint topLeft, qreal scale) {
    formPos_ = topLeft;
    // Onto a monitor of another scale: the same outline at that scale, sent
    // with the move.
    if (scale != scale_) {
        scale_ = scale;
        shownFrame_ = -1;
        showFrame();
    }
    place();
    XFlush(x_->dpy);
}

int X11MascotWindow::frameFor(const QRegion& logical) {
    X11FramePictures& pictures = frames();
    const QRegion region = ScreenSpace::scaledRegion(logical, scale_);
    const int known = pictures.find(region);
    if (known >= 0 || !widget_)
        return known;
    // The first showing of this outline at this scale: the widget paints
    // it once, as Qt would on such a monitor, and the part within the
    // outline goes to the server and stays there.
    const QRect bounds = region.boundingRect();
    const QSize size = QSize(bounds.right() + 1, bounds.bottom() + 1)
                           .boundedTo(widget_->size() * scale_)
                           .expandedTo(QSize(1, 1));
    QImage image(size, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale_);
    // A server out of memory leaves this frame blank instead of ending the
    // program.
    X11ErrorTrap trap(x_->dpy, true);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        widget_->setUpdatesEnabled(true);
        widget_->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
        widget_->setUpdatesEnabled(false);
    }
    return pictures.add(region, image);
}

bool X11MascotWindow::showFrame() {
    if (!shownRegion_)
        return false;
    const int frame = frameFor(*shownRegion_);
    if (frame < 0 || frame == shownFrame_)
        return false;
    Server& x = *x_;
    shownFrame_ = frame;
    const X11FramePictures::Frame& f = frames().at(frame);
    XSetWindowBackgroundPixmap(x.dpy, x.window, f.picture);
    XClearWindow(x.dpy, x.window);
    const QPoint maskAt = f.bounds.topLeft() - windowOffset();
    XShapeCombineMask(x.dpy, x.window, ShapeBounding, maskAt.x(), maskAt.y(), f.mask, ShapeSet);
    return true;
}

void X11MascotWindow::setRegion(const QRegion& region) {
    shownRegion_ = region;
    // The window covers what the outlines shown so far cover, placed so that
    // every pixel of the character stays where the form puts it; it changes
    // only when an outline reaches beyond it, and then with the new picture
    // and shape, no round trip between them.
    if (showFrame() && windowRect() != placed_)
        place();
    flushSoon();
}

void X11MascotWindow::flushSoon() {
    // A tick that switches the frame moves the window afterwards, and the
    // move's flush sends both: the server and a compositor see the new
    // picture, shape and place together. A switch without a move is sent
    // once the event loop is back, at the latest.
    if (flushPosted_)
        return;
    flushPosted_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            flushPosted_ = false;
            XFlush(x_->dpy);
        },
        Qt::QueuedConnection);
}

void X11MascotWindow::keepWmState(const std::string& state, bool on, bool follow) {
    KeptState& kept = keptStates_[state];
    kept.on = on;
    kept.follow = kept.follow || follow;
    Server& x = *x_;
    const long a = static_cast<long>(x.atom(state.c_str()));
    if (mapped_) {
        // 1 = add, 0 = remove; source 2 = a pager-like tool, which window
        // managers obey without focus-stealing checks.
        kept.pending = true;
        x.sendToRoot("_NET_WM_STATE", on ? 1 : 0, a, 0, 2);
    } else {
        writeStates();
    }
    XFlush(x.dpy);
}

void X11MascotWindow::writeStates() {
    Server& x = *x_;
    std::vector<long> states = x.atoms(x.window, x.wmState);
    for (auto& [name, kept] : keptStates_) {
        kept.pending = false;
        const long a = static_cast<long>(x.atom(name.c_str()));
        auto it = std::find(states.begin(), states.end(), a);
        if (kept.on && it == states.end())
            states.push_back(a);
        else if (!kept.on && it != states.end())
            states.erase(it);
    }
    XChangeProperty(x.dpy, x.window, x.wmState, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(states.data()), static_cast<int>(states.size()));
}

void X11MascotWindow::learnWmState() {
    // Only the mapped window's state is the window manager's decision: it
    // deletes the property of a window it stops managing, which says
    // nothing about what the window should be when it is mapped again.
    if (!mapped_)
        return;
    Server& x = *x_;
    const std::vector<long> states = x.atoms(x.window, x.wmState);
    for (auto& [name, kept] : keptStates_) {
        if (!kept.follow)
            continue;
        const long a = static_cast<long>(x.atom(name.c_str()));
        const bool now = std::find(states.begin(), states.end(), a) != states.end();
        if (kept.pending) {
            kept.pending = now != kept.on;
            continue;
        }
        if (now != kept.on) {
            kept.on = now;
            if (followed_)
                followed_(name, now);
        }
    }
}

void X11MascotWindow::setOnEveryWorkspace() {
    everyWorkspace_ = true;
    keepWmState("_NET_WM_STATE_STICKY", true);
    if (mapped_)
        keepOnEveryWorkspace();
}

void X11MascotWindow::keepOnEveryWorkspace() {
    // A window manager that put the mapped window on one workspace (its own
    // rule, or it came in before the property was read) is asked again, as
    // a pager asks. One that does not know "every workspace" ignores the
    // request and changes nothing, so this never goes back and forth.
    if (!everyWorkspace_ || !mapped_)
        return;
    Server& x = *x_;
    const std::vector<long> now = x.cardinals(x.window, x.wmDesktop);
    if (!now.empty() && (static_cast<unsigned long>(now.front()) & kAllWorkspaces) == kAllWorkspaces)
        return;
    x.sendToRoot("_NET_WM_DESKTOP", static_cast<long>(kAllWorkspaces), 2, 0, 0);
    XFlush(x.dpy);
}

void X11MascotWindow::activate() {
    if (!mapped_)
        return;
    XRaiseWindow(x_->dpy, x_->window);
    x_->sendToRoot("_NET_ACTIVE_WINDOW", 2, CurrentTime, 0, 0);
    XFlush(x_->dpy);
}

std::optional<X11MascotWindow::Pointer> X11MascotWindow::pointer() {
    Server& x = *x_;
    Window root = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    const bool ok = XQueryPointer(x.dpy, DefaultRootWindow(x.dpy), &root, &child, &rx, &ry, &wx, &wy, &mask);
    // The reply may have brought events with it; they wait in Xlib's queue,
    // where the socket notifier does not see them.
    readQueuedEvents();
    if (!ok)
        return std::nullopt;
    return Pointer{QPoint(rx, ry), (mask & Button1Mask) != 0};
}

void X11MascotWindow::readQueuedEvents() {
    if (XEventsQueued(x_->dpy, QueuedAlready) > 0)
        QTimer::singleShot(0, this, [this] { readEvents(); });
}

void X11MascotWindow::readEvents() {
    Server& x = *x_;
    while (XPending(x.dpy) > 0) {
        XEvent ev;
        XNextEvent(x.dpy, &ev);
        switch (ev.type) {
        case ButtonPress:
        case ButtonRelease:
            // The window starts where the shown frame's outline does; the
            // widget counts from the form's corner.
            deliverButton(ev.type == ButtonPress, ev.xbutton.button,
                          QPoint(ev.xbutton.x, ev.xbutton.y) + windowOffset(),
                          QPoint(ev.xbutton.x_root, ev.xbutton.y_root), ev.xbutton.state, ev.xbutton.time);
            break;
        case MotionNotify:
            deliverMotion(QPoint(ev.xmotion.x, ev.xmotion.y) + windowOffset(),
                          QPoint(ev.xmotion.x_root, ev.xmotion.y_root), ev.xmotion.state);
            break;
        case LeaveNotify:
            mouse_.hideHint();
            break;
        case PropertyNotify:
            if (ev.xproperty.atom == x.wmState)
                learnWmState();
            else if (ev.xproperty.atom == x.wmDesktop)
                keepOnEveryWorkspace();
            break;
        case ClientMessage:
            if (ev.xclient.message_type == x.wmProtocols &&
                static_cast<Atom>(ev.xclient.data.l[0]) == x.wmDelete && widget_)
                widget_->close();
            break;
        default:
            break;
        }
    }
}

void X11MascotWindow::deliverButton(bool press, unsigned button, QPoint local, QPoint global, unsigned state,
                                    unsigned long time) {
    const Qt::MouseButton which = qtButton(button);
    if (which == Qt::NoButton)
        return;
    if (dragging_) {
        // The drag owns the pointer: the widget does not see it.
        if (!press && which == Qt::LeftButton && dragMove_) {
            (*dragMove_)(global);
            if (dragEnd_)
                dragEnd_();
        }
        return;
    }
    mouse_.button(press, which, qtButtons(state), qtModifiers(state), toWidget(local),
                  ScreenSpace::current().deviceToLogical(global), time);
}

void X11MascotWindow::deliverMotion(QPoint local, QPoint global, unsigned state) {
    if (dragging_) {
        if (dragMove_)
            (*dragMove_)(global);
        return;
    }
    mouse_.motion(qtButtons(state), qtModifiers(state), toWidget(local),
                  ScreenSpace::current().deviceToLogical(global));
}

QPoint X11MascotWindow::toWidget(QPoint device) const {
    if (scale_ == 1)
        return device;
    return QPoint(static_cast<int>(std::floor(device.x() / scale_)),
                  static_cast<int>(std::floor(device.y() / scale_)));
}

void X11MascotWindow::drag(const std::function<void(QPoint)>& follow) {
    // The button may already be up (a very short click): nothing to drag.
    const auto start = pointer();
    if (!start || !start->leftDown || dragging_)
        return;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(kDragPollMs);
    dragging_ = true;
    dragMove_ = &follow;
    dragEnd_ = [&loop] { loop.quit(); };
    // The press that started the drag holds the pointer for this window
    // until the button is released, so its moves and the release come here;
    // the poll is for a release that happened before the loop began.
    connect(&poll, &QTimer::timeout, this, [&] {
        const auto now = pointer();
        if (!now) {
            loop.quit();
            return;
        }
        follow(now->pos);
        if (!now->leftDown)
            loop.quit();
    });
    poll.start();
    loop.exec();
    poll.stop();
    dragging_ = false;
    dragMove_ = nullptr;
    dragEnd_ = nullptr;
    mouse_.forgetPress();
}
