#include "CompositorPushes.h"

#include <optional>

namespace {

// X11 positions are signed 16-bit and sizes fit in 15 bits: anything the
// program could place a window against lies within.
constexpr int kLeast = -32768;
constexpr int kMost = 32767;

bool isPosition(int v) {
    return v >= kLeast && v <= kMost;
}

std::optional<ScreenRect> rectFrom(int x, int y, int width, int height) {
    if (!isPosition(x) || !isPosition(y) || width <= 0 || height <= 0 || width > kMost || height > kMost)
        return std::nullopt;
    return ScreenRect{x, y, x + width, y + height};
}

} // namespace

bool CompositorPushes::pointer(CompositorReport& report, int x, int y) {
    if (!isPosition(x) || !isPosition(y))
        return false;
    report.pointer = CompositorReport::Point{x, y};
    return true;
}

bool CompositorPushes::frontWindow(CompositorReport& report, std::uint64_t id, bool ownWindow, int x, int y,
                                   int width, int height) {
    const std::optional<ScreenRect> frame = rectFrom(x, y, width, height);
    if (!frame)
        return false;
    report.frontWindowKnown = true;
    report.frontWindow = CompositorReport::Window{id, *frame, ownWindow};
    return true;
}

void CompositorPushes::noFrontWindow(CompositorReport& report) {
    report.frontWindowKnown = true;
    report.frontWindow.reset();
}

bool CompositorPushes::workArea(CompositorReport& report, int x, int y, int width, int height) {
    const std::optional<ScreenRect> area = rectFrom(x, y, width, height);
    if (!area)
        return false;
    report.workArea = area;
    return true;
}
