#include "CompositorReceiver.h"

#include "CompositorPushes.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>

CompositorReceiver::CompositorReceiver(SessionLimits limits, Screens screens, QDBusConnection bus)
    : bus_(std::move(bus)), screens_(std::move(screens)), limits_(limits) {}

std::unique_ptr<CompositorReceiver> CompositorReceiver::open(SessionLimits limits, const QString& compositor,
                                                             Screens screens, QDBusConnection bus) {
    if (!bus.isConnected() || !bus.interface())
        return nullptr;
    std::unique_ptr<CompositorReceiver> receiver(new CompositorReceiver(limits, std::move(screens), bus));
    // The watch comes before the question, so that a change of owner in
    // between is not missed.
    receiver->watcher_ =
        std::make_unique<QDBusServiceWatcher>(compositor, bus, QDBusServiceWatcher::WatchForOwnerChange);
    QObject::connect(receiver->watcher_.get(), &QDBusServiceWatcher::serviceOwnerChanged, receiver.get(),
                     [r = receiver.get()](const QString&, const QString&, const QString& owner) {
                         r->compositorOwnerChanged(owner);
                     });
    const QDBusReply<QString> owner = bus.interface()->serviceOwner(compositor);
    receiver->compositorOwner_ = owner.isValid() ? owner.value() : QString();
    // The object is there before the name is: a helper starts pushing as
    // soon as it sees the name's owner.
    if (!bus.registerObject(QString::fromLatin1(kObjectPath), QString::fromLatin1(kInterface), receiver.get(),
                            QDBusConnection::ExportScriptableSlots))
        return nullptr;
    if (!bus.registerService(QString::fromLatin1(kServiceName))) {
        bus.unregisterObject(QString::fromLatin1(kObjectPath));
        return nullptr;
    }
    return receiver;
}

CompositorReceiver::~CompositorReceiver() {
    bus_.unregisterService(QString::fromLatin1(kServiceName));
    bus_.unregisterObject(QString::fromLatin1(kObjectPath));
}

bool CompositorReceiver::fromCompositor() {
    if (calledFromDBus() && !compositorOwner_.isEmpty() && message().service() == compositorOwner_)
        return true;
    // Qt would answer a caller that asked for a reply; a stranger learns
    // nothing, not even that the call arrived.
    if (calledFromDBus())
        setDelayedReply(true);
    return false;
}

void CompositorReceiver::compositorOwnerChanged(const QString& owner) {
    compositorOwner_ = owner;
    report_ = CompositorReport{};
    helperLive_ = false;
}

void CompositorReceiver::Hello(const QString&, const QString&) {
    if (!fromCompositor())
        return;
    // A helper that (re)starts, after the shell restarted or the extension
    // was switched off and on, reports everything again: what an earlier one
    // said may be stale.
    report_ = CompositorReport{};
    helperLive_ = true;
}

void CompositorReceiver::Pointer(int x, int y) {
    if (fromCompositor())
        CompositorPushes::pointer(report_, screens_(), x, y);
}

void CompositorReceiver::FrontWindow(qulonglong id, bool ownWindow, int x, int y, int width, int height,
                                     bool fullScreen) {
    if (fromCompositor())
        CompositorPushes::frontWindow(report_, screens_(), id, ownWindow, x, y, width, height, fullScreen);
}

void CompositorReceiver::FrontWindow(int id, bool ownWindow, int x, int y, int width, int height,
                                     bool fullScreen) {
    if (id >= 0)
        FrontWindow(static_cast<qulonglong>(id), ownWindow, x, y, width, height, fullScreen);
}

void CompositorReceiver::FrontWindow(qulonglong id, bool ownWindow, int x, int y, int width, int height) {
    FrontWindow(id, ownWindow, x, y, width, height, false);
}

void CompositorReceiver::FrontWindow(int id, bool ownWindow, int x, int y, int width, int height) {
    FrontWindow(id, ownWindow, x, y, width, height, false);
}

void CompositorReceiver::NoFrontWindow() {
    if (fromCompositor())
        CompositorPushes::noFrontWindow(report_);
}

void CompositorReceiver::WorkArea(int x, int y, int width, int height) {
    if (fromCompositor())
        CompositorPushes::workArea(report_, screens_(), x, y, width, height);
}

void CompositorReceiver::Goodbye() {
    if (!fromCompositor())
        return;
    report_ = CompositorReport{};
    helperLive_ = false;
}
