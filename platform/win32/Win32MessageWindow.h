#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// A window that is never shown and whose messages go to a handler: timers
// and the notification icon's callbacks arrive here. The handler's answer
// is the message's result; nothing means Windows' default handling. The
// handler may destroy this window from inside itself. An exception leaving
// the handler goes to MessageLoop::handleException (Win32MessageLoop), and
// the message then gets the default handling.
class Win32MessageWindow {
public:
    using Handler = std::function<std::optional<std::intptr_t>(unsigned message, std::uintptr_t wParam,
                                                               std::intptr_t lParam)>;

    enum class Kind {
        // Message-only: no place on the desktop, and no broadcasts.
        MessageOnly,
        // A top-level window that is never shown and has no taskbar button:
        // it also gets what Windows sends to every top-level window, the
        // end of the session (WM_QUERYENDSESSION) and the taskbar's
        // re-creation among them, which the notification icon's window
        // needs.
        Hidden,
    };

    // Throws KuvitoError when Windows refuses the window.
    explicit Win32MessageWindow(Handler handler, Kind kind = Kind::MessageOnly);
    ~Win32MessageWindow();
    Win32MessageWindow(const Win32MessageWindow&) = delete;
    Win32MessageWindow& operator=(const Win32MessageWindow&) = delete;

    // The HWND.
    std::uintptr_t handle() const { return handle_; }

private:
    std::uintptr_t handle_ = 0;
    // Shared with a running call of the window procedure, which keeps the
    // handler alive while it runs even if the window goes away meanwhile.
    std::shared_ptr<Handler> handler_;
};
