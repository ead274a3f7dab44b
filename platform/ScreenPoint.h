#pragma once

// A point on the desktop, in the pixels the desktop's positions count in.
struct ScreenPoint {
    int x = 0, y = 0;
    bool operator==(const ScreenPoint&) const = default;
};
