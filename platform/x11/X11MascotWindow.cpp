#include "X11MascotWindow.h"

#include "ScreenSpace.h"
#include "X11ErrorTrap.h"
#include "X11FramePictures.h"
#include "X11MascotConnection.h"
#include "X11WindowDrag.h"
#include "XlibBridge.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

// Xlib after Qt: its macros (None, Bool, Status, ...) would clash with Qt's
// names in Qt's headers.
#include <X11/Xlib.h>

#include <X11/extensions/shape.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// _NET_WM_DESKTOP's value for a window on every workspace.
constexpr unsigned long kAllWorkspaces = 0xFFFFFFFFUL;

constexpr const char* kAbove = "_NET_WM_STATE_ABOVE";
constexpr const char* kBelow = "_NET_WM_STATE_BELOW";

} // namespace

std::unique_ptr<X11MascotWindow> X11MascotWindow::adopt(QWidget& widget) {
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !widget.isWindow() ||
        widget.testAttribute(Qt::WA_WState_Created))
        return nullptr;
    // Until the first outline is shown the window covers the form.
    const ScreenSpace space = ScreenSpace::current();
    const QPoint corner = widget.geometry().topLeft();
    const QSize size = widget.size().expandedTo(QSize(1, 1)) * space.scaleAtLogical(corner);
    auto x = X11MascotConnection::open(QRect(space.logicalToDevice(corner), size));
    if (!x)
        return nullptr;
    return std::unique_ptr<X11MascotWindow>(new X11MascotWindow(widget, std::move(x)));
}

X11MascotWindow::X11MascotWindow(QWidget& widget, std::unique_ptr<X11MascotConnection> connection)
    : widget_(&widget), x_(std::move(connection)), keeper_(&WindowStateKeeper::of(widget)) {
    takeWidgetPlace();
    // The widget is shown to Qt but not on screen: this window is what the
    // user sees, and nothing the widget paints goes through Qt's backing
    // store. Its pictures are taken with QWidget::render when needed.
    widget.setAttribute(Qt::WA_DontShowOnScreen, true);
    // Nor does the widget ask for repaints: with updates off, the update()
    // of every frame switch returns at once.
    widget.setUpdatesEnabled(false);
    widget.installEventFilter(this);
    // From now on the keeper states what its record says on this window;
    // Qt's window for the widget is never shown.
    keeper_->showElsewhere(this);

    // The front window and the panel are asked about here too.
    XlibBridge::setQueryConnection(x_->display());
    // The window starts where the shown frame's outline does; the widget
    // counts from the form's corner.
    events_ = std::make_unique<X11EventRelay>(
        *x_, widget, [this](QPoint local) { return toWidget(local + windowOffset()); },
        [this](unsigned long atom) { propertyChanged(atom); }, [this] { keepPlaceOnMap(); });
}

X11MascotWindow::~X11MascotWindow() {
    XlibBridge::setQueryConnection(nullptr);
    events_.reset();
    if (keeper_)
        keeper_->showElsewhere(nullptr);
    if (!widget_)
        return;
    // The widget goes back to Qt: it paints again, and is on screen the
    // next time it is shown.
    widget_->removeEventFilter(this);
    widget_->setUpdatesEnabled(true);
    widget_->setAttribute(Qt::WA_DontShowOnScreen, false);
}

std::uintptr_t X11MascotWindow::id() const {
    return x_->window();
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
    X11MascotConnection& x = *x_;
    // A property too large for the server (an icon) is left out rather
    // than ending the program; the window is shown all the same.
    X11ErrorTrap trap(x.display(), true);
    // Qt has made its own (never mapped) window for the widget by now; the
    // window manager is to see this one just as it would have seen that.
    x.copyIdentity(static_cast<unsigned long>(widget_->winId()));
    // Stay on top as the widget's flags say, unless the desktop was told
    // otherwise; the states kept are stated again on every map.
    if (keeper_ && !keeper_->state(kAbove) && widget_->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        keeper_->keep(kAbove, true, true);
    else if (keeper_)
        keeper_->writeProperty();
    // Read by the window manager when it takes the window on; it deletes
    // the property when the window is hidden.
    if (everyWorkspace_)
        x.setCardinal(x.wmDesktop(), kAllWorkspaces);
    // An override-redirect window is nobody's to place or stack; a dock
    // is not kept inside the work area, and kept below (writeWmStates) it
    // leaves the front to every other window.
    XSetWindowAttributes attributes{};
    mappedUnmanaged_ = unmanaged();
    attributes.override_redirect = mappedUnmanaged_ ? True : False;
    XChangeWindowAttributes(x.display(), x.window(), CWOverrideRedirect, &attributes);
    if (holding_ == MascotHolding::UnmanagedWhileOnTopDockBehind)
        x.setAtoms(x.atom("_NET_WM_WINDOW_TYPE"), {static_cast<long>(x.atom("_NET_WM_WINDOW_TYPE_DOCK"))});
    takeWidgetPlace();
    const QRect g = windowRect();
    x.setPlaceHints(g);
    XMoveResizeWindow(x.display(), x.window(), g.x(), g.y(), g.width(), g.height());
    placed_ = g;
    x.hearMap(true);
    XMapWindow(x.display(), x.window());
    XFlush(x.display());
    mapped_ = true;
}

void X11MascotWindow::unmap() {
    if (!mapped_)
        return;
    XUnmapWindow(x_->display(), x_->window());
    XFlush(x_->display());
    mapped_ = false;
}

void X11MascotWindow::keepPlaceOnMap() {
    x_->hearMap(false);
    if (!mapped_ || mappedUnmanaged_)
        return;
    // A window manager may frame a window it takes on again somewhere else
    // than asked (i3 puts it where a title bar would have pushed it): the
    // character stays where it stood.
    Display* dpy = x_->display();
    int x = 0, y = 0;
    Window child = 0;
    if (XTranslateCoordinates(dpy, x_->window(), DefaultRootWindow(dpy), 0, 0, &x, &y, &child) &&
        QPoint(x, y) != placed_.topLeft()) {
        XMoveWindow(dpy, x_->window(), placed_.x(), placed_.y());
        XFlush(dpy);
    }
}

X11FramePictures& X11MascotWindow::frames() {
    std::unique_ptr<X11FramePictures>& pictures = pictures_[scale_];
    if (!pictures)
        pictures =
            std::make_unique<X11FramePictures>(x_->display(), x_->visual(), x_->depth(), x_->withAlpha());
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
        XMoveResizeWindow(x_->display(), x_->window(), r.x(), r.y(), r.width(), r.height());
    else
        XMoveWindow(x_->display(), x_->window(), r.x(), r.y());
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
    XFlush(x_->display());
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
    X11ErrorTrap trap(x_->display(), true);
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
    X11MascotConnection& x = *x_;
    shownFrame_ = frame;
    const X11FramePictures::Frame& f = frames().at(frame);
    XSetWindowBackgroundPixmap(x.display(), x.window(), f.picture);
    XClearWindow(x.display(), x.window());
    const QPoint maskAt = f.bounds.topLeft() - windowOffset();
    XShapeCombineMask(x.display(), x.window(), ShapeBounding, maskAt.x(), maskAt.y(), f.mask, ShapeSet);
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
            XFlush(x_->display());
        },
        Qt::QueuedConnection);
}

bool X11MascotWindow::onTop() const {
    return keeper_ && keeper_->state(kAbove).value_or(false);
}

bool X11MascotWindow::unmanaged() const {
    return holding_ == MascotHolding::Unmanaged || (switchesWithTopMost() && onTop());
}

bool X11MascotWindow::switchesWithTopMost() const {
    return holding_ == MascotHolding::UnmanagedWhileOnTop ||
           holding_ == MascotHolding::UnmanagedWhileOnTopDockBehind;
}

void X11MascotWindow::requestWmState(const std::string& state, bool on) {
    // Override-redirect or not is read when a window is mapped: the window
    // goes away and comes back as the other kind, where it was, when the
    // kind changes. The keeper's record already says what it is to be; an
    // override-redirect window has no window manager's state to change,
    // and the managed one behind is not on top.
    if (switchesWithTopMost() && state == kAbove) {
        if (mapped_ && unmanaged() != mappedUnmanaged_) {
            unmap();
            map();
        }
        return;
    }
    // 1 = add, 0 = remove; source 2 = a pager-like tool, which window
    // managers obey without focus-stealing checks.
    x_->sendToRoot("_NET_WM_STATE", on ? 1 : 0, static_cast<long>(x_->atom(state.c_str())), 0, 2);
    XFlush(x_->display());
}

void X11MascotWindow::writeWmStates(const std::vector<std::pair<std::string, bool>>& keptStates) {
    X11MascotConnection& x = *x_;
    std::vector<std::pair<std::string, bool>> kept = keptStates;
    if (holding_ == MascotHolding::UnmanagedWhileOnTopDockBehind)
        kept.emplace_back(kBelow, !onTop());
    std::vector<long> states = x.atoms(x.wmState());
    for (const auto& [name, on] : kept) {
        const long a = static_cast<long>(x.atom(name.c_str()));
        auto it = std::find(states.begin(), states.end(), a);
        if (on && it == states.end())
            states.push_back(a);
        else if (!on && it != states.end())
            states.erase(it);
    }
    x.setAtoms(x.wmState(), states);
    XFlush(x.display());
}

bool X11MascotWindow::hasWmState(const std::string& state) const {
    const std::vector<long> states = x_->atoms(x_->wmState());
    return std::find(states.begin(), states.end(), static_cast<long>(x_->atom(state.c_str()))) !=
           states.end();
}

void X11MascotWindow::propertyChanged(unsigned long atom) {
    // Only the mapped window's state is the window manager's decision: it
    // deletes the property of a window it stops managing, which says
    // nothing about what the window should be when it is mapped again.
    // An override-redirect window's state is nobody else's to change: what
    // its property says then is its own writing, or the window manager
    // forgetting the managed window it was.
    if (atom == x_->wmState() && mapped_ && keeper_ && !mappedUnmanaged_)
        keeper_->learnFromWindowManager();
    else if (atom == x_->wmDesktop())
        keepOnEveryWorkspace();
}

void X11MascotWindow::setOnEveryWorkspace() {
    everyWorkspace_ = true;
    if (keeper_)
        keeper_->keep("_NET_WM_STATE_STICKY", true);
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
    X11MascotConnection& x = *x_;
    const std::vector<long> now = x.cardinals(x.wmDesktop());
    if (!now.empty() && (static_cast<unsigned long>(now.front()) & kAllWorkspaces) == kAllWorkspaces)
        return;
    x.sendToRoot("_NET_WM_DESKTOP", static_cast<long>(kAllWorkspaces), 2, 0, 0);
    XFlush(x.display());
}

void X11MascotWindow::activate() {
    if (!mapped_)
        return;
    XRaiseWindow(x_->display(), x_->window());
    x_->sendToRoot("_NET_ACTIVE_WINDOW", 2, CurrentTime, 0, 0);
    XFlush(x_->display());
}

QPoint X11MascotWindow::toWidget(QPoint device) const {
    if (scale_ == 1)
        return device;
    return QPoint(static_cast<int>(std::floor(device.x() / scale_)),
                  static_cast<int>(std::floor(device.y() / scale_)));
}

void X11MascotWindow::drag(const std::function<void(QPoint)>& follow) {
    X11WindowDrag(*events_).run(follow);
}
