#pragma once

#include <cstdint>

// One of the program's own top-level windows as the desktop knows it: the
// native window's id (an X window, an HWND), opaque to everything else. The
// value 0 is no window.
struct WindowHandle {
    std::uintptr_t id = 0;
    bool operator==(const WindowHandle&) const = default;
};
