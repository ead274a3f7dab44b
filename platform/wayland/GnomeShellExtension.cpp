#include "GnomeShellExtension.h"

#include "GnomeExtensionMemory.h"
#include "HelperFileCheck.h"
#include "ProgramIdentity.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QFileInfo>
#include <QStandardPaths>
#include <QVariantMap>

#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

// GNOME Shell's ExtensionState numbers (the same in 43 and 45+, where
// ENABLED/DISABLED were renamed ACTIVE/INACTIVE and two passing states
// were added).
enum ShellState {
    kActive = 1,
    kInactive = 2,
    kError = 3,
    kOutOfDate = 4,
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

bool answeredTrue(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().first().toBool();
}

// What the shell knows of an extension: its state (nothing when the shell
// does not know it, or did not answer) and the folder it was found in.
struct ShellInfo {
    bool answered = false;
    std::optional<int> state;
    QString path;
};

ShellInfo askShell(const QString& uuid) {
    ShellInfo info;
    const QDBusMessage reply = callShell("GetExtensionInfo", uuid);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return info;
    info.answered = true;
    if (reply.arguments().isEmpty())
        return info;
    // The shell answers an empty dictionary for an extension it does not
    // know; "state" is a double on the wire.
    const QVariantMap fields = qdbus_cast<QVariantMap>(reply.arguments().first());
    bool ok = false;
    const double number = fields.value(QStringLiteral("state")).toDouble(&ok);
    if (ok)
        info.state = static_cast<int>(number);
    info.path = fields.value(QStringLiteral("path")).toString();
    return info;
}

// The program's extension in each of its forms, the one for the shells of
// today first: where the shell found it and where the build tree keeps it.
struct Form {
    const char* uuid;
    const char* buildCopy;
};
constexpr Form kForms[] = {
    {ProgramIdentity::kExtensionUuid, ProgramIdentity::kBuildGnomeShellExtension},
    {ProgramIdentity::kLegacyExtensionUuid, ProgramIdentity::kBuildLegacyGnomeShellExtension},
};

} // namespace

std::optional<std::size_t> GnomeShellExtension::loadableForm(const std::vector<std::optional<int>>& states) {
    for (std::size_t i = 0; i < states.size(); ++i)
        if (states[i] && *states[i] != kError && *states[i] != kOutOfDate)
            return i;
    return std::nullopt;
}

GnomeShellExtension::Readiness
GnomeShellExtension::whyNoneLoads(const std::vector<std::optional<int>>& states, bool installed) {
    // A form in error says more than one made for another shell.
    for (const auto& state : states)
        if (state == kError)
            return Readiness::Failed;
    for (const auto& state : states)
        if (state == kOutOfDate)
            return Readiness::OutOfDate;
    return installed ? Readiness::NeedsNewLogin : Readiness::Missing;
}

GnomeShellExtension::Step GnomeShellExtension::stepFor(std::optional<int> shellState, bool installed,
                                                       bool enabledBefore) {
    if (!shellState)
        return installed ? Step::NeedsNewLogin : Step::Unavailable;
    switch (*shellState) {
    case kActive:
    case kActivating:
        return Step::Ready;
    case kInitialized:
        // Never enabled in this session: off from the start, or switched
        // off in an earlier one after it had been on.
        return enabledBefore ? Step::SwitchedOff : Step::Enable;
    case kInactive:
    case kDeactivating:
        // It ran in this session and someone switched it off.
        return Step::SwitchedOff;
    default: // an error, out of date, uninstalled meanwhile
        return Step::Unavailable;
    }
}

std::string GnomeShellExtension::enableRefusal(const std::string& path, const std::string& dataDir,
                                               const std::string& buildCopy, unsigned user) {
    return enableRefusal(ProgramIdentity::kExtensionUuid, path, dataDir, buildCopy, user);
}

std::string GnomeShellExtension::enableRefusal(const std::string& uuid, const std::string& path,
                                               const std::string& dataDir, const std::string& buildCopy,
                                               unsigned user) {
    const std::string installed = dataDir + "/gnome-shell/extensions/" + uuid;
    const auto canonical = [](const std::string& p) {
        return QFileInfo(QString::fromStdString(p)).canonicalFilePath().toStdString();
    };
    const std::string found = canonical(path);
    if (found.empty() ||
        (found != canonical(installed) && (buildCopy.empty() || found != canonical(buildCopy))))
        return "the shell found it in " + path + ", not where the package installs it (" + installed + ")";
    // The shell reads these two files; the folders above them are checked
    // with them.
    for (const char* file : {"/metadata.json", "/extension.js"})
        if (std::string why = HelperFileCheck::refusal(found + file, user); !why.empty())
            return why;
    return {};
}

GnomeShellExtension::Outcome GnomeShellExtension::prepare(GnomeExtensionMemory& memory) {
    // The extension of earlier releases pushed to a bus name nobody can
    // own for real, where any program could have listened: it goes, and its
    // being on counts as the user's consent to the new one.
    if (std::strcmp(ProgramIdentity::kOldExtensionUuid, ProgramIdentity::kExtensionUuid) != 0) {
        const QString old = QString::fromLatin1(ProgramIdentity::kOldExtensionUuid);
        const ShellInfo oldInfo = askShell(old);
        if (oldInfo.state && stepFor(oldInfo.state, true, true) == Step::Ready &&
            answeredTrue(callShell("DisableExtension", old)))
            std::fprintf(stderr, "kuvito: switched off the GNOME Shell extension %s, which %s replaces\n",
                         ProgramIdentity::kOldExtensionUuid, ProgramIdentity::kExtensionUuid);
    }

    // The package carries a form for the shells before 45 and one for 45
    // and later; the running shell loads one and calls the other out of
    // date.
    std::vector<ShellInfo> infos;
    std::vector<std::optional<int>> states;
    bool installed = false;
    for (const Form& form : kForms) {
        infos.push_back(askShell(QString::fromLatin1(form.uuid)));
        if (!infos.back().answered)
            return {Readiness::Unavailable, form.uuid};
        states.push_back(infos.back().state);
        installed = installed || !QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                         QStringLiteral("gnome-shell/extensions/") +
                                                             QString::fromLatin1(form.uuid) +
                                                             QStringLiteral("/metadata.json"))
                                      .isEmpty();
    }
    const std::optional<std::size_t> chosen = loadableForm(states);
    if (!chosen)
        return {whyNoneLoads(states, installed), kForms[0].uuid};
    const Form& form = kForms[*chosen];
    const ShellInfo& info = infos[*chosen];
    const std::string uuid = form.uuid;
    const QString quuid = QString::fromLatin1(form.uuid);
    switch (stepFor(info.state, installed, memory.enabledOnce(uuid))) {
    case Step::Ready:
        // On, by the program or by the user: from now on, off is the
        // user's choice.
        memory.rememberEnabled(uuid);
        return {Readiness::Ready, form.uuid};
    case Step::Enable: {
        const std::string why = enableRefusal(uuid, info.path.toStdString(),
                                              ProgramIdentity::kInstalledDataDir, form.buildCopy, getuid());
        if (!why.empty()) {
            std::fprintf(stderr, "kuvito: not enabling the GNOME Shell extension %s: %s\n", uuid.c_str(),
                         why.c_str());
            return {Readiness::Unavailable, form.uuid};
        }
        // Written down first: an extension the program could not remember
        // enabling would be enabled again after the user switched it off.
        if (!memory.rememberEnabled(uuid)) {
            std::fprintf(stderr, "kuvito: not enabling the GNOME Shell extension: cannot write %s\n",
                         memory.path().c_str());
            return {Readiness::Unavailable, form.uuid};
        }
        return {answeredTrue(callShell("EnableExtension", quuid)) ? Readiness::Ready : Readiness::Unavailable,
                form.uuid};
    }
    case Step::SwitchedOff:
        std::fprintf(stderr,
                     "kuvito: the GNOME Shell extension %s is switched off, so kuvito sees only X11 windows; "
                     "turn it on with the Extensions app or gnome-extensions enable %s\n",
                     uuid.c_str(), uuid.c_str());
        return {Readiness::SwitchedOff, form.uuid};
    case Step::NeedsNewLogin:
        return {Readiness::NeedsNewLogin, form.uuid};
    case Step::Unavailable:
        break;
    }
    return {Readiness::Unavailable, form.uuid};
}
