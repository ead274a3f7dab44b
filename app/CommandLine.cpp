#include "CommandLine.h"

// KUVITO_VERSION is the project's version, handed in by the build.

CommandLine CommandLine::parse(const std::vector<std::string>& arguments) {
    CommandLine result;
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            result.action_ = Action::Help;
        } else if (argument == "--version" || argument == "-V") {
            // Help wins when both are given, as it says more.
            if (result.action_ != Action::Help)
                result.action_ = Action::Version;
        } else {
            result.action_ = Action::Refuse;
            result.error_ =
                (argument.size() > 1 && argument[0] == '-' ? "unknown option '" : "unexpected argument '") +
                argument + "'";
            return result;
        }
    }
    return result;
}

std::string CommandLine::usage() {
    return "Usage: kuvito [--help | --version]\n"
           "A small green mascot that runs about the X11 desktop. Its settings, its\n"
           "about box and its exit are in the menu of its icon in the notification\n"
           "area (right-click it).\n"
           "\n"
           "  -h, --help     print this help and exit\n"
           "  -V, --version  print the version and exit\n"
           "\n"
           "Settings are kept in kuvito.ini beside the program when that folder can be\n"
           "written, otherwise in $XDG_CONFIG_HOME/kuvito/kuvito.ini\n"
           "(~/.config/kuvito/kuvito.ini). See kuvito(6).\n";
}

std::string CommandLine::versionLine() {
    return std::string("kuvito ") + KUVITO_VERSION;
}
