#pragma once

#include "CompositorFeed.h"
#include "ProgramIdentity.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QtDBus/qtdbusglobal.h>

#include <functional>
#include <memory>

class QDBusServiceWatcher;

// The program's end of the compositor helpers' D-Bus contract: owns the
// program's bus name (ProgramIdentity::kAppId) on the session bus and
// exports ProgramIdentity::kObjectPath with kCompositorInterface, whose
// one-way methods a helper inside the compositor (the GNOME Shell extension,
// the KWin script) calls as things change. Each call only checks its
// arguments (CompositorPushes) and updates the report in memory: nothing
// here waits for a helper, and a helper waits for no reply.
//
// Any program on the session bus can send to any name, so a call counts
// only when it comes from the connection that owns the compositor's own
// well-known name (org.gnome.Shell, org.kde.KWin), as the bus daemon tells
// the sender: a helper runs inside the compositor's process and speaks
// over its connection. Calls from anyone else are dropped unanswered and
// change nothing. When the compositor's name changes hands (the shell
// restarted), what the old owner said goes with it.
class CompositorReceiver : public QObject, protected QDBusContext, public CompositorFeed {
    Q_OBJECT

public:
    static constexpr const char* kServiceName = ProgramIdentity::kAppId;
    static constexpr const char* kObjectPath = ProgramIdentity::kObjectPath;
    static constexpr const char* kInterface = ProgramIdentity::kCompositorInterface;

    // The rectangle that holds every monitor, in the compositor's pixels;
    // asked at each push, since monitors come and go.
    using Screens = std::function<ScreenRect()>;

    // Null when there is no session bus or the name has another owner
    // (another kuvito runs in the session). limits: what the session keeps
    // from the program while the helper reports. compositor: the
    // compositor's well-known name, whose owner alone is heard. bus: the
    // session bus, or a test's own.
    static std::unique_ptr<CompositorReceiver> open(SessionLimits limits, const QString& compositor,
                                                    Screens screens,
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
                                            int height, bool fullScreen);
    // The same from a KWin script, whose numbers reach D-Bus as 32-bit
    // integers (KWin's callDBus has no way to send a 64-bit one).
    Q_SCRIPTABLE Q_NOREPLY void FrontWindow(int id, bool ownWindow, int x, int y, int width, int height,
                                            bool fullScreen);
    // Both as helpers installed by versions that did not tell full screen
    // send them: the window counts as not full screen.
    Q_SCRIPTABLE Q_NOREPLY void FrontWindow(qulonglong id, bool ownWindow, int x, int y, int width,
                                            int height);
    Q_SCRIPTABLE Q_NOREPLY void FrontWindow(int id, bool ownWindow, int x, int y, int width, int height);
    Q_SCRIPTABLE Q_NOREPLY void NoFrontWindow();
    Q_SCRIPTABLE Q_NOREPLY void WorkArea(int x, int y, int width, int height);
    // The helper stops reporting (the extension was switched off): what it
    // said goes stale at once, so the program falls back on what the X
    // server tells until a helper says Hello again.
    Q_SCRIPTABLE Q_NOREPLY void Goodbye();

private:
    CompositorReceiver(SessionLimits limits, Screens screens, QDBusConnection bus);

    // Whether the call being delivered comes from the compositor; when it
    // does not, it is marked as answered later, which it never is.
    bool fromCompositor();
    void compositorOwnerChanged(const QString& owner);

    QDBusConnection bus_;
    Screens screens_;
    std::unique_ptr<QDBusServiceWatcher> watcher_;
    QString compositorOwner_; // its unique connection name; empty while it has none
    CompositorReport report_;
    SessionLimits limits_;
    bool helperLive_ = false;
};
