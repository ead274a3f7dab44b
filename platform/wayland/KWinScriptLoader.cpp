#include "KWinScriptLoader.h"

#include "HelperFileCheck.h"
#include "ProgramIdentity.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

namespace {

const QString kScripting = QStringLiteral("org.kde.kwin.Scripting");
const QString kMainFile = QStringLiteral("kwin/contents/code/main.js");

QDBusMessage scriptingCall(const QString& method) {
    return QDBusMessage::createMethodCall(QString::fromLatin1(KWinScriptLoader::kService),
                                          QStringLiteral("/Scripting"), kScripting, method);
}

// Calls asynchronously and hands the reply to then() on the event loop.
template <typename Then> void callThen(QObject* guard, const QDBusMessage& message, Then then) {
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(message), guard);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, guard, [then](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        then(QDBusMessage(w->reply()));
    });
}

void warn(const QString& what, const QDBusMessage& reply) {
    std::fprintf(stderr, "kuvito: KWin script: %s: %s\n", qPrintable(what), qPrintable(reply.errorMessage()));
}

} // namespace

bool KWinScriptLoader::kwinOnBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() &&
           bus.interface()->isServiceRegistered(QString::fromLatin1(kService)).value();
}

QString KWinScriptLoader::findScript(std::string& why) {
    QString path = QString::fromUtf8(ProgramIdentity::kBuildKWinScript);
    if (path.isEmpty())
        path = QString::fromUtf8(ProgramIdentity::kInstalledDataDir) + QStringLiteral("/kuvito/") + kMainFile;
    why = HelperFileCheck::refusal(path.toStdString(), getuid());
    return why.empty() ? QFileInfo(path).canonicalFilePath() : QString();
}

KWinScriptLoader::KWinScriptLoader(const QString& mainScript) : guard_(std::make_unique<QObject>()) {
    // A leftover of a killed kuvito would make the load refuse: it goes
    // first, whatever it is.
    QDBusMessage leftover = scriptingCall(QStringLiteral("unloadScript"));
    leftover << QString::fromLatin1(kPluginName);
    callThen(guard_.get(), leftover, [this, mainScript](const QDBusMessage&) { load(mainScript); });
    // The desktop that owns this object outlives the application object,
    // and the session bus goes with that: the script is unloaded while the
    // bus is still there.
    if (QCoreApplication* app = QCoreApplication::instance())
        QObject::connect(app, &QCoreApplication::aboutToQuit, guard_.get(), [this] { unload(); });
}

void KWinScriptLoader::load(const QString& mainScript) {
    QDBusMessage message = scriptingCall(QStringLiteral("loadScript"));
    message << mainScript << QString::fromLatin1(kPluginName);
    loadAsked_ = true;
    callThen(guard_.get(), message, [this](const QDBusMessage& reply) {
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().value(0, -1).toInt() < 0) {
            warn(QStringLiteral("not loaded"), reply);
            return;
        }
        // KWin numbers a script by how many are loaded, so after an unload
        // the number can be another script's, and so can the object that
        // would run it. start() runs every loaded script that is not running
        // yet, which is the one just loaded.
        callThen(guard_.get(), scriptingCall(QStringLiteral("start")), [](const QDBusMessage& started) {
            if (started.type() != QDBusMessage::ReplyMessage)
                warn(QStringLiteral("not started"), started);
        });
    });
}

KWinScriptLoader::~KWinScriptLoader() {
    // Calls still under way are dropped with their watchers.
    guard_.reset();
    unload();
}

void KWinScriptLoader::unload() {
    if (!loadAsked_)
        return;
    loadAsked_ = false;
    QDBusMessage message = scriptingCall(QStringLiteral("unloadScript"));
    message << QString::fromLatin1(kPluginName);
    // The program is ending: a short wait, so that KWin is not left running
    // a script for nobody, but never a hang.
    QDBusConnection::sessionBus().call(message, QDBus::Block, 1000);
}
