#pragma once

#include <optional>
#include <string>
#include <vector>

// The start-up every toolkit's main() shares; the main() of each toolkit
// (app/qt, app/win32) makes its application and desktop in between.
class ProgramStart {
public:
    // The command line, without the program's name. Prints the help, the
    // version or the refusal, and returns the exit code when the program
    // ends there; nothing when it runs.
    static std::optional<int> handleCommandLine(const std::vector<std::string>& arguments);
    // Once the application and the desktop exist: the error box's title, and
    // the component classes that stored layouts name.
    static void prepareComponents();
};
