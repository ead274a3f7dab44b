#include "CompositorReceiver.h"

#include "CompositorPushes.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

std::unique_ptr<CompositorReceiver> CompositorReceiver::open(SessionLimits limits, QDBusConnection bus) {
    if (!bus.isConnected())
        return nullptr;
    std::unique_ptr<CompositorReceiver> receiver(new CompositorReceiver(limits, bus));
    // The object is there before the name is: a helper starts pushing as
    // soon as it sees the name's owner.
    if (!bus.registerObject(QString::fromLatin1(kObjectPath), receiver.get(),
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

void CompositorReceiver::Hello(const QString&, const QString&) {
    // A helper that (re)starts, after the shell restarted or the extension
    // was switched off and on, reports everything again: what an earlier one
    // said may be stale.
    report_ = CompositorReport{};
    helperLive_ = true;
}

void CompositorReceiver::Pointer(int x, int y) {
    CompositorPushes::pointer(report_, x, y);
}

void CompositorReceiver::FrontWindow(qulonglong id, bool ownWindow, int x, int y, int width, int height) {
    CompositorPushes::frontWindow(report_, id, ownWindow, x, y, width, height);
}

void CompositorReceiver::FrontWindow(int id, bool ownWindow, int x, int y, int width, int height) {
    if (id >= 0)
        FrontWindow(static_cast<qulonglong>(id), ownWindow, x, y, width, height);
}

void CompositorReceiver::NoFrontWindow() {
    CompositorPushes::noFrontWindow(report_);
}

void CompositorReceiver::WorkArea(int x, int y, int width, int height) {
    CompositorPushes::workArea(report_, x, y, width, height);
}

void CompositorReceiver::Goodbye() {
    report_ = CompositorReport{};
    helperLive_ = false;
}
