// The receiver as a helper reaches it: over a bus of the test's own, by the
// contract's name, path and interface, with one-way calls; what it makes of
// the calls it must ignore, and a second program that finds the name taken.

#include "CompositorReceiver.h"

#include <QCoreApplication>
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
    QDBusConnection connect(const QString& name) const {
        return QDBusConnection::connectToBus(address_, name);
    }
    bool up() const { return !address_.isEmpty(); }

private:
    QProcess process_;
    QString address_;
};

void push(QDBusConnection& helper, const char* method, const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(CompositorReceiver::kServiceName),
                                                       QString::fromLatin1(CompositorReceiver::kObjectPath),
                                                       QStringLiteral("org.example.kuvito.Compositor1"),
                                                       QString::fromLatin1(method));
    call.setArguments(arguments);
    call.setAutoStartService(false);
    ASSERT_TRUE(helper.send(call)) << method; // sends and returns, as a helper does
}

TEST(CompositorReceiver, TakesTheHelpersPushesOverTheBusAndIgnoresWhatNoX11ClientCouldUse) {
    PrivateBus bus;
    if (!bus.up())
        GTEST_SKIP() << "no dbus-daemon";
    std::unique_ptr<CompositorReceiver> receiver =
        CompositorReceiver::open(SessionLimits{}, bus.connect(QStringLiteral("program")));
    ASSERT_TRUE(receiver);
    EXPECT_FALSE(CompositorReceiver::open(SessionLimits{}, bus.connect(QStringLiteral("second program"))))
        << "a second program must find the name taken";

    QDBusConnection helper = bus.connect(QStringLiteral("helper"));
    push(helper, "Hello", {QStringLiteral("gnome-shell"), QStringLiteral("1")});
    push(helper, "FrontWindow", {qulonglong(1) << 40, true, 400, 400, 190, 157});
    push(helper, "FrontWindow", {qulonglong(7), false, 0, 0, -5, 10}); // ignored
    push(helper, "WorkArea", {0, 32, 1024, 736});
    push(helper, "WorkArea", {0, 32, 0, 736});                           // ignored
    push(helper, "Pointer", {QStringLiteral("x"), QStringLiteral("y")}); // no such method
    push(helper, "Pointer", {40000, 5});                                 // ignored
    push(helper, "Pointer", {700, 500}); // the last: everything before it has arrived with it

    for (int i = 0; i < 1000 && !receiver->report().pointer; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    CompositorReport expected;
    expected.pointer = CompositorReport::Point{700, 500};
    expected.frontWindowKnown = true;
    expected.frontWindow = CompositorReport::Window{qulonglong(1) << 40, {400, 400, 590, 557}, true};
    expected.workArea = ScreenRect{0, 32, 1024, 768};
    EXPECT_EQ(receiver->report(), expected);
    EXPECT_TRUE(receiver->helperLive());

    // A helper switched off takes everything it said with it.
    push(helper, "Goodbye", {});
    for (int i = 0; i < 1000 && receiver->helperLive(); ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    EXPECT_FALSE(receiver->helperLive());
    EXPECT_EQ(receiver->report(), CompositorReport{});
}

} // namespace
