#include "CompositorSelection.h"

#include "CompositorReceiver.h"
#include "GnomeExtensionMemory.h"
#include "GnomeShellExtension.h"
#include "KWinFeed.h"
#include "KWinScriptLoader.h"
#include "ProgramIdentity.h"
#include "SwayFeed.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace {

// What an XWayland session keeps from the program when no helper reports.
constexpr SessionLimits kXWaylandAlone{true, true};

constexpr const char* kGnomeShell = "org.gnome.Shell";

bool onBus(const char* name) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusConnectionInterface* daemon = bus.isConnected() ? bus.interface() : nullptr;
    return daemon && daemon->isServiceRegistered(QString::fromLatin1(name)).value();
}

std::unique_ptr<CompositorFeed> gnomeShell(const CompositorReceiver::Screens& screens) {
    SessionLimits limits = kXWaylandAlone;
    GnomeExtensionMemory memory(GnomeExtensionMemory::defaultPath());
    const GnomeShellExtension::Outcome outcome = GnomeShellExtension::prepare(memory);
    switch (outcome.readiness) {
    case GnomeShellExtension::Readiness::Ready:
        limits = SessionLimits{};
        break;
    case GnomeShellExtension::Readiness::NeedsNewLogin:
        limits.newLoginCompletesSetUp = true;
        break;
    case GnomeShellExtension::Readiness::SwitchedOff:
        // Said once: a user who switched it off on purpose is not told again
        // at every start.
        if (!memory.toldSwitchedOff(outcome.uuid) && memory.rememberToldSwitchedOff(outcome.uuid))
            limits.helperSwitchedOff = outcome.uuid;
        break;
    case GnomeShellExtension::Readiness::OutOfDate:
        limits.helperOutOfDate = outcome.uuid;
        break;
    case GnomeShellExtension::Readiness::Failed:
        limits.helperFailed = outcome.uuid;
        break;
    case GnomeShellExtension::Readiness::Missing:
        limits.helperMissing = true;
        break;
    case GnomeShellExtension::Readiness::Unavailable:
        break;
    }
    return CompositorReceiver::open(limits, QString::fromLatin1(kGnomeShell), screens);
}

} // namespace

std::unique_ptr<CompositorFeed> CompositorSelection::choose(const CompositorReceiver::Screens& screens) {
    if (onBus(kGnomeShell))
        return gnomeShell(screens);
    if (KWinScriptLoader::kwinOnBus())
        return KWinFeed::open(screens);
    // sway, and wlroots compositors that speak its IPC.
    if (const std::string socket = SwayFeed::findSocket(); !socket.empty())
        return SwayFeed::open(socket);
    return nullptr;
}
