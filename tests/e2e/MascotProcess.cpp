#include "MascotProcess.h"

#include "Captions.h"
#include "E2eSupport.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>

namespace fs = std::filesystem;

MascotProcess::MascotProcess(VirtualDesktop& desktop, std::optional<std::string> ini) : desktop_(desktop) {
    dir_ = desktop.dir() + "/kuvito-" +
           std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    fs::create_directories(dir_);
    std::string program = dir_ + "/kuvito";
    iniPath_ = dir_ + "/kuvito.ini";
    if (const char* installed = VirtualDesktop::installedProgram()) {
        // Its own folder is not the user's to write: the settings are the
        // user's, as the program looks for them.
        program = installed;
        iniPath_ = desktop.dir() + "/config/kuvito/kuvito.ini";
        fs::create_directories(desktop.dir() + "/config/kuvito");
        fs::remove(iniPath_);
    } else {
        // A development build takes its KWin script from the build tree
        // wherever the program runs from.
        fs::copy_file(KUVITO_EXE, program);
    }
    if (ini) {
        std::ofstream f(iniPath_, std::ios::binary);
        f << *ini;
    }
    desktop.handOver(dir_);
    if (VirtualDesktop::installedProgram())
        desktop.handOver(desktop.dir() + "/config");
    logFile_ = dir_ + "/kuvito.log";
    pid_ = desktop.spawn({program}, logFile_);
}

MascotProcess::MascotProcess(VirtualDesktop& desktop, const std::vector<std::string>& argv,
                             const std::string& logFile)
    : desktop_(desktop), dir_(fs::path(logFile).parent_path().string()), logFile_(logFile) {
    pid_ = desktop.spawn(argv, logFile_);
}

MascotProcess::~MascotProcess() {
    stop();
}

std::string MascotProcess::log() const {
    std::ifstream f(logFile_);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

bool MascotProcess::running() {
    if (pid_ <= 0)
        return false;
    int status;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -pid_; // ended; remember that it did
        if (WIFEXITED(status))
            exitCode_ = WEXITSTATUS(status);
        return false;
    }
    return true;
}

namespace {
// The mascot window's title, in whichever language the program speaks.
bool isProgramTitle(const std::string& name) {
    for (const LanguageTable* table : Captions::tables())
        if (name == Captions::find(*table, "app.title"))
            return true;
    return false;
}
} // namespace

XClient::Window MascotProcess::waitForWindow(XClient& x, int tenthsOfSeconds) {
    for (int i = 0; i < tenthsOfSeconds; ++i) {
        // The tray icon's embedded window carries the same title; the mascot
        // is the one that is not inside the panel and shows a frame (or, a
        // window Qt shows, has the form's size).
        auto icons = trayIcons(x);
        for (auto w : x.windowsOfPid(pid())) {
            if (!x.isViewable(w) || !isProgramTitle(x.name(w)))
                continue;
            if (std::find(icons.begin(), icons.end(), w) != icons.end())
                continue;
            // A notice the program shows carries the same title.
            const auto types = x.atoms(w, "_NET_WM_WINDOW_TYPE");
            if (std::find(types.begin(), types.end(), "_NET_WM_WINDOW_TYPE_DIALOG") != types.end())
                continue;
            auto g = x.geometry(w);
            if (shownFrame(x, w) != 0 || (g.width >= 53 && g.height >= 87))
                return w;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return 0;
}

std::vector<XClient::Window> MascotProcess::trayIcons(XClient& x) {
    std::vector<XClient::Window> out;
    if (desktop_.panelPid() <= 0)
        return out;
    auto panels = x.windowsOfPid(desktop_.panelPid());
    for (auto w : x.windowsOfPid(pid())) {
        auto top = x.topLevel(w);
        for (auto p : panels)
            if (top == x.topLevel(p) && x.isViewable(w))
                out.push_back(w);
    }
    return out;
}

bool MascotProcess::waitForExit(int tenthsOfSeconds) {
    for (int i = 0; i < tenthsOfSeconds; ++i) {
        if (!running())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

std::optional<int> MascotProcess::exitCode() {
    running();
    return exitCode_;
}

void MascotProcess::kill() {
    if (running()) {
        ::kill(pid_, SIGKILL);
        waitForExit(50);
    }
}

void MascotProcess::stop() {
    if (pid_ > 0) {
        desktop_.stopProcess(pid_);
        pid_ = -pid_;
    }
}
