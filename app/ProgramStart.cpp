#include "ProgramStart.h"

#include "CommandLine.h"
#include "ErrorDisplay.h"
#include "Region.h"
#include "TTaskTrayIcon.h"

#include <cstdio>

namespace {
const char* const kTitle = "走れクヴィトくん";
}

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

void ProgramStart::prepareComponents() {
    ErrorDisplay::setTitle(kTitle);
    registerRegionClasses();
    registerTaskTrayIconClasses();
}
