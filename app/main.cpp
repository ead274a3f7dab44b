#include "Application.h"
#include "ComponentRegistry.h"
#include "DesktopServices.h"
#include "ErrorDisplay.h"
#include "FontSetup.h"
#include "MascotLayout.h"
#include "Region.h"
#include "TFrmMain.h"
#include "TTaskTrayIcon.h"
#include "X11Desktop.h"

#include <memory>

namespace {
const char* const kTitle = "走れクヴィトくん";
}

int main(int argc, char** argv) {
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
    desktop().hideFromTaskbar(*mainWindow);
    // A pet that appears must not take the keyboard from what the user is
    // working on.
    mainWindow->setAttribute(Qt::WA_ShowWithoutActivating);
    mainWindow->show();
    if (!desktop().notificationAreaAvailable())
        mainWindow->OfferMenuOnCharacter();
    // The program ends with the mascot window and only then. Qt's own rule
    // (quit when the last window closes) does not count the mascot, a tool
    // window, so closing a dialog or an error box would end the program.
    application.setQuitOnLastWindowClosed(false);
    QObject::connect(mainWindow.get(), &QDialog::finished, &application, &QApplication::quit);
    return application.exec();
}
