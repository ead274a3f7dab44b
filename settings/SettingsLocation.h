#pragma once

#include <string>

// Where kuvito.ini is read and written. Beside the program when that folder
// can be written (the portable layout: unpack anywhere and run). Otherwise,
// as for a program installed under /usr or under Program Files, the user's
// own file is written (on Linux $XDG_CONFIG_HOME/kuvito/kuvito.ini,
// ~/.config/kuvito/kuvito.ini by default; on Windows
// %APPDATA%\kuvito\kuvito.ini), and read when it exists; before the user's
// first write a kuvito.ini beside the program serves as the system-wide
// default. The choice is shared (SettingsLocation.cpp); what the file system
// says is asked per system (SettingsLocationPosix.cpp,
// SettingsLocationWin32.cpp).
class SettingsLocation {
public:
    // Settles both files for the program at executablePath, from the
    // environment and the file system as they are now.
    static SettingsLocation forProgram(const std::string& executablePath);

    // The file to read; empty when there is none (the built-in defaults).
    const std::string& readFile() const { return readFile_; }
    // The file to write.
    const std::string& writeFile() const { return writeFile_; }
    // True when writeFile is the user's own file, whose folder may have to
    // be created first.
    bool perUser() const { return perUser_; }

    // kuvito.ini in the folder that holds the program.
    static std::string besideProgram(const std::string& executablePath);
    // Linux: $XDG_CONFIG_HOME/kuvito/kuvito.ini, or under $HOME/.config (then
    // the home folder of the user's account) when XDG_CONFIG_HOME is unset,
    // empty or not an absolute path. Windows: kuvito\kuvito.ini in the
    // user's roaming application data (%APPDATA%). Empty when no such folder
    // is known.
    static std::string userFile();
    // Whether settings may be written in the folder: it exists, the user may
    // create files in it, and (Linux) it is not a folder the packaging
    // system owns (/usr, outside /usr/local), which even root must leave
    // alone.
    static bool writableFolder(const std::string& folder);
    // Creates the folders above path that are missing (on Linux private to
    // the user, mode 0700). False when one cannot be created.
    static bool createFoldersFor(const std::string& path);

private:
    // The folder part of a path ("." when it has none).
    static std::string folderOf(const std::string& path);
    // Whether path names an existing ordinary file.
    static bool isFile(const std::string& path);

    std::string readFile_;
    std::string writeFile_;
    bool perUser_ = false;
};
