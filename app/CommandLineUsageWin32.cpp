#include "CommandLine.h"

// The help as kuvito.exe prints it, in the console of the program that
// started it.
std::string CommandLine::usage() {
    return "Usage: kuvito.exe [--help | --version]\n"
           "A small green mascot that runs about the Windows desktop. Its settings, its\n"
           "about box and its exit are in the menu of its icon in the notification\n"
           "area (right-click it).\n"
           "\n"
           "  -h, --help     print this help and exit\n"
           "  -V, --version  print the version and exit\n"
           "\n"
           "Settings are kept in kuvito.ini beside kuvito.exe when that folder can be\n"
           "written, otherwise in %APPDATA%\\kuvito\\kuvito.ini.\n";
}
