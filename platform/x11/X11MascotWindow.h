#pragma once

#include "MascotHolding.h"
#include "WindowStateKeeper.h"
#include "X11EventRelay.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QRegion>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class X11FramePictures;
class X11MascotConnection;
class QWidget;

// The X window that shows a shaped top-level widget (the mascot) on a
// connection of its own, so that a movement tick costs the X server and the
// program only what changed: a move, and on a frame switch a new background
// and a new shape. Each picture and each outline is prepared once, the first
// time that outline is shown, as a pixmap and a shape mask the server keeps;
// the widget is then never repainted through Qt's backing store and Qt's own
// X connection (and its event thread) never hears of the window. Presses,
// releases and moves of the pointer over the window come in through this
// connection, watched by the Qt event loop, and are handed to the widget's
// child under the pointer as ordinary Qt mouse events (X11EventRelay).
//
// The widget stays a widget for everything else: its geometry, its
// visibility, its window flags and its children are the program's to use.
// This window stands in for it, carrying the same name, class, process id,
// window type and window-manager state (the widget's WindowStateKeeper
// stays the one record of that state and states it on this window). To
// that end the stand-in changes three things on a widget it does not own,
// for as long as it lives:
//   - Qt::WA_DontShowOnScreen: Qt makes its native window but never maps it,
//     while the widget still counts as shown (Show and Hide reach the
//     stand-in, which maps and unmaps its own window);
//   - setUpdatesEnabled(false): update() returns at once, so the repaint
//     that every frame switch asks for costs nothing; updates are on only
//     while a new outline's picture is taken with QWidget::render;
//   - an event filter that follows Show and Hide and drops UpdateRequest.
// All three are undone when the stand-in goes first.
//
// X errors: the stand-in's requests about its own window, pixmaps and
// shapes cannot fail while the connection lives, and are not trapped (a
// trap would cost a round trip per tick). The few that may fail (making the
// window, copying Qt's properties, uploading a picture) are trapped on this
// connection only, for their duration (X11ErrorTrap); the process's error
// handler is left as Qt set it.
//
// A shaped widget shows one picture per outline: the picture taken the first
// time an outline is set is used whenever that outline comes back. The X
// window covers only the shown outline's bounds (window managers that keep
// windows inside the work area then keep the character there, not the
// form's empty corners); positions are the form's wherever they cross this
// class, so the program never sees the difference.
//
// Scaled monitors: the window is drawn as Qt would draw the widget there,
// each outline and picture at the scale of the monitor the form's corner is
// on (twice the pixels at scale 2), made the first time it is shown at that
// scale. Places are the server's pixels; pointer positions are turned back
// into the widget's logical ones before they reach it. A move onto a
// monitor of another scale sends the new picture, shape and size with the
// move, in one flush.
class X11MascotWindow : public QObject, private WindowStateKeeper::Elsewhere {
public:
    // Takes over showing the widget, or returns null when it cannot: no X
    // display, or a widget that already has its native window.
    static std::unique_ptr<X11MascotWindow> adopt(QWidget& widget);
    ~X11MascotWindow() override;
    X11MascotWindow(const X11MascotWindow&) = delete;
    X11MascotWindow& operator=(const X11MascotWindow&) = delete;

    // The X window, for the window manager's requests about it.
    std::uintptr_t id() const;
    // The X window's size in the server's pixels: the area the outlines shown
    // so far cover, which no other window of the program shares.
    QSize windowSize() const { return windowRect().size(); }
    bool mapped() const { return mapped_; }

    // Moves the form's top-left corner there (the server's pixels), drawn
    // at `scale` device pixels per logical one (the monitor's there); the
    // widget's own geometry is the caller's. Sent at once, with anything
    // setRegion left buffered.
    void move(QPoint topLeft, qreal scale);
    // Shows the picture that goes with the outline and makes it the shape;
    // sent with the next move or when the event loop is back, whichever
    // comes first, so that a tick's changes reach the server together.
    void setRegion(const QRegion& region);
    // Puts the window on every workspace (virtual desktop) and keeps it
    // there: _NET_WM_DESKTOP "all" before every map, asked again whenever
    // the window manager puts the mapped window on one, and the sticky
    // state, which some window managers go by instead.
    void setOnEveryWorkspace();
    // Asks the window manager to raise and activate the window.
    void activate();
    // How the window manager holds the window from its next map on: as any
    // window, not at all (override-redirect), or not at all only while the
    // window stays on top (behind, managed, or a dock below every window).
    // With the last two a change of "stay on top" maps it again, as the
    // other kind.
    void setHolding(MascotHolding::Kind holding) { holding_ = holding; }

    // The pointer on this connection, straight from the server.
    std::optional<X11EventRelay::Pointer> pointer() { return events_->pointer(); }
    // Hands each place of the pointer (the server's pixels) to `follow`
    // until the left button is released, so that it moves the window.
    // Timers keep ticking.
    void drag(const std::function<void(QPoint)>& follow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    X11MascotWindow(QWidget& widget, std::unique_ptr<X11MascotConnection> connection);
    void map();
    void unmap();
    // Puts the window back where it was asked to be when the window manager
    // mapped it elsewhere.
    void keepPlaceOnMap();
    void propertyChanged(unsigned long atom);
    bool onTop() const;
    // Whether the window is override-redirect from its next map on.
    bool unmanaged() const;
    bool switchesWithTopMost() const;
    void keepOnEveryWorkspace();
    // The window manager's state, as the widget's keeper states it here.
    bool wmMapped() const override { return mapped_; }
    void requestWmState(const std::string& state, bool on) override;
    void writeWmStates(const std::vector<std::pair<std::string, bool>>& states) override;
    bool hasWmState(const std::string& state) const override;
    int frameFor(const QRegion& region);
    // The pictures of the scale in use, made on first use.
    X11FramePictures& frames();
    // Shows the picture and shape of the outline set last, at the scale in
    // use; false when nothing changed.
    bool showFrame();
    // A position on the window (device pixels from the form's corner) as
    // the widget counts it.
    QPoint toWidget(QPoint device) const;
    // Sends the window's place, and its size when that changed.
    void place();
    // The form's corner and the scale where Qt has the widget now.
    void takeWidgetPlace();
    // Sends what is buffered when the event loop is back, unless a flush
    // comes first.
    void flushSoon();
    // Where the shown frame's window stands in the form, and on screen.
    QPoint windowOffset() const;
    QRect windowRect() const;

    QPointer<QWidget> widget_;
    std::unique_ptr<X11MascotConnection> x_;
    // The record of the window manager's state: the widget's.
    QPointer<WindowStateKeeper> keeper_;
    bool mapped_ = false;
    bool everyWorkspace_ = false;
    MascotHolding::Kind holding_ = MascotHolding::Managed;
    // Whether the window was override-redirect when it was last mapped.
    bool mappedUnmanaged_ = false;
    int shownFrame_ = -1;
    // The outline shown, in the form's logical pixels, once one is set.
    std::optional<QRegion> shownRegion_;
    // Device pixels per logical pixel at the window's place; each scale has
    // its own pictures.
    qreal scale_ = 1;
    std::map<qreal, std::unique_ptr<X11FramePictures>> pictures_;
    // What the server was last told of the window's place and size.
    QRect placed_;
    bool flushPosted_ = false;
    // The form's top-left corner in the server's pixels; the window itself
    // starts where the shown frame's outline does, at the scale in use.
    QPoint formPos_;
    // Presses, releases and moves on the window, as Qt mouse events.
    std::unique_ptr<X11EventRelay> events_;
};
