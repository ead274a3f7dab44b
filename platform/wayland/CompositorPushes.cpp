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

bool overlaps(const ScreenRect& a, const ScreenRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool inside(const ScreenRect& inner, const ScreenRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

} // namespace

bool CompositorPushes::pointer(CompositorReport& report, const ScreenRect& screens, int x, int y) {
    if (x < screens.left || x >= screens.right || y < screens.top || y >= screens.bottom)
        return false;
    report.pointer = CompositorReport::Point{x, y};
    return true;
}

bool CompositorPushes::frontWindow(CompositorReport& report, const ScreenRect& screens, std::uint64_t id,
                                   bool ownWindow, int x, int y, int width, int height, bool fullScreen) {
    // A window may hang over a monitor's edge, but one wholly off them is
    // nothing the character could stand on.
    const std::optional<ScreenRect> frame = rectFrom(x, y, width, height);
    if (!frame || !overlaps(*frame, screens))
        return false;
    report.frontWindowKnown = true;
    report.frontWindow = CompositorReport::Window{id, *frame, ownWindow, fullScreen};
    return true;
}

void CompositorPushes::noFrontWindow(CompositorReport& report) {
    report.frontWindowKnown = true;
    report.frontWindow.reset();
}

bool CompositorPushes::workArea(CompositorReport& report, const ScreenRect& screens, int x, int y, int width,
                                int height) {
    const std::optional<ScreenRect> area = rectFrom(x, y, width, height);
    if (!area || !inside(*area, screens))
        return false;
    report.workArea = area;
    return true;
}
