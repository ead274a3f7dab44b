#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "IconHandle.h"
#include "NativeMenu.h"

// The notification-area record in its first, 88-byte form. The icon is the
// caller's, valid for the duration of the call.
struct NotifyIconData {
    std::uint32_t cbSize = 88;
    std::uintptr_t hWnd = 0; // the message window that receives the callbacks
    std::uint32_t uID = 1;
    std::uint32_t uFlags = 7; // message 1 | icon 2 | tip 4
    std::uint32_t uCallbackMessage = 1124;
    IconHandle hIcon;
    char szTip[64] = {}; // zero-terminated, at most 63 bytes of text
};

enum class TrayOperation : int { NIM_ADD = 0, NIM_MODIFY = 1, NIM_DELETE = 2 };

// A message for a message window: (message, wParam, lParam) -> result.
using MessageHandler =
    std::function<std::intptr_t(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)>;

// How the program speaks to its user outside its own windows: the icon in
// the notification area with its message window, and message boxes.
class DesktopTray {
public:
    virtual ~DesktopTray() = default;

    // A hidden window whose messages all go to the handler; 0 on failure.
    virtual std::uintptr_t createMessageWindow(MessageHandler handler) = 0;
    virtual void destroyMessageWindow(std::uintptr_t window) = 0;
    // Adds, modifies or deletes the icon described by the record. The icon's
    // mouse activity comes back to the record's window as its callback
    // message with the mouse message (512 to 521) as lParam.
    virtual bool shellNotifyIcon(TrayOperation operation, const NotifyIconData& data) = 0;
    // The menu of a shown icon, for notification areas that open an icon's
    // menu themselves (StatusNotifierItem hosts: Xfce, KDE, GNOME's
    // AppIndicator). There a right click on the icon opens this menu and
    // sends no mouse message; its items are the menu's own actions, so they
    // run the same handlers and show the same state. opening runs as the
    // host is about to show the menu, in place of the step the right-button
    // press would take first. Areas that only report clicks (XEmbed trays)
    // ignore it. Null withdraws the menu.
    virtual void setNotifyIconMenu(std::uintptr_t window, std::uint32_t id, NativeMenu* menu,
                                   std::function<void()> opening) = 0;
    // Whether a notification area is there to take an icon right now.
    virtual bool notificationAreaAvailable() const = 0;

    // An empty popup menu of the desktop's own kind, for popupMenu and
    // setNotifyIconMenu.
    virtual std::unique_ptr<NativeMenu> createMenu() = 0;

    // A modal message box with the error icon and one OK button. Texts are
    // UTF-8.
    virtual void showErrorBox(const std::string& title, const std::string& text) = 0;
    // A message with the information icon and one OK button that does not
    // wait for the user: the program goes on while it is shown.
    virtual void showNotice(const std::string& title, const std::string& text) = 0;
};
