#pragma once

// The point and size the Win32 desktop hands to the program, in the
// program's space: the primary monitor's top-left corner at 0, 0, which is
// where Windows keeps it too. Standard library only, so that code that never
// sees Windows can share them.
struct ScreenPoint {
    int x = 0, y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

struct ScreenSize {
    int width = 0, height = 0;
    bool operator==(const ScreenSize&) const = default;
};
