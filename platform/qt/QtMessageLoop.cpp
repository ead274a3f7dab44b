#include "QtMessageLoop.h"

#include <QApplication>

class QtMessageLoop::GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override {
        // Qt itself never sees an exception: each one ends here, is shown,
        // and the event counts as not handled.
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            MessageLoop::handleException(std::current_exception());
            return false;
        }
    }
};

QtMessageLoop::QtMessageLoop(int& argc, char** argv)
    : application_(std::make_unique<GuardedApplication>(argc, argv)) {
    // The program ends when it says so and only then. Qt's own rule (quit
    // when the last window closes) does not count the mascot, a tool
    // window, so closing a dialog or an error box would end the program.
    application_->setQuitOnLastWindowClosed(false);
}

QtMessageLoop::~QtMessageLoop() = default;

int QtMessageLoop::run() {
    return QApplication::exec();
}

void QtMessageLoop::quit(int exitCode) {
    QCoreApplication::exit(exitCode);
}
