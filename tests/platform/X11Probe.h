#pragma once

#include <QPoint>
#include <QRect>

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
    std::uintptr_t activeWindow();
    // The window manager's frame: the ancestor that is a child of the root.
    std::optional<QRect> frameRect(std::uintptr_t window);
    // Dock windows' rectangles.
    std::vector<QRect> docks();
    bool leftButtonDown();

private:
    void* display_ = nullptr;
};
