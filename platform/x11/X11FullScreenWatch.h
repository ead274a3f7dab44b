#pragma once

#include <QObject>
#include <QRect>

#include <functional>
#include <memory>
#include <optional>

class QSocketNotifier;

// Follows whether the active window is full screen, from the X server's
// events on a connection of its own: the root window's _NET_ACTIVE_WINDOW
// says which window is active, that window's _NET_WM_STATE whether it is
// full screen, and its configure events where it is (a window manager may
// move a full-screen window to another monitor). Nothing is asked on a
// movement tick: the answer is what the last event left. The watch listens
// on other programs' windows without changing what they or Qt's connection
// are sent, since each connection has event masks of its own.
class X11FullScreenWatch : public QObject {
public:
    // Starts watching, or returns null without an X display. `changed` is
    // called from the event loop whenever the answer below may have changed.
    static std::unique_ptr<X11FullScreenWatch> open(std::function<void()> changed);
    ~X11FullScreenWatch() override;
    X11FullScreenWatch(const X11FullScreenWatch&) = delete;
    X11FullScreenWatch& operator=(const X11FullScreenWatch&) = delete;

    // The active window's rectangle in the server's pixels while it is full
    // screen; nothing otherwise.
    std::optional<QRect> fullScreenWindow() const { return fullScreen_; }

private:
    struct Server;
    X11FullScreenWatch(std::unique_ptr<Server> server, std::function<void()> changed);
    void readEvents();
    // Reads what the socket has and answers it once.
    void answerPendingEvents();
    // Reads which window is active and listens to it from now on.
    void followActiveWindow();
    // Reads the active window's state and place; tells `changed_` when the
    // answer changed.
    void readActiveWindow();

    std::unique_ptr<Server> x_;
    std::unique_ptr<QSocketNotifier> events_;
    std::function<void()> changed_;
    std::optional<QRect> fullScreen_;
};
