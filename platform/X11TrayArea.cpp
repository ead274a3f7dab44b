#include "X11TrayArea.h"

#include <QIcon>
#include <QPointer>
#include <QTimer>

#include <cstring>

X11TrayArea::X11TrayArea(Deliver deliver) : deliver_(std::move(deliver)) {}

X11TrayArea::~X11TrayArea() = default;

std::vector<std::int32_t> X11TrayArea::mouseMessagesFor(QSystemTrayIcon::ActivationReason reason) {
    // Qt reports presses (and, for the right button, the context request);
    // the program expects the press and release pair a click produces.
    switch (reason) {
    case QSystemTrayIcon::Context:
        return {516, 517};
    case QSystemTrayIcon::Trigger:
        return {513, 514};
    case QSystemTrayIcon::DoubleClick:
        return {515};
    case QSystemTrayIcon::MiddleClick:
        return {519, 520};
    case QSystemTrayIcon::Unknown:
        break;
    }
    return {};
}

void X11TrayArea::apply(Icon& icon, const NotifyIconData& data) {
    if (data.uFlags & 1)
        icon.callbackMessage = data.uCallbackMessage;
    if ((data.uFlags & 2) && data.hIcon)
        icon.tray->setIcon(*data.hIcon);
    if (data.uFlags & 4) {
        // The tip is read up to its zero byte, never past the 64-byte field;
        // the program's texts are UTF-8.
        const void* zero = std::memchr(data.szTip, 0, sizeof data.szTip);
        const auto length = zero ? static_cast<const char*>(zero) - data.szTip : qsizetype(sizeof data.szTip);
        icon.tray->setToolTip(QString::fromUtf8(data.szTip, length));
    }
}

bool X11TrayArea::notify(TrayOperation operation, const NotifyIconData& data) {
    if (data.cbSize < 88)
        return false;
    const Key key{data.hWnd, data.uID};
    auto it = icons_.find(key);
    switch (operation) {
    case TrayOperation::NIM_ADD: {
        if (it != icons_.end())
            return false;
        Icon icon;
        icon.tray = std::make_unique<QSystemTrayIcon>();
        apply(icon, data);
        connect(icon.tray.get(), &QSystemTrayIcon::activated, this,
                [this, key](QSystemTrayIcon::ActivationReason reason) { activated(key, reason); });
        // Qt docks the icon whenever a notification area shows up, also one
        // that starts (or restarts) after this call, so no further watching
        // is needed here.
        icon.tray->show();
        icons_.emplace(key, std::move(icon));
        return true;
    }
    case TrayOperation::NIM_MODIFY:
        if (it == icons_.end())
            return false;
        apply(it->second, data);
        return true;
    case TrayOperation::NIM_DELETE:
        if (it == icons_.end())
            return false;
        it->second.tray->hide();
        icons_.erase(it);
        return true;
    }
    return false;
}

QSystemTrayIcon* X11TrayArea::icon(std::uintptr_t window, std::uint32_t id) const {
    auto it = icons_.find({window, id});
    return it == icons_.end() ? nullptr : it->second.tray.get();
}

void X11TrayArea::forgetWindow(std::uintptr_t window) {
    for (auto it = icons_.begin(); it != icons_.end();) {
        if (it->first.first == window) {
            it->second.tray->hide();
            it = icons_.erase(it);
        } else {
            ++it;
        }
    }
}

void X11TrayArea::activated(Key key, QSystemTrayIcon::ActivationReason reason) {
    const std::vector<std::int32_t> messages = mouseMessagesFor(reason);
    if (messages.empty())
        return;
    // Delivered from the event loop, not from inside Qt's own mouse handler
    // of the icon, as the callback is a posted message: a menu opened by the
    // handler then runs its loop outside Qt's tray code. The pair goes in
    // one call, so a release comes after whatever its press opened closed.
    QPointer<X11TrayArea> self(this);
    QTimer::singleShot(0, this, [self, key, messages] {
        for (std::int32_t message : messages) {
            if (!self)
                return;
            auto it = self->icons_.find(key);
            if (it == self->icons_.end())
                return; // deleted meanwhile, e.g. by the press's handler
            self->deliver_(key.first, it->second.callbackMessage, key.second, message);
        }
    });
}
