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

std::string CommandLine::versionLine() {
    return std::string("kuvito ") + KUVITO_VERSION;
}
