#pragma once

#include "DesktopServices.h"

#include <QObject>
#include <QPoint>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class CompositorFeed;
struct CompositorReport;
class QSystemTrayIcon;
class QWidget;
class X11MascotWindow;
class X11FullScreenWatch;
class X11SessionClaim;
class X11TrayArea;

// The desktop the program runs on: Qt on X11 (xcb), with an EWMH window
// manager and a panel. Xlib work is in XlibBridge; without an X display
// (another Qt platform) the X-only queries answer "nothing" and the rest
// still works through Qt. A top-level window that is given a shape before it
// is first shown (the mascot) is drawn, shaped and moved by X11MascotWindow
// on a connection of its own, so that its ticks cost Qt nothing. On a
// Wayland compositor's XWayland the pointer, the front window and the panel
// come from the compositor (a CompositorFeed chosen at start-up) wherever
// it has told them.
class X11Desktop : public DesktopServices {
public:
    X11Desktop();
    ~X11Desktop() override;

    void hideFromTaskbar(WindowHandle window) override;
    void moveWindow(WindowHandle window, int left, int top) override;
    ScreenPoint windowPos(WindowHandle window) const override;
    void setTopMost(WindowHandle window, bool on) override;
    bool isTopMost(WindowHandle window) const override;
    void setWindowRegion(WindowHandle window, const std::vector<RgnRect>& region) override;
    void setForegroundWindow(WindowHandle window) override;
    ScreenSize screenSize() const override;
    ScreenPoint cursorPos() const override;
    std::optional<ForegroundWindow> foregroundWindow() const override;
    std::optional<ScreenRect> taskbarRect() const override;
    SessionLimits sessionLimits() const override;
    std::optional<ScreenRect> fullScreenMonitor() const override;
    void watchFullScreen(std::function<void()> changed) override;
    void dragWindow(WindowHandle window, ScreenPoint pressPoint) override;
    int execModal(ModalDialog& dialog) override;
    void popupMenu(NativeMenu& menu, ScreenPoint at) override;
    void processPendingMessages() override;
    std::unique_ptr<TimerSource> createTimer(std::function<void()> onTick) override;
    std::unique_ptr<NativeMenu> createMenu() override;
    void showErrorBox(const std::string& title, const std::string& text) override;
    void showNotice(const std::string& title, const std::string& text) override;
    bool notificationAreaAvailable() const override;
    std::uintptr_t createMessageWindow(MessageHandler handler) override;
    void destroyMessageWindow(std::uintptr_t window) override;
    bool shellNotifyIcon(TrayOperation operation, const NotifyIconData& data) override;
    void setNotifyIconMenu(std::uintptr_t window, std::uint32_t id, NativeMenu* menu,
                           std::function<void()> opening) override;
    std::string executablePath() const override;
    std::uint32_t clockSeed() const override;
    bool claimSession(std::function<void()> comeForward) override;
    std::string userLanguage() const override;

    // The drag of a widget, pressed at a point inside it.
    void dragWindow(QWidget& window, QPoint pressPoint);

    // Delivers a message to a message window now; 0 when there is none.
    std::intptr_t sendMessage(std::uintptr_t window, unsigned message, std::uintptr_t wParam,
                              std::intptr_t lParam);

    // The Qt icon that shows a notification-area record, or null.
    QSystemTrayIcon* trayIcon(std::uintptr_t window, std::uint32_t id) const;

private:
    // The window that shows a shaped widget on the desktop's own X
    // connection (X11MascotWindow), or null for a widget Qt shows itself.
    X11MascotWindow* standIn(const QWidget& window) const;
    // After a drag on a compositor that may have held back its last motion,
    // the window is given the pointer's place once more (device pixels):
    // the one the compositor reports, or XWayland's once sway has sent it
    // again.
    void takeLastStep(const std::function<void(QPoint)>& follow);
    static constexpr int kLastStepWaitMs = 100;

    std::map<const QWidget*, std::unique_ptr<X11MascotWindow>> standIns_;
    std::map<std::uintptr_t, std::shared_ptr<MessageHandler>> messageWindows_;
    std::uintptr_t nextMessageWindow_ = 1;
    std::unique_ptr<X11TrayArea> tray_;
    // The active window's full-screen state, followed by events from the
    // first watchFullScreen on.
    std::unique_ptr<X11FullScreenWatch> fullScreen_;
    std::function<void()> fullScreenChanged_;
    // The display's selection, held while the program runs.
    std::unique_ptr<X11SessionClaim> sessionClaim_;
    // The compositor's report, when a feed was chosen and it has one.
    const CompositorReport* compositorReport() const;

    // Whether the X server is a Wayland compositor's XWayland. Asked once:
    // the server does not turn into another. The compositor's feed is chosen
    // at the same time.
    bool onXWayland() const;
    mutable std::optional<bool> xwayland_;
    mutable std::unique_ptr<CompositorFeed> compositor_;
    std::unique_ptr<QObject> guard_; // receiver for application signals
};
