#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

// The running kuvito of an X display: it owns the selection
// _KUVITO_S<screen> with a window of its own, on a connection of its own.
// A selection is per display, which is what an X11 program's session is
// (each Wayland session has its own XWayland display), and the server
// gives it up when the owner's connection ends, a killed program included,
// so nothing is left to clean up; no session bus is needed either. A later
// start finds the owner and sends its window a _KUVITO_COME_FORWARD client
// message.
class X11SessionClaim : public QObject {
public:
    // Claims the display, or asks the program that holds it to come forward.
    // Null when there is no display to claim on.
    static std::unique_ptr<X11SessionClaim> claim(std::function<void()> comeForward);
    ~X11SessionClaim() override;

    // False when another program holds the display (and was asked to come
    // forward).
    bool owned() const { return owned_; }

private:
    struct Server;
    X11SessionClaim(std::unique_ptr<Server> server, std::function<void()> comeForward);
    void readEvents();

    std::unique_ptr<Server> x_;
    std::function<void()> comeForward_;
    std::unique_ptr<QSocketNotifier> events_;
    bool owned_ = false;
};
