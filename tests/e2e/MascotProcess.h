#pragma once

#include "VirtualDesktop.h"
#include "XClient.h"

#include <optional>
#include <string>
#include <vector>

// The real kuvito program, copied into a folder of its own on a virtual
// desktop so that its kuvito.ini (which lies beside the executable) belongs
// to the test. Where the desktop runs the installed program
// (VirtualDesktop::installedProgram), that program runs as it lies, and its
// kuvito.ini is the one in the desktop user's own folder.
class MascotProcess {
public:
    // ini: the settings file's content, or nothing for no file.
    MascotProcess(VirtualDesktop& desktop, std::optional<std::string> ini = std::nullopt);
    // A program already in place: argv starts it (possibly through a
    // wrapper that execs it, so the process id stays the program's), and
    // its output goes to logFile.
    MascotProcess(VirtualDesktop& desktop, const std::vector<std::string>& argv, const std::string& logFile);
    ~MascotProcess();

    int pid() const { return pid_ < 0 ? -pid_ : pid_; }
    const std::string& iniPath() const { return iniPath_; }
    std::string log() const;
    bool running();
    // Waits for the mascot window to be mapped; 0 when it never appears.
    XClient::Window waitForWindow(XClient& x, int tenthsOfSeconds = 100);
    // The program's windows embedded into the panel (its tray icon).
    std::vector<XClient::Window> trayIcons(XClient& x);
    // Waits for the process to end by itself.
    bool waitForExit(int tenthsOfSeconds);
    // The code it ended with by itself; nothing while it runs or when a
    // signal ended it.
    std::optional<int> exitCode();
    // Ends it as a crash would (SIGKILL) and waits for it.
    void kill();
    void stop();

private:
    VirtualDesktop& desktop_;
    std::string dir_;
    std::string logFile_;
    std::string iniPath_;
    int pid_ = 0;
    std::optional<int> exitCode_;
};
