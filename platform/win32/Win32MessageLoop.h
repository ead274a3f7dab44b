#pragma once

#include "MessageLoop.h"

#include <cstdint>
#include <exception>
#include <optional>

// Windows' own message loop: GetMessage, TranslateMessage, DispatchMessage,
// until WM_QUIT. A C++ exception must never unwind through DispatchMessage
// (Windows' frames in between are not ours to unwind), so every window
// procedure of the program calls its handlers through guarded(), which
// catches what leaves them and hands it to MessageLoop::handleException.
class Win32MessageLoop : public MessageLoop {
public:
    // Returns the code given to quit(). Throws KuvitoError when Windows
    // reports that the thread's queue cannot be read.
    int run() override;
    // Posts WM_QUIT: the loops nested in handlers (a menu, a drag, a modal
    // dialog) end on it and post it again, and then run() ends.
    void quit(int exitCode) override;

    // Calls body() for a window procedure; an exception leaving it is handed
    // to MessageLoop::handleException, and the message's result is then
    // nothing (Windows' default handling).
    template <typename Body> static std::optional<std::intptr_t> guarded(Body&& body) noexcept {
        try {
            return body();
        } catch (...) {
            MessageLoop::handleException(std::current_exception());
            return std::nullopt;
        }
    }
};
