#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class MouseRelay;
class QSocketNotifier;
class QWidget;
class X11MascotConnection;

// Reads the events of the mascot's own X connection as the Qt event loop
// sees its socket become readable, and passes them on: presses, releases
// and moves of the pointer over the window go to the widget's child under
// the pointer as Qt mouse events (through MouseRelay), or to a drag that
// holds the pointer; the window manager's close request closes the widget;
// property changes go to whoever keeps the window's properties.
class X11EventRelay : public QObject {
public:
    // `toWidget` turns a position on the X window (the server's pixels from
    // the window's corner) into the widget's own; `propertyChanged` hears
    // of each changed property of the window (its atom), and `shown` of
    // the window being mapped on the screen.
    X11EventRelay(X11MascotConnection& x, QWidget& widget, std::function<QPoint(QPoint)> toWidget,
                  std::function<void(unsigned long)> propertyChanged, std::function<void()> shown);
    ~X11EventRelay() override;
    X11EventRelay(const X11EventRelay&) = delete;
    X11EventRelay& operator=(const X11EventRelay&) = delete;

    // The pointer on this connection, straight from the server.
    struct Pointer {
        QPoint pos;
        bool leftDown = false;
    };
    std::optional<Pointer> pointer();

    // While a drag holds the pointer, its moves and the left button's
    // release (the server's pixels) go to `moved` and `released` instead of
    // the widget; an empty `moved` gives the pointer back.
    void holdPointer(std::function<void(QPoint)> moved, std::function<void(QPoint)> released);
    bool pointerHeld() const { return static_cast<bool>(moved_); }
    // The press that started a drag is not the widget's any more.
    void forgetPress();

private:
    void readEvents();
    // Events a round trip's reply brought with it wait in Xlib's queue,
    // where the socket notifier does not see them.
    void readQueuedEvents();
    void deliverButton(bool press, unsigned button, QPoint local, QPoint global, unsigned state,
                       unsigned long time);
    void deliverMotion(QPoint local, QPoint global, unsigned state);

    X11MascotConnection& x_;
    QPointer<QWidget> widget_;
    std::function<QPoint(QPoint)> toWidget_;
    std::function<void(unsigned long)> propertyChanged_;
    std::function<void()> shown_;
    std::unique_ptr<QSocketNotifier> events_;
    std::unique_ptr<MouseRelay> mouse_;
    std::function<void(QPoint)> moved_;
    std::function<void(QPoint)> released_;
};
