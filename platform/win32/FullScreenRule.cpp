#include "FullScreenRule.h"

namespace {

bool covers(const ScreenRect& outer, const ScreenRect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

bool isEmpty(const ScreenRect& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

} // namespace

std::optional<ScreenRect> FullScreenRule::filledMonitor(const Front& front) {
    if (front.minimised || isEmpty(front.monitor))
        return std::nullopt;
    if (covers(front.client, front.monitor))
        return front.monitor;
    if (front.shellSaysFullScreen && !front.maximised && covers(front.frame, front.monitor))
        return front.monitor;
    return std::nullopt;
}
