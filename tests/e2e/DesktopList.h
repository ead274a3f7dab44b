#pragma once

#include "VirtualDesktop.h"

#include <map>
#include <string>
#include <vector>

// One desktop of the matrix as tests/e2e/desktops.conf describes it: how it
// starts and what it offers the program and the test.
struct DesktopRow {
    enum class Tray { XEmbed, Sni, ContextMenu, None };
    enum class Panel { X11, Swaybar, Screen };
    enum class Pointer { XTest, WlPointer, GnomeShell, None };
    enum class Workspaces { Ewmh, I3, Sway, GnomeShell };

    std::string name;
    std::string title;
    VirtualDesktop::Options options;
    Tray tray = Tray::None;
    Panel panel = Panel::Screen;
    Pointer pointer = Pointer::None;
    Workspaces workspaces = Workspaces::Ewmh;
    bool quick = false;
    // The Debian release whose desktop this is; tools/desktop-matrix.sh runs
    // a Debian 13 desktop inside tools/debian13.sh's root.
    int release = 12;
    // The cells that cannot pass on this desktop, with the reason.
    std::map<std::string, std::string> notApplicable;

    // Device pixels per logical pixel on the primary monitor.
    double primaryScale() const;
};

// Reads the list; any line it does not understand throws, naming the line.
// cells are the column names a "not.CELL" key may use.
std::vector<DesktopRow> readDesktopList(const std::string& text, const std::vector<std::string>& cells);
