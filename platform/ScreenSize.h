#pragma once

// The size of a screen or window, in pixels.
struct ScreenSize {
    int width = 0, height = 0;
    bool operator==(const ScreenSize&) const = default;
};
