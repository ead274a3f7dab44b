// The same floor inside a Qt Widgets event loop: Qt's own X connection and
// its event thread are there (as in any Qt program), the pet draws on a
// connection of its own whose descriptor Qt's loop watches.
//
//   floor_qt [period-ms [step]]
#include "FloorPet.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <exception>
#include <memory>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int period = args.size() > 1 ? args[1].toInt() : 50;
    const int step = args.size() > 2 ? args[2].toInt() : 10;
    if (period <= 0 || step <= 0) {
        std::fprintf(stderr, "usage: floor_qt [period-ms [step]]\n");
        return 2;
    }
    std::unique_ptr<FloorPet> pet;
    try {
        pet = std::make_unique<FloorPet>(KUVITO_ART_DIR, step);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "floor_qt: %s\n", e.what());
        return 1;
    }
    QSocketNotifier events(pet->fd(), QSocketNotifier::Read);
    QObject::connect(&events, &QSocketNotifier::activated, [&] { pet->drainEvents(); });
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        pet->tick();
        // The pointer reply may have brought events along; they are in
        // Xlib's queue now, where the notifier cannot see them.
        pet->drainEvents();
    });
    timer.start(period);
    return app.exec();
}
