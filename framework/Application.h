#pragma once

#include <QApplication>

// The program's application object: an exception leaving any event handler
// is caught here, shown by ErrorDisplay, and the message loop goes on.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
