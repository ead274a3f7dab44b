#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Looks at a desktop from outside, as any X client can: windows by process,
// their shapes, states and positions. Xlib stays inside XClient.cpp.
class XClient {
public:
    struct Rect {
        int x = 0, y = 0, width = 0, height = 0;
    };
    using Window = unsigned long;

    explicit XClient(const std::string& display);
    ~XClient();
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    // Every window whose _NET_WM_PID is pid.
    std::vector<Window> windowsOfPid(int pid);
    bool isViewable(Window w);
    std::string name(Window w); // _NET_WM_NAME, else WM_NAME
    // Position on the root window and size.
    Rect geometry(Window w);
    // The bounding shape in window coordinates; the whole window when it has none.
    std::vector<Rect> shape(Window w);
    std::set<std::pair<int, int>> shapePixels(Window w);
    std::vector<std::string> netWmState(Window w);
    // The names of the atoms an ATOM property lists (_NET_WM_WINDOW_TYPE, ...).
    std::vector<std::string> atoms(Window w, const std::string& property);
    bool hasState(Window w, const std::string& atom);
    std::optional<Window> activeWindow();
    // The window with the keyboard (X's input focus); 0 for none or the
    // pointer's root.
    Window inputFocus();
    std::vector<Window> clientList();
    // The first ancestor below the root (the window manager's frame), or w.
    Window topLevel(Window w);
    Window parentOf(Window w);
    // The root window's children, bottom first.
    std::vector<Window> stackingOrder();
    bool isOverrideRedirect(Window w);
    // Asks the window to close, as a window manager's close button does
    // (WM_DELETE_WINDOW), without a key that XWayland would press again later.
    void requestClose(Window w);
    void sync();

private:
    struct Impl;
    Impl* impl_;
};
