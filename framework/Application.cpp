#include "Application.h"

#include "ErrorDisplay.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    // Qt itself never sees an exception: each one ends here, is shown, and
    // the event counts as not handled.
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ErrorDisplay::showException(std::current_exception());
        return false;
    }
}
