#pragma once

#include <QPoint>

#include <functional>

class X11EventRelay;

// Moves the mascot's own X window with the pointer until the left button is
// released, in a nested event loop (timers keep ticking). The press that
// started the drag holds the pointer for the window until the release, so
// the pointer's moves and the release come in on the window's connection,
// which the relay hands here instead of to the widget; the server's pointer
// is also polled, for a release that happened before the loop began.
class X11WindowDrag {
public:
    explicit X11WindowDrag(X11EventRelay& events) : events_(events) {}

    // Hands each place of the pointer (the server's pixels) to `follow`;
    // returns at once when the button is already up or a drag is running.
    void run(const std::function<void(QPoint)>& follow);

private:
    X11EventRelay& events_;
};
