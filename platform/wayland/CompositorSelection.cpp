#include "CompositorSelection.h"

#include "CompositorReceiver.h"
#include "GnomeShellExtension.h"
#include "KWinFeed.h"
#include "SwayFeed.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace {

// What an XWayland session keeps from the program when no helper reports.
constexpr SessionLimits kXWaylandAlone{true, true};

bool onBus(const char* name) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusConnectionInterface* daemon = bus.isConnected() ? bus.interface() : nullptr;
    return daemon && daemon->isServiceRegistered(QString::fromLatin1(name)).value();
}

std::unique_ptr<CompositorFeed> gnomeShell() {
    SessionLimits limits = kXWaylandAlone;
    switch (GnomeShellExtension::prepare()) {
    case GnomeShellExtension::Readiness::Ready:
        limits = SessionLimits{};
        break;
    case GnomeShellExtension::Readiness::NeedsNewLogin:
        limits.newLoginCompletesSetUp = true;
        break;
    case GnomeShellExtension::Readiness::Unavailable:
        break;
    }
    return CompositorReceiver::open(limits);
}

} // namespace

std::unique_ptr<CompositorFeed> CompositorSelection::choose() {
    if (onBus("org.gnome.Shell"))
        return gnomeShell();
    if (onBus("org.kde.KWin"))
        return KWinFeed::open();
    // sway, and wlroots compositors that speak its IPC.
    if (const std::string socket = SwayFeed::findSocket(); !socket.empty())
        return SwayFeed::open(socket);
    return nullptr;
}
