#pragma once

// What the cells of the desktop matrix (test_matrix.cpp) share: one desktop
// looked at from outside and driven as its user would, and the program
// started on it.

#include "DesktopDriver.h"
#include "DesktopList.h"
#include "E2eSupport.h"

#include <cstdlib>
#include <string>

constexpr int W = 53, H = 87;
const char* const kMascotTitle = "走れクヴィトくん";
const char* const kSettingsTitle = "走れクヴィトくんの設定";

inline std::string outDir() {
    const char* dir = std::getenv("KUVITO_MATRIX_OUT");
    return dir ? dir : std::string(KUVITO_ARTIFACTS) + "/desktop-matrix";
}

// One table cell: "ok" or "FAIL", then what was measured.
struct Cell {
    bool ok = false;
    std::string measured;
};

// What every cell works with: one desktop, looked at from outside and driven
// as its user would.
struct Bench {
    const DesktopRow& row;
    VirtualDesktop& desktop;
    XClient& x;
    DesktopDriver& driver;
    // The primary monitor, in device pixels.
    int left = 0, right = 0, height = 0;
    bool wayland = false;

    int dev(int logical) const { return static_cast<int>(logical * row.primaryScale() + 0.5); }
    bool is(VirtualDesktop::Session s) const { return row.options.session == s; }
};

// Where the form's corner is, in device pixels. A scaled window's shape
// matches no frame of the artwork at its own size; such a window is the
// form's whole rectangle.
inline XClient::Rect formAt(Bench& b, XClient::Window w) {
    return formRect(b.x, w);
}

inline std::string at(int x, int y) {
    return std::to_string(x) + "," + std::to_string(y);
}

// A pointer step's place.
inline std::string moveTo(int x, int y) {
    return "move " + std::to_string(x) + " " + std::to_string(y);
}

// The notices a Wayland session brings (the modes it limits; no notification
// area where no panel runs): how many showed; they are closed as a user
// would, so that none is taken for the front window. They are asked to close
// as a window manager's close button does, not by a key: on XWayland a key
// xdotool sent reached the program again, as a fresh press, the next time one
// of its windows took the keyboard, and the Escape that closed a notice
// closed the tray menu the moment it opened (Qt's log: a key press, then the
// menu unmapped).
inline int closeNotices(XClient& x, MascotProcess& mascot, XClient::Window mascotWindow) {
    int closed = 0;
    for (int round = 0; round < 3; ++round) {
        XClient::Window notice = 0;
        eventually(
            [&] {
                for (auto w : x.windowsOfPid(mascot.pid()))
                    if (w != mascotWindow && x.isViewable(w) && x.name(w) == kMascotTitle)
                        notice = w;
                return notice != 0;
            },
            round == 0 ? 20 : 5);
        if (!notice)
            break;
        x.requestClose(notice);
        eventually([&] { return !x.isViewable(notice); }, 20);
        ++closed;
    }
    return closed;
}

// The program started with the given settings, its window shown and, on a
// Wayland session, its notices closed.
struct Started {
    MascotProcess mascot;
    XClient::Window window = 0;
    int notices = 0;
    Started(Bench& b, int temae, int mode) : mascot(b.desktop, iniFile(temae, mode, 0, 0)) {
        window = mascot.waitForWindow(b.x);
        if (window && b.wayland)
            notices = closeNotices(b.x, mascot, window);
    }
};

// The cells about the program's own windows (MatrixTrayCells.cpp).
Cell shaped(Bench& b);
Cell tray(Bench& b);

// The full-screen cell (MatrixFullScreenCell.cpp).
Cell fullscreen(Bench& b);
