#pragma once

// Xlib's own name for a connection, declared here so that Xlib's macros stay
// out of the Qt code that includes this header.
struct _XDisplay;

// Catches the X errors of one connection while it lives, so that a request
// that may fail (a window another program destroyed meanwhile, a server out
// of memory) gives an answer instead of ending the program.
//
// Xlib has one error handler for the whole process; the outermost trap puts
// its own in place only for its lifetime and then restores the one it found.
// An error of another connection that arrives meanwhile (Qt's) goes on to
// that handler, untouched. Traps nest, on one connection or on several.
//
// The server reports errors asynchronously. Requests that wait for a reply
// report theirs before they return, so a trap around round trips passes
// `sync` false; a trap around one-way requests passes `sync` true and waits
// for the server when asked ok() and when it ends, so that no error of its
// requests arrives after the previous handler is back.
class X11ErrorTrap {
public:
    X11ErrorTrap(_XDisplay* display, bool sync);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // False once a request on the connection failed while the trap lived.
    bool ok();

    // For the handler: notes an error of the connection in the innermost
    // trap on it; false when no trap is on that connection.
    static bool caught(_XDisplay* display);

private:
    _XDisplay* display_;
    bool sync_;
    bool failed_ = false;
    X11ErrorTrap* outer_;
};
