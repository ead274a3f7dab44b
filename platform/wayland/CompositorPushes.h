#pragma once

#include "CompositorReport.h"

#include <cstdint>

// What a helper's pushes do to the report, each argument checked first. A
// helper lives in another process and may be old, new or broken, so a call
// whose values the program could not use is ignored as a whole and the
// report keeps what it knew: a pointer off every monitor, an empty or
// negative rectangle, a window that no monitor shows any of, a work area
// that reaches beyond the monitors, or anything outside the signed 16-bit
// range X coordinates have. Nothing is clamped: a value that is wrong
// says nothing about where the right one would be. screens: the rectangle
// that holds every monitor, in the compositor's pixels. Standard library
// only.
class CompositorPushes {
public:
    // Each returns false, leaving the report as it was, when it ignores the call.
    static bool pointer(CompositorReport& report, const ScreenRect& screens, int x, int y);
    static bool frontWindow(CompositorReport& report, const ScreenRect& screens, std::uint64_t id,
                            bool ownWindow, int x, int y, int width, int height, bool fullScreen = false);
    static void noFrontWindow(CompositorReport& report);
    static bool workArea(CompositorReport& report, const ScreenRect& screens, int x, int y, int width,
                         int height);
};
