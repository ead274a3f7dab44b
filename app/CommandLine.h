#pragma once

#include <string>
#include <vector>

// What the command line asks of the program. kuvito takes no arguments in
// its ordinary use; it answers --help and --version without touching the
// display, and refuses anything else before the desktop is reached.
class CommandLine {
public:
    enum class Action { Run, Help, Version, Refuse };

    // Reads the arguments after the program's name.
    static CommandLine parse(const std::vector<std::string>& arguments);

    Action action() const { return action_; }
    // For Refuse: the one-line error, without the program's name.
    const std::string& error() const { return error_; }

    // The text --help prints, in the system's own words
    // (CommandLineUsagePosix.cpp, CommandLineUsageWin32.cpp); ends with a
    // newline.
    static std::string usage();
    // "kuvito <version>", as --version prints it, without the newline.
    static std::string versionLine();

private:
    Action action_ = Action::Run;
    std::string error_;
};
