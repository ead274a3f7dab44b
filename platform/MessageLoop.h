#pragma once

#include <exception>
#include <functional>

// The program's message loop, as the toolkit runs it: Qt's event loop on
// Linux, GetMessage and DispatchMessage on Windows. An exception that leaves
// the handler of one message must not end the program or unwind through the
// toolkit's own code: the loop catches it where the handler was called,
// hands it to the exception handler (the program shows it) and goes on with
// the next message.
class MessageLoop {
public:
    using ExceptionHandler = std::function<void(std::exception_ptr)>;

    virtual ~MessageLoop() = default;

    // Handles messages until quit(); returns the exit code quit() was given.
    virtual int run() = 0;
    // Ends run() once the message being handled is done. Loops nested in
    // handlers (a menu, a drag, a modal dialog) end first.
    virtual void quit(int exitCode) = 0;

    // Where exceptions caught by the loops go, for every loop of the thread
    // (the nested ones too). Without a handler, the exception's text is
    // written to the standard error stream.
    static void setExceptionHandler(ExceptionHandler handler);
    // Hands an exception that left a message's handler to the exception
    // handler. Never throws: an exception that leaves the handler itself is
    // dropped.
    static void handleException(std::exception_ptr error) noexcept;
};
