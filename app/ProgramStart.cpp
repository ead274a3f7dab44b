#include "ProgramStart.h"

#include "Captions.h"
#include "CommandLine.h"
#include "DesktopServices.h"
#include "ErrorDisplay.h"
#include "Region.h"
#include "TFrmMain.h"
#include "TTaskTrayIcon.h"

#include <cstdio>

std::optional<int> ProgramStart::handleCommandLine(const std::vector<std::string>& arguments) {
    const CommandLine commandLine = CommandLine::parse(arguments);
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
    return std::nullopt;
}

std::optional<int> ProgramStart::joinRunningProgram() {
    if (desktopProgram().claimSession([] {
            if (FrmMain)
                FrmMain->comeForward();
        }))
        return std::nullopt;
    std::printf("kuvito: already running in this session; it comes to the pointer\n");
    return 0;
}

void ProgramStart::prepareComponents() {
    Captions::useLanguage(desktopProgram().userLanguage());
    ErrorDisplay::setTitle(Captions::text("app.title"));
    registerRegionClasses();
    registerTaskTrayIconClasses();
}

std::unique_ptr<TFrmMain>
ProgramStart::showMascotWindow(const std::vector<std::uint8_t>& layout,
                               const std::function<void(TFrmMain&)>& showWithoutActivating) {
    const bool created = ErrorDisplay::guarded([&layout] { FrmMain = new TFrmMain(nullptr, layout); });
    if (!created || !FrmMain)
        return nullptr;
    std::unique_ptr<TFrmMain> mainWindow(FrmMain);
    // The window is created standing at the screen's top-left corner; the
    // designed position is not used. It must never get a taskbar button, so
    // that is settled before it is first shown.
    mainWindow->setLeft(0);
    mainWindow->setTop(0);
    desktopWindows().hideFromTaskbar(mainWindow->desktopHandle());
    // A pet that appears must not take the keyboard from what the user is
    // working on.
    showWithoutActivating(*mainWindow);
    if (!desktopTray().notificationAreaAvailable())
        mainWindow->offerMenuOnCharacter();
    return mainWindow;
}
