#pragma once

#include "CompositorReport.h"

#include <cstdint>

// What a helper's pushes do to the report, each argument checked first. A
// helper lives in another process and may be old, new or broken, so a call
// whose values no X11 client could use (outside the signed 16-bit range X
// coordinates have, or an empty or negative size) is ignored as a whole and
// the report keeps what it knew. Standard library only.
class CompositorPushes {
public:
    // Each returns false, leaving the report as it was, when it ignores the call.
    static bool pointer(CompositorReport& report, int x, int y);
    static bool frontWindow(CompositorReport& report, std::uint64_t id, bool ownWindow, int x, int y,
                            int width, int height);
    static void noFrontWindow(CompositorReport& report);
    static bool workArea(CompositorReport& report, int x, int y, int width, int height);
};
