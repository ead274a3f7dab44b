// The program on Linux: Qt's application over the X11 desktop.
#include "Application.h"
#include "DesktopServices.h"
#include "FontSetup.h"
#include "MascotLayout.h"
#include "ProgramStart.h"
#include "QtMessageLoop.h"
#include "TFrmMain.h"
#include "X11Desktop.h"
#include "XlibBridge.h"

#include <QDialog>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (const auto exitCode =
            ProgramStart::handleCommandLine(std::vector<std::string>(argv + 1, argv + argc)))
        return *exitCode;
    // The mascot places and shapes X windows, which a Wayland session does
    // not allow its own clients: there it runs through XWayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    // Qt aborts with a core dump when it cannot reach the X server, so the
    // connection is tried first and a failure explained in one line.
    if (qgetenv("QT_QPA_PLATFORM").startsWith("xcb")) {
        if (const auto refusal = XlibBridge::displayRefusal()) {
            const QByteArray display = qgetenv("DISPLAY");
            std::string which =
                display.isEmpty() ? "(DISPLAY is not set)" : "\"" + display.toStdString() + "\"";
            if (!refusal->empty())
                which += " (" + *refusal + ")";
            std::fprintf(
                stderr,
                "kuvito: cannot open the display %s; kuvito needs an X11 desktop (X.Org or XWayland)\n",
                which.c_str());
            return 1;
        }
    }
    // Qt's own event dispatcher wakes less often than the GLib one, which
    // matters to a program that ticks all day.
    if (qEnvironmentVariableIsEmpty("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
    Application application(std::make_unique<QtMessageLoop>(argc, argv));
    installDesktop(std::make_unique<X11Desktop>());
    if (const auto exitCode = ProgramStart::joinRunningProgram())
        return *exitCode;
    FontSetup::install();
    ProgramStart::prepareComponents();

    const std::unique_ptr<TFrmMain> mainWindow =
        ProgramStart::showMascotWindow(MascotLayoutData(), [](TFrmMain& window) {
            window.setAttribute(Qt::WA_ShowWithoutActivating);
            window.show();
        });
    if (!mainWindow)
        return 1;
    // The program ends with the mascot window and only then.
    QObject::connect(mainWindow.get(), &QDialog::finished, [&application] { application.quit(0); });
    return application.exec();
}
