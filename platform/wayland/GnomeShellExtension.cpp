#include "GnomeShellExtension.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QStandardPaths>
#include <QVariantMap>

namespace {

// GNOME Shell's ExtensionState numbers (the same in 43 and 45+, where
// ENABLED/DISABLED were renamed ACTIVE/INACTIVE and two passing states
// were added).
enum ShellState {
    kActive = 1,
    kInactive = 2,
    kInitialized = 6,
    kDeactivating = 7,
    kActivating = 8,
};

constexpr int kCallTimeoutMs = 1000;

QDBusMessage callShell(const char* method, const QString& uuid) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.gnome.Shell"), QStringLiteral("/org/gnome/Shell"),
        QStringLiteral("org.gnome.Shell.Extensions"), QString::fromLatin1(method));
    call << uuid;
    return QDBusConnection::sessionBus().call(call, QDBus::Block, kCallTimeoutMs);
}

} // namespace

GnomeShellExtension::Step GnomeShellExtension::stepFor(std::optional<int> shellState, bool installed) {
    if (!shellState)
        return installed ? Step::NeedsNewLogin : Step::Unavailable;
    switch (*shellState) {
    case kActive:
    case kActivating:
        return Step::Ready;
    case kInactive:
    case kInitialized:
    case kDeactivating:
        return Step::Enable;
    default: // an error, out of date, uninstalled meanwhile
        return Step::Unavailable;
    }
}

GnomeShellExtension::Readiness GnomeShellExtension::prepare() {
    const QString uuid = QString::fromLatin1(kUuid);
    std::optional<int> state;
    const QDBusMessage info = callShell("GetExtensionInfo", uuid);
    if (info.type() != QDBusMessage::ReplyMessage)
        return Readiness::Unavailable;
    if (!info.arguments().isEmpty()) {
        // The shell answers an empty dictionary for an extension it does
        // not know; "state" is a double on the wire.
        const QVariantMap fields = qdbus_cast<QVariantMap>(info.arguments().first());
        bool ok = false;
        const double number = fields.value(QStringLiteral("state")).toDouble(&ok);
        if (ok)
            state = static_cast<int>(number);
    }
    const bool installed = !QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                   QStringLiteral("gnome-shell/extensions/") + uuid +
                                                       QStringLiteral("/metadata.json"))
                                .isEmpty();
    switch (stepFor(state, installed)) {
    case Step::Ready:
        return Readiness::Ready;
    case Step::Enable: {
        const QDBusMessage enabled = callShell("EnableExtension", uuid);
        const bool ok = enabled.type() == QDBusMessage::ReplyMessage && !enabled.arguments().isEmpty() &&
                        enabled.arguments().first().toBool();
        return ok ? Readiness::Ready : Readiness::Unavailable;
    }
    case Step::NeedsNewLogin:
        return Readiness::NeedsNewLogin;
    case Step::Unavailable:
        break;
    }
    return Readiness::Unavailable;
}
