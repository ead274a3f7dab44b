#include "X11TrayArea.h"

#include "QtIconHandle.h"

#include <QActionEvent>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QIcon>
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
    // No icon in the record clears the shown one, as on Windows.
    if (data.uFlags & 2)
        icon.tray->setIcon(iconOf(data.hIcon) ? *iconOf(data.hIcon) : QIcon());
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
        icon.hostMenus = hostDrawsMenus();
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

bool X11TrayArea::hostDrawsMenus() {
    // The same question Qt asks when it picks between the D-Bus protocol
    // and XEmbed for a new icon.
    const QDBusConnection bus = QDBusConnection::sessionBus();
    const QDBusConnectionInterface* daemon = bus.isConnected() ? bus.interface() : nullptr;
    return daemon && daemon->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher")).value();
}

void X11TrayArea::setMenu(std::uintptr_t window, std::uint32_t id, QMenu* menu,
                          std::function<void()> opening) {
    auto it = icons_.find({window, id});
    // An XEmbed tray gets no menu: Qt would pop it up by itself on the
    // right click, beside the one the program opens for the mouse message.
    if (it == icons_.end() || !it->second.hostMenus)
        return;
    Icon& icon = it->second;
    icon.opening = menu ? std::move(opening) : nullptr;
    if (icon.source == menu)
        return;
    if (icon.source)
        icon.source->removeEventFilter(this);
    icon.source = menu;
    if (!menu) {
        icon.tray->setContextMenu(nullptr);
        icon.exported.reset();
        return;
    }
    menu->installEventFilter(this);
    if (!icon.exported) {
        icon.exported = std::make_unique<QMenu>();
        // The host asks the exported menu over D-Bus (AboutToShow) before it
        // shows it, which Qt reports as the menu's aboutToShow.
        const Key key = it->first;
        connect(icon.exported.get(), &QMenu::aboutToShow, this, [this, key] {
            auto found = icons_.find(key);
            if (found == icons_.end() || !found->second.opening)
                return;
            // A copy: the step may offer another menu meanwhile.
            const std::function<void()> step = found->second.opening;
            step();
        });
    }
    copyActions(icon);
    icon.tray->setContextMenu(icon.exported.get());
}

void X11TrayArea::copyActions(Icon& icon) {
    // The actions stay the program's (the exported menu owns none of them),
    // so a click on the host's item triggers the program's own action.
    const QList<QAction*> old = icon.exported->actions();
    for (QAction* action : old)
        icon.exported->removeAction(action);
    if (icon.source)
        icon.exported->addActions(icon.source->actions());
}

bool X11TrayArea::eventFilter(QObject* watched, QEvent* event) {
    // Items added to or removed from the program's menu later show in the
    // host's menu too; changes of an item's text or state reach it through
    // the shared action itself.
    if (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionRemoved) {
        for (auto& entry : icons_)
            if (entry.second.source == watched && entry.second.exported)
                copyActions(entry.second);
    }
    return QObject::eventFilter(watched, event);
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
