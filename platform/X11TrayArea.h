#pragma once

#include "DesktopServices.h"

#include <QObject>
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

    // The mouse messages one activation of Qt's becomes, in order.
    static std::vector<std::int32_t> mouseMessagesFor(QSystemTrayIcon::ActivationReason reason);

private:
    struct Icon {
        std::unique_ptr<QSystemTrayIcon> tray;
        std::uint32_t callbackMessage = 0;
    };
    using Key = std::pair<std::uintptr_t, std::uint32_t>;
    void apply(Icon& icon, const NotifyIconData& data);
    void activated(Key key, QSystemTrayIcon::ActivationReason reason);

    Deliver deliver_;
    std::map<Key, Icon> icons_;
};
