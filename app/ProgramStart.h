#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TFrmMain;

// The start-up every toolkit's main() shares; the main() of each toolkit
// (app/qt, app/win32) makes its application and desktop in between, shows
// the mascot window its own way and ends its loop when that window closes.
class ProgramStart {
public:
    // The command line, without the program's name. Prints the help, the
    // version or the refusal, and returns the exit code when the program
    // ends there; nothing when it runs.
    static std::optional<int> handleCommandLine(const std::vector<std::string>& arguments);
    // Once the desktop exists, before anything is shown: one kuvito runs per
    // session. When another already runs, it has been asked to come forward,
    // one line says so, and the exit code (0) is returned; otherwise this
    // program has claimed the session, and the mascot window comes forward
    // when a later start asks.
    static std::optional<int> joinRunningProgram();
    // Once the application and the desktop exist: the language the user
    // reads (the desktop's answer), the error box's title, and the component
    // classes that stored layouts name.
    static void prepareComponents();
    // Once the components are prepared: makes the mascot window from the
    // stored layout, stands it at the screen's top-left corner, keeps it off
    // the taskbar, has showWithoutActivating show it (each toolkit's own way
    // of not taking the keyboard), and offers the menu on the character where
    // there is no notification area. Null when the window could not be made;
    // the error has been shown then.
    static std::unique_ptr<TFrmMain>
    showMascotWindow(const std::vector<std::uint8_t>& layout,
                     const std::function<void(TFrmMain&)>& showWithoutActivating);
};
