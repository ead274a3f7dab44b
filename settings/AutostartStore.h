#pragma once

#include <string>

// Whether the session starts kuvito at login, kept where the system itself
// looks: on Linux the desktop entry $XDG_CONFIG_HOME/autostart/kuvito.desktop
// (AutostartEntry), on Windows the value "kuvito" under the user's
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run. Nothing
// is cached: every answer is the system's as it is now, since the user may
// add or remove the entry by hand at any time. Each system has its own file
// (AutostartStorePosix.cpp, AutostartStoreWin32.cpp), chosen by CMake.
class AutostartStore {
public:
    // True when the entry is there.
    static bool isOn();
    // Puts the entry there for the program at executablePath, replacing one
    // there. Raises KuvitoError with the message for the user when it cannot.
    static void turnOn(const std::string& executablePath);
    // Takes the entry away; one that is not there is not an error. Raises
    // KuvitoError with the message for the user when it stays.
    static void turnOff();
};
