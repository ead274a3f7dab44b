#pragma once

#include <QPoint>
#include <QRegion>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QWidget;
class QDialog;
class QMenu;
class QIcon;

// A rectangle as the desktop reports it: right and bottom exclusive.
struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const ScreenRect&) const = default;
};

// The window in front, as far as the program can tell.
struct ForegroundWindow {
    std::uintptr_t id = 0; // opaque; equal ids mean the same window
    ScreenRect rect;       // outer rectangle, frame included
};

// The notification-area record in its first, 88-byte form. The icon travels
// as a pointer to the caller's image, valid for the duration of the call.
struct NotifyIconData {
    std::uint32_t cbSize = 88;
    std::uintptr_t hWnd = 0; // the message window that receives the callbacks
    std::uint32_t uID = 1;
    std::uint32_t uFlags = 7; // message 1 | icon 2 | tip 4
    std::uint32_t uCallbackMessage = 1124;
    const QIcon* hIcon = nullptr;
    char szTip[64] = {}; // zero-terminated, at most 63 bytes of text
};

enum class TrayOperation : int { NIM_ADD = 0, NIM_MODIFY = 1, NIM_DELETE = 2 };

// A message for a message window: (message, wParam, lParam) -> result.
using MessageHandler = std::function<std::intptr_t(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)>;

// A periodic tick source on the user-interface thread. start() with a period
// in milliseconds (re)starts the countdown from zero (a period of 0 or less
// stops it, never a tick on every pass of the loop); stop() stops it. Ticks
// never queue up: a tick that could not be delivered in time is dropped.
class TimerSource {
public:
    virtual ~TimerSource() = default;
    virtual void start(int periodMs) = 0;
    virtual void stop() = 0;
};

// Everything the program asks of the desktop goes through this interface, so
// that the same logic runs on a real X11 desktop and on a simulated one that
// tests script. All calls come from the user-interface thread.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // --- windows ---
    // No taskbar button and no task-switcher entry; called before the window
    // is first shown.
    virtual void hideFromTaskbar(QWidget& window) = 0;
    // Moves a top-level window; its size is kept. Immediate.
    virtual void moveWindow(QWidget& window, int left, int top) = 0;
    // Keeps the window above all windows that are not top-most, or not. The
    // window stays the same window (same native id) either way.
    virtual void setTopMost(QWidget& window, bool on) = 0;
    virtual bool isTopMost(const QWidget& window) const = 0;
    // The window's shape: it shows and takes mouse input only inside it.
    virtual void setWindowRegion(QWidget& window, const QRegion& region) = 0;
    // Brings the window to the front and gives it the input focus.
    virtual void setForegroundWindow(QWidget& window) = 0;

    // --- queries ---
    virtual QSize screenSize() const = 0; // primary screen, pixels
    virtual QPoint cursorPos() const = 0; // screen coordinates
    virtual std::optional<ForegroundWindow> foregroundWindow() const = 0;
    // The taskbar (panel) rectangle, or nothing when it cannot be found.
    virtual std::optional<ScreenRect> taskbarRect() const = 0;

    // --- nested loops (timers keep ticking inside all three) ---
    // Releases the mouse capture and moves the window with the pointer until
    // the left button is released; pressPoint is the press position inside
    // the window. Returns after the release.
    virtual void dragWindow(QWidget& window, QPoint pressPoint) = 0;
    // Shows the dialog modally; returns its result when it closes.
    virtual int execModal(QDialog& dialog) = 0;
    // Shows the menu at a screen point; returns when it has closed.
    virtual void popupMenu(QMenu& menu, QPoint at) = 0;
    // Handles every message already waiting in the program's queue.
    virtual void processPendingMessages() = 0;

    // --- timers ---
    virtual std::unique_ptr<TimerSource> createTimer(std::function<void()> onTick) = 0;

    // --- messages to the user ---
    // A modal message box with the error icon and one OK button.
    virtual void showErrorBox(const QString& title, const QString& text) = 0;
    // A message with the information icon and one OK button that does not
    // wait for the user: the program goes on while it is shown.
    virtual void showNotice(const QString& title, const QString& text) = 0;

    // --- notification area ---
    // A hidden window whose messages all go to the handler; 0 on failure.
    virtual std::uintptr_t createMessageWindow(MessageHandler handler) = 0;
    virtual void destroyMessageWindow(std::uintptr_t window) = 0;
    // Adds, modifies or deletes the icon described by the record. The icon's
    // mouse activity comes back to the record's window as its callback
    // message with the mouse message (512 to 521) as lParam.
    virtual bool shellNotifyIcon(TrayOperation operation, const NotifyIconData& data) = 0;
    // Whether a notification area is there to take an icon right now.
    virtual bool notificationAreaAvailable() const = 0;

    // --- the program itself ---
    // Full path of the running executable (the settings file lies beside it).
    virtual std::string executablePath() const = 0;
    // A seed for the random generator, from the time of day.
    virtual std::uint32_t clockSeed() const = 0;
};

// The desktop the program runs on. main() installs the X11 one, tests a
// simulated one; installing replaces (and destroys) the previous one.
DesktopServices& desktop();
void installDesktop(std::unique_ptr<DesktopServices> services);
