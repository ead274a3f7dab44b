#pragma once

#include <exception>
#include <string>

// Shows failures to the user the classic way: an error box titled with the
// application title, whose text gets a "." when its last character sorts
// after ".". The program goes on afterwards.
class ErrorDisplay {
public:
    static const std::string& title();
    static void setTitle(std::string title);

    // The text as shown: a "." is appended when the text is not empty and
    // its last (UTF-8) character compares greater than "." byte for byte.
    static std::string errorBoxText(const std::string& message);

    // Shows the exception's message (what() for std::exception) through
    // desktopTray().showErrorBox. Never throws. While a box is open (timers go
    // on ticking inside it) further errors are not stacked on top of it.
    static void showException(std::exception_ptr error);
    static void showException(const std::exception& error);
    static void showMessage(const std::string& message);

    // Runs `body`; an exception leaving it is shown and swallowed. Returns
    // false when one was.
    template <typename Body> static bool guarded(Body&& body) noexcept {
        try {
            body();
            return true;
        } catch (...) {
            showException(std::current_exception());
            return false;
        }
    }
};
