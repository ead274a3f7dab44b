#pragma once

#include "MessageLoop.h"

#include <memory>

// Qt's event loop. It owns the program's QApplication, which must exist
// before any other Qt object, so it is made first thing in main(). Every
// event's handler is called inside a catch: an exception leaving it goes to
// MessageLoop::handleException and the event counts as not handled.
class QtMessageLoop : public MessageLoop {
public:
    QtMessageLoop(int& argc, char** argv);
    ~QtMessageLoop() override;
    QtMessageLoop(const QtMessageLoop&) = delete;
    QtMessageLoop& operator=(const QtMessageLoop&) = delete;

    int run() override;
    void quit(int exitCode) override;

private:
    class GuardedApplication;
    std::unique_ptr<GuardedApplication> application_;
};
