// The receiver as a helper reaches it: over a bus of the test's own, by the
// contract's name, path and interface, with one-way calls; what it makes of
// the calls it must ignore, calls from anyone but the compositor, the
// compositor's name changing hands, and a second program that finds the
// name taken.

#include "CompositorReceiver.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// A private bus daemon, stopped with the test.
class PrivateBus {
public:
    PrivateBus() {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            return;
        process_.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                QStringLiteral("--print-address")});
        if (process_.waitForReadyRead(10000))
            address_ = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~PrivateBus() {
        process_.terminate();
        process_.waitForFinished(5000);
    }
    // Qt keeps a connection by its name: each bus has names of its own.
    QDBusConnection connect(const QString& name) const {
        return QDBusConnection::connectToBus(address_, name + QLatin1Char(' ') + address_);
    }
    bool up() const { return !address_.isEmpty(); }

private:
    QProcess process_;
    QString address_;
};

QDBusMessage call(const char* method, const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(CompositorReceiver::kServiceName),
                                                       QString::fromLatin1(CompositorReceiver::kObjectPath),
                                                       QString::fromLatin1(CompositorReceiver::kInterface),
                                                       QString::fromLatin1(method));
    call.setArguments(arguments);
    call.setAutoStartService(false);
    return call;
}

void push(QDBusConnection& helper, const char* method, const QVariantList& arguments) {
    ASSERT_TRUE(helper.send(call(method, arguments))) << method; // sends and returns, as a helper does
}

template <typename Condition> void waitFor(Condition condition) {
    for (int i = 0; i < 1000 && !condition(); ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
}

const QString kCompositor = QStringLiteral("org.gnome.Shell");
constexpr ScreenRect kScreens{0, 0, 1024, 768};

// The program's receiver, and the compositor's connection owning its name.
struct Session {
    PrivateBus bus;
    std::unique_ptr<CompositorReceiver> receiver;
    QDBusConnection shell = bus.connect(QStringLiteral("shell"));

    Session() {
        if (!bus.up())
            return;
        shell.registerService(kCompositor);
        receiver = CompositorReceiver::open(
            SessionLimits{}, kCompositor, [] { return kScreens; }, bus.connect(QStringLiteral("program")));
    }
};

CompositorReport everythingKnown() {
    CompositorReport expected;
    expected.pointer = CompositorReport::Point{700, 500};
    expected.frontWindowKnown = true;
    expected.frontWindow = CompositorReport::Window{qulonglong(1) << 40, {400, 400, 590, 557}, true};
    expected.workArea = ScreenRect{0, 32, 1024, 768};
    return expected;
}

void tellEverything(QDBusConnection& shell) {
    push(shell, "Hello", {QStringLiteral("gnome-shell"), QStringLiteral("1")});
    push(shell, "FrontWindow", {qulonglong(1) << 40, true, 400, 400, 190, 157});
    push(shell, "WorkArea", {0, 32, 1024, 736});
    push(shell, "Pointer", {700, 500});
}

TEST(CompositorReceiver, TakesTheCompositorsPushesOverTheBusAndIgnoresWhatItCannotUse) {
    Session s;
    if (!s.bus.up())
        GTEST_SKIP() << "no dbus-daemon";
    ASSERT_TRUE(s.receiver);
    EXPECT_FALSE(CompositorReceiver::open(
        SessionLimits{}, kCompositor, [] { return kScreens; },
        s.bus.connect(QStringLiteral("second program"))))
        << "a second program must find the name taken";

    tellEverything(s.shell);
    push(s.shell, "FrontWindow", {qulonglong(7), false, -32768, -32768, -1, -1}); // ignored
    push(s.shell, "WorkArea", {32767, 32767, 65534, 65534});                      // ignored
    push(s.shell, "Pointer", {QStringLiteral("x"), QStringLiteral("y")});         // no such method
    push(s.shell, "Pointer", {32767, -32768});                                    // ignored
    // KWin's script sends 32-bit ids, which are never negative.
    push(s.shell, "FrontWindow", {0, false, 10, 10, 50, 50});
    push(s.shell, "FrontWindow", {-1, true, 20, 20, 50, 50}); // ignored
    push(s.shell, "Pointer", {701, 500}); // the last: everything before it has arrived with it
    waitFor([&] { return s.receiver->report().pointer && s.receiver->report().pointer->x == 701; });
    CompositorReport expected = everythingKnown();
    expected.pointer->x = 701;
    expected.frontWindow = CompositorReport::Window{0, {10, 10, 60, 60}, false};
    EXPECT_EQ(s.receiver->report(), expected);
    EXPECT_TRUE(s.receiver->helperLive());

    // Later helpers add whether the front window is full screen.
    push(s.shell, "FrontWindow", {9, false, 0, 0, 1024, 768, true});
    waitFor([&] { return s.receiver->report().frontWindow->id == 9; });
    EXPECT_EQ(s.receiver->report().frontWindow,
              (CompositorReport::Window{9, {0, 0, 1024, 768}, false, true}));

    // A helper switched off takes everything it said with it.
    push(s.shell, "Goodbye", {});
    waitFor([&] { return !s.receiver->helperLive(); });
    EXPECT_FALSE(s.receiver->helperLive());
    EXPECT_EQ(s.receiver->report(), CompositorReport{});

    // The name goes with the receiver.
    s.receiver.reset();
    EXPECT_TRUE(CompositorReceiver::open(
        SessionLimits{}, kCompositor, [] { return kScreens; },
        s.bus.connect(QStringLiteral("third program"))));
}

TEST(CompositorReceiver, HearsOnlyTheConnectionThatOwnsTheCompositorsName) {
    Session s;
    if (!s.bus.up())
        GTEST_SKIP() << "no dbus-daemon";
    ASSERT_TRUE(s.receiver);
    tellEverything(s.shell);
    waitFor([&] { return s.receiver->report().pointer.has_value(); });

    // Another program of the user's, forging every call there is.
    QDBusConnection stranger = s.bus.connect(QStringLiteral("stranger"));
    push(stranger, "Pointer", {10, 10});
    push(stranger, "FrontWindow", {qulonglong(3), false, 0, 0, 50, 50});
    push(stranger, "FrontWindow", {3, false, 0, 0, 50, 50});
    push(stranger, "WorkArea", {0, 0, 100, 100});
    push(stranger, "Hello", {QStringLiteral("gnome-shell"), QStringLiteral("1")});
    push(stranger, "NoFrontWindow", {});
    push(stranger, "Goodbye", {});
    // A call that waits for an answer gets none.
    const QDBusMessage answer = stranger.call(call("Pointer", {20, 20}), QDBus::Block, 300);
    EXPECT_EQ(answer.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(answer.errorName(), QStringLiteral("org.freedesktop.DBus.Error.NoReply"));
    // The stranger's calls all reached the program before this one did.
    push(s.shell, "WorkArea", {0, 32, 1024, 735});
    waitFor([&] { return s.receiver->report().workArea->bottom == 767; });
    CompositorReport expected = everythingKnown();
    expected.workArea->bottom = 767;
    EXPECT_EQ(s.receiver->report(), expected);
    EXPECT_TRUE(s.receiver->helperLive());

    // The shell restarts: the name changes hands, what the old owner said
    // goes, and only the new owner is heard.
    s.shell.unregisterService(kCompositor);
    QDBusConnection newShell = s.bus.connect(QStringLiteral("new shell"));
    ASSERT_TRUE(newShell.registerService(kCompositor));
    waitFor([&] { return !s.receiver->helperLive(); });
    EXPECT_EQ(s.receiver->report(), CompositorReport{});
    push(s.shell, "Pointer", {1, 1});
    push(s.shell, "Hello", {QStringLiteral("gnome-shell"), QStringLiteral("1")});
    s.shell.interface()->serviceOwner(kCompositor); // the old owner's calls are through
    push(newShell, "Pointer", {2, 2});
    waitFor([&] { return s.receiver->report().pointer.has_value(); });
    CompositorReport fromNewShell;
    fromNewShell.pointer = CompositorReport::Point{2, 2};
    EXPECT_EQ(s.receiver->report(), fromNewShell);
    EXPECT_FALSE(s.receiver->helperLive());
}

} // namespace
