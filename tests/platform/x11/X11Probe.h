#pragma once

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QRgb>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// An independent look at the X server, on a connection of its own, to check
// what the desktop code did without asking that code. Xlib stays inside
// X11Probe.cpp.
class X11Probe {
public:
    X11Probe();
    ~X11Probe();
    X11Probe(const X11Probe&) = delete;
    X11Probe& operator=(const X11Probe&) = delete;

    bool connected() const { return display_ != nullptr; }
    std::vector<std::string> wmStates(std::uintptr_t window);
    bool hasWmState(std::uintptr_t window, const std::string& state);
    // Asks the window manager to add or remove a state, as a pager does.
    void requestWmState(std::uintptr_t window, bool on, const std::string& state);
    std::uintptr_t activeWindow();
    // The window manager's frame: the ancestor that is a child of the root.
    std::optional<QRect> frameRect(std::uintptr_t window);
    // Dock windows' rectangles.
    std::vector<QRect> docks();
    bool leftButtonDown();
    // A window the window manager manages whose _NET_WM_NAME is the name; 0
    // when there is none.
    std::uintptr_t clientNamed(const std::string& name);
    // Whether the window manager put the window on every workspace
    // (_NET_WM_DESKTOP "all"), and whether it shows on the current one.
    bool onEveryWorkspace(std::uintptr_t window);
    bool viewable(std::uintptr_t window);
    // Whether the window is out of the window manager's hands.
    bool overrideRedirect(std::uintptr_t window);
    // How often the window was unmapped since the last call (counted from
    // the first call on).
    int unmapsSince(std::uintptr_t window);
    // The window's _NET_WM_WINDOW_TYPE entries.
    std::vector<std::string> windowTypes(std::uintptr_t window);
    // The window's bounding shape in its own coordinates.
    QRegion shape(std::uintptr_t window);
    // The colour on screen at a point of the window.
    std::optional<QRgb> pixel(std::uintptr_t window, QPoint at);

private:
    void* display_ = nullptr;
};
