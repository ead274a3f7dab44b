#pragma once

#include "CompositorFeed.h"
#include "SwayIpcReader.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;

// What sway tells every client on its IPC socket: the focused window and
// the focused workspace's rectangle, the work area that swaybar leaves. The
// feed subscribes to window, workspace and output events and asks for the
// window tree again after each one that can move something; the socket is
// read from the Qt event loop and never waited on. sway 1.7 sends no event
// when a floating window is moved or resized, so while the program keeps
// reading the report the tree is also asked for now and then (kRefresh),
// never per tick.
// sway gives no client the pointer, so the report never has one.
class SwayFeed : public CompositorFeed {
public:
    using Listener = std::function<void(const CompositorReport&)>;

    // Connected to the socket at that path ($SWAYSOCK), or null when there
    // is none to be reached. onChange, when given, hears every change of
    // the report, and an empty report when sway goes away.
    static std::unique_ptr<SwayFeed> open(const std::string& socketPath, Listener onChange = {});
    // sway's socket: $SWAYSOCK, which sway gives the programs it starts, or
    // else the one socket of the user's that sway made in
    // $XDG_RUNTIME_DIR (a program started from outside the session, by a
    // service or a test, lacks the variable). Empty when there is none.
    static std::string findSocket();
    ~SwayFeed() override;

    SwayFeed(const SwayFeed&) = delete;
    SwayFeed& operator=(const SwayFeed&) = delete;

    static constexpr std::chrono::milliseconds kRefresh{500};

    const CompositorReport& report() const override;
    // The pointer stays XWayland's, seen over X11 windows only; native
    // windows are seen.
    SessionLimits limits() const override { return SessionLimits{true, false}; }
    // sway leaves out a motion whose place on the window under the pointer
    // is the one it last sent, without counting that the window may have
    // moved since: a drag's window follows the pointer, so the drag's last
    // step often never reaches XWayland. Moving sway's cursor a pixel and
    // back makes it send the place again; the pointer ends where it was.
    bool repeatPointer() override;

private:
    SwayFeed(int socket, Listener onChange);

    void send(std::uint32_t type, std::string_view payload);
    void flush();
    void readable();
    void handle(const SwayIpcMessage& message);
    void askTree();
    void drop();

    int socket_;
    std::unique_ptr<QSocketNotifier> readNotifier_, writeNotifier_;
    SwayIpcReader reader_;
    std::string outgoing_;
    // One tree request at a time: events during it ask for one more.
    bool treeAsked_ = false, treeStale_ = false;
    std::chrono::steady_clock::time_point treeAskedAt_;
    CompositorReport report_;
    Listener onChange_;
};
