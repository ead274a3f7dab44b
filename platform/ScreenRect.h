#pragma once

// A rectangle as the desktop reports it: right and bottom exclusive.
struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const ScreenRect&) const = default;
};
