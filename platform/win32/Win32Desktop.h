#pragma once

#include "DesktopServices.h"
#include "Win32Queries.h"
#include "Win32Timers.h"
#include "Win32Windows.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>

class Win32FullScreenWatch;
class Win32MessageWindow;
class Win32SessionClaim;

// The desktop the program runs on under Windows: the queries, windows and
// timers of their own classes, the nested loops over Windows' message
// queue, the notification icon (Shell_NotifyIconW) and message boxes. Every
// call comes from the thread that made it, which owns the program's
// windows.
class Win32Desktop : public DesktopServices {
public:
    // Throws KuvitoError when Windows refuses the desktop's own windows.
    Win32Desktop();
    ~Win32Desktop() override;
    Win32Desktop(const Win32Desktop&) = delete;
    Win32Desktop& operator=(const Win32Desktop&) = delete;

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
    // From Win32FullScreenWatch, made by the first watcher.
    std::optional<ScreenRect> fullScreenMonitor() const override;
    void watchFullScreen(std::function<void()> changed) override;

    // The window follows the pointer (SetWindowPos, so it hears the moves
    // as from any other) while the left button is down, with the mouse
    // captured so that the moves arrive wherever the pointer goes.
    void dragWindow(WindowHandle window, ScreenPoint pressPoint) override;
    // The program's other windows are disabled while the dialog runs, and
    // keys go through IsDialogMessageW: Tab moves between its controls,
    // Enter and Esc reach the dialog as WM_COMMAND IDOK and IDCANCEL.
    int execModal(ModalDialog& dialog) override;
    // The menu must be one that createMenu made.
    void popupMenu(NativeMenu& menu, ScreenPoint at) override;
    void processPendingMessages() override;

    std::unique_ptr<TimerSource> createTimer(std::function<void()> onTick) override;

    // The handler hears the messages the program's own handlers know: the
    // end of the session (WM_QUERYENDSESSION) and WM_USER and above, the
    // notification icon's callback among them. Windows answers the rest.
    std::uintptr_t createMessageWindow(MessageHandler handler) override;
    void destroyMessageWindow(std::uintptr_t window) override;
    bool shellNotifyIcon(TrayOperation operation, const NotifyIconData& data) override;
    // Windows reports every mouse action on the icon, the right click
    // included, so there is no menu to hand over.
    void setNotifyIconMenu(std::uintptr_t, std::uint32_t, NativeMenu*, std::function<void()>) override {}
    // A taskbar window is there and has taken every icon the program added.
    bool notificationAreaAvailable() const override;
    std::unique_ptr<NativeMenu> createMenu() override;
    void showErrorBox(const std::string& title, const std::string& text) override;
    void showNotice(const std::string& title, const std::string& text) override;

    std::string executablePath() const override;
    std::uint32_t clockSeed() const override;
    bool claimSession(std::function<void()> comeForward) override;
    std::string userLanguage() const override;

private:
    // An icon of ours: its message window and id.
    using IconKey = std::pair<std::uintptr_t, std::uint32_t>;
    void remember(TrayOperation operation, const NotifyIconData& data);
    void forget(IconKey key);
    void taskbarRecreated();

    Win32Queries queries_;
    Win32Windows windows_;
    Win32Timers timers_;
    // A hidden window that owns the popup menus when none of the program's
    // windows is in front, and hears the taskbar's re-creation.
    std::unique_ptr<Win32MessageWindow> shellWindow_;
    std::map<std::uintptr_t, std::unique_ptr<Win32MessageWindow>> messageWindows_;
    // The icons shown, as last added or changed, to show again when the
    // taskbar is made anew (Explorer restarted), and those the taskbar
    // refused, which wait for it.
    struct ShownIcon {
        NotifyIconData data;
        std::uintptr_t icon = 0; // our copy of the record's HICON
        bool waiting = false;
    };
    std::map<IconKey, ShownIcon> icons_;
    unsigned taskbarCreated_ = 0;
    std::function<void()> fullScreenChanged_;
    std::unique_ptr<Win32FullScreenWatch> fullScreen_;
    // The logon session's claim, held while the program runs.
    std::unique_ptr<Win32SessionClaim> sessionClaim_;
};
