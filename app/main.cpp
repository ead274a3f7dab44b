#include "Application.h"
#include "CommandLine.h"
#include "ComponentRegistry.h"
#include "DesktopServices.h"
#include "ErrorDisplay.h"
#include "FontSetup.h"
#include "MascotLayout.h"
#include "QtWindowHandle.h"
#include "Region.h"
#include "TFrmMain.h"
#include "TTaskTrayIcon.h"
#include "X11Desktop.h"
#include "XlibBridge.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {
const char* const kTitle = "走れクヴィトくん";
}

int main(int argc, char** argv) {
    const CommandLine commandLine = CommandLine::parse(std::vector<std::string>(argv + 1, argv + argc));
    switch (commandLine.action()) {
    case CommandLine::Action::Help:
        std::fputs(CommandLine::usage().c_str(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::printf("%s\n", CommandLine::versionLine().c_str());
        return 0;
    case CommandLine::Action::Refuse:
        std::fprintf(stderr, "kuvito: %s\n%s", commandLine.error().c_str(), CommandLine::usage().c_str());
        return 2;
    case CommandLine::Action::Run:
        break;
    }
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
    Application application(argc, argv);
    installDesktop(std::make_unique<X11Desktop>());
    ErrorDisplay::setTitle(kTitle);
    FontSetup::install();
    registerRegionClasses();
    registerTaskTrayIconClasses();

    bool created = ErrorDisplay::guarded([] { FrmMain = new TFrmMain(nullptr, MascotLayoutData()); });
    if (!created || !FrmMain)
        return 1;
    std::unique_ptr<TFrmMain> mainWindow(FrmMain);
    // The window is created standing at the screen's top-left corner; the
    // designed position is not used. It must never get a taskbar button, so
    // that is settled before it is first shown.
    mainWindow->setLeft(0);
    mainWindow->setTop(0);
    desktopWindows().hideFromTaskbar(handleOf(*mainWindow));
    // A pet that appears must not take the keyboard from what the user is
    // working on.
    mainWindow->setAttribute(Qt::WA_ShowWithoutActivating);
    mainWindow->show();
    if (!desktopTray().notificationAreaAvailable())
        mainWindow->offerMenuOnCharacter();
    // The program ends with the mascot window and only then. Qt's own rule
    // (quit when the last window closes) does not count the mascot, a tool
    // window, so closing a dialog or an error box would end the program.
    application.setQuitOnLastWindowClosed(false);
    QObject::connect(mainWindow.get(), &QDialog::finished, &application, &QApplication::quit);
    return application.exec();
}
