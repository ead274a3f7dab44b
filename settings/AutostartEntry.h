#pragma once

#include <string>

// The desktop's own autostart entry for the program on Linux: a desktop entry
// in $XDG_CONFIG_HOME/autostart that the session starts at login. The
// standard library and the file system only.
class AutostartEntry {
public:
    // Where the entry lies: $XDG_CONFIG_HOME/autostart/kuvito.desktop, with
    // ~/.config when XDG_CONFIG_HOME is unset, empty or not absolute (as the
    // base directory rules say). Null and empty mean unset.
    static std::string path(const char* xdgConfigHome, const char* home);
    // The entry's text for the running program: Exec names it by its path,
    // quoted and escaped as desktop entries require, or as "kuvito" when it
    // is the installed program found on the PATH. Name has the English
    // caption and a Name[code] for every other language.
    static std::string text(const std::string& executable, const std::string& installedExecutable);

    static bool exists(const std::string& entryPath);
    // Writes the entry (and the folders above it), replacing one there.
    // Raises KuvitoError when it cannot.
    static void write(const std::string& entryPath, const std::string& entryText);
    // Removes the entry; one that is not there is not an error. Raises
    // KuvitoError when it stays.
    static void remove(const std::string& entryPath);
};
