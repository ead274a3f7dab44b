#pragma once

#include "DesktopServices.h"

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>

// The notification area through QSystemTrayIcon. Each record (window, id)
// is one QSystemTrayIcon; what Qt reports about it is turned into the mouse
// messages of the record's callback and delivered to the window's handler
// (see docs/tray-mapping.md).
class X11TrayArea : public QObject {
public:
    // Delivers (message, wParam, lParam) to a message window.
    using Deliver = std::function<void(std::uintptr_t window, unsigned message, std::uintptr_t wParam,
                                       std::intptr_t lParam)>;

    explicit X11TrayArea(Deliver deliver);
    ~X11TrayArea() override;

    bool notify(TrayOperation operation, const NotifyIconData& data);
    // The Qt icon shown for a record, or null.
    QSystemTrayIcon* icon(std::uintptr_t window, std::uint32_t id) const;
    // Deletes every icon of a message window that is going away.
    void forgetWindow(std::uintptr_t window);
    // Offers the menu to a host that draws icon menus itself; see
    // DesktopServices::setNotifyIconMenu.
    void setMenu(std::uintptr_t window, std::uint32_t id, QMenu* menu, std::function<void()> opening);

    // Whether Qt shows new icons as StatusNotifierItems: it does so exactly
    // when a StatusNotifierWatcher is on the session bus as the icon is made.
    static bool hostDrawsMenus();

    // The mouse messages one activation of Qt's becomes, in order.
    static std::vector<std::int32_t> mouseMessagesFor(QSystemTrayIcon::ActivationReason reason);

private:
    struct Icon {
        // The program's menu and the menu exported to the host: a second
        // QMenu holding the same actions, so that the program's own menu
        // keeps popping up as a plain widget menu. Declared before the tray
        // icon, which refers to it, so that the icon goes first.
        QPointer<QMenu> source;
        std::unique_ptr<QMenu> exported;
        std::function<void()> opening; // as the host is about to show it
        std::unique_ptr<QSystemTrayIcon> tray;
        std::uint32_t callbackMessage = 0;
        bool hostMenus = false; // shown as a StatusNotifierItem
    };
    using Key = std::pair<std::uintptr_t, std::uint32_t>;
    void apply(Icon& icon, const NotifyIconData& data);
    void activated(Key key, QSystemTrayIcon::ActivationReason reason);
    static void copyActions(Icon& icon);
    bool eventFilter(QObject* watched, QEvent* event) override;

    Deliver deliver_;
    std::map<Key, Icon> icons_;
};
