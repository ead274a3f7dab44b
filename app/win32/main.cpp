// The program on Windows: Windows' own message loop over the Win32 desktop.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "Application.h"
#include "DesktopServices.h"
#include "MascotLayout.h"
#include "ProgramStart.h"
#include "TFrmMain.h"
#include "Win32Desktop.h"
#include "Win32MessageLoop.h"
#include "Win32ProgramStart.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // A GUI program has no console: --help and --version go to the one it
    // was started from.
    Win32ProgramStart::useParentConsole();
    if (const auto exitCode = ProgramStart::handleCommandLine(Win32ProgramStart::arguments()))
        return *exitCode;
    // What stands for a missing display on Windows: a process without an
    // interactive window station (a service) shows nobody its windows.
    if (!Win32ProgramStart::interactiveSession()) {
        std::fprintf(stderr, "kuvito: this session shows no windows; kuvito needs an interactive desktop\n");
        return 1;
    }
    Application application(std::make_unique<Win32MessageLoop>());
    installDesktop(std::make_unique<Win32Desktop>());
    if (const auto exitCode = ProgramStart::joinRunningProgram())
        return *exitCode;
    ProgramStart::prepareComponents();

    const std::unique_ptr<TFrmMain> mainWindow =
        ProgramStart::showMascotWindow(MascotLayoutData(), [](TFrmMain& window) {
            ::ShowWindow(reinterpret_cast<HWND>(window.desktopHandle().id), SW_SHOWNOACTIVATE);
        });
    if (!mainWindow)
        return 1;
    // The program ends with the mascot window and only then.
    mainWindow->whenClosed([&application] { application.quit(0); });
    return application.exec();
}
