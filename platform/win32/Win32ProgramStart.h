#pragma once

#include <string>
#include <vector>

// What kuvito.exe's main() asks Windows before the program proper starts.
class Win32ProgramStart {
public:
    // The program's arguments, without its own name, as UTF-8: Windows
    // hands a program one UTF-16 command line, split here by Windows' own
    // rules (CommandLineToArgvW: quotes, backslashes before quotes).
    static std::vector<std::string> arguments();
    static std::vector<std::string> argumentsOf(const std::wstring& commandLine);

    // Whether this process can show windows to a user: its window station
    // is the interactive one. A service (session 0) has none, and a program
    // started there would wait for clicks nobody can give; it replaces the
    // missing display of X11.
    static bool interactiveSession();

    // A GUI program has no console of its own, so --help and --version would
    // print nowhere. When the standard output leads nowhere, it is attached
    // to the console of the program that started this one (cmd.exe,
    // PowerShell), in UTF-8; output already redirected to a file or a pipe,
    // and a program started from Explorer, are left alone.
    static void useParentConsole();
};
