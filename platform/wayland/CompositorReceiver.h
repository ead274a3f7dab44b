#pragma once

#include "CompositorFeed.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QtDBus/qtdbusglobal.h>

#include <memory>

// The program's end of the compositor helpers' D-Bus contract: owns the
// name org.example.kuvito on the session bus and exports
// /org/example/kuvito/Compositor with org.example.kuvito.Compositor1, whose
// one-way methods a helper inside the compositor (the GNOME Shell extension,
// the KWin script) calls as things change. Each call only checks its
// arguments (CompositorPushes) and updates the report in memory: nothing
// here waits for a helper, and a helper waits for no reply.
class CompositorReceiver : public QObject, public CompositorFeed {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.example.kuvito.Compositor1")

public:
    static constexpr const char* kServiceName = "org.example.kuvito";
    static constexpr const char* kObjectPath = "/org/example/kuvito/Compositor";

    // Null when there is no session bus or the name has another owner
    // (another kuvito runs in the session). limits: what the session keeps
    // from the program while the helper reports. bus: the session bus, or
    // a test's own.
    static std::unique_ptr<CompositorReceiver> open(SessionLimits limits,
                                                    QDBusConnection bus = QDBusConnection::sessionBus());
    ~CompositorReceiver() override;

    const CompositorReport& report() const override { return report_; }
    SessionLimits limits() const override { return limits_; }
    // Whether a helper has said Hello.
    bool helperLive() const { return helperLive_; }

    // The D-Bus methods, named as the interface names them.
public slots:
    Q_SCRIPTABLE Q_NOREPLY void Hello(const QString& helper, const QString& version);
    Q_SCRIPTABLE Q_NOREPLY void Pointer(int x, int y);
    Q_SCRIPTABLE Q_NOREPLY void FrontWindow(qulonglong id, bool ownWindow, int x, int y, int width,
                                            int height);
    // The same from a KWin script, whose numbers reach D-Bus as 32-bit
    // integers (KWin's callDBus has no way to send a 64-bit one).
    Q_SCRIPTABLE Q_NOREPLY void FrontWindow(int id, bool ownWindow, int x, int y, int width, int height);
    Q_SCRIPTABLE Q_NOREPLY void NoFrontWindow();
    Q_SCRIPTABLE Q_NOREPLY void WorkArea(int x, int y, int width, int height);
    // The helper stops reporting (the extension was switched off): what it
    // said goes stale at once, so the program falls back on what the X
    // server tells until a helper says Hello again.
    Q_SCRIPTABLE Q_NOREPLY void Goodbye();

private:
    CompositorReceiver(SessionLimits limits, QDBusConnection bus) : bus_(std::move(bus)), limits_(limits) {}

    QDBusConnection bus_;
    CompositorReport report_;
    SessionLimits limits_;
    bool helperLive_ = false;
};
