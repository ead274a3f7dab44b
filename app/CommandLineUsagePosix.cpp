#include "CommandLine.h"

// The help as Linux prints it.
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
