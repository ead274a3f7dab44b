#include "RgnOutline.h"

#include "RgnDataBlock.h"

#include <algorithm>

RgnOutline RgnOutline::unionOf(const std::vector<RgnRect>& rects) {
    std::vector<RgnRect> byTop;
    byTop.reserve(rects.size());
    for (const RgnRect& r : rects)
        if (!r.isEmpty())
            byTop.push_back(r);
    std::sort(byTop.begin(), byTop.end(), [](const RgnRect& a, const RgnRect& b) { return a.top < b.top; });
    // Every top and bottom edge starts a band; inside a band the same
    // rectangles cover every row, so one sorted pass over their spans gives
    // the band's rectangles. Only the rectangles that reach into the band
    // are looked at, so a banded input costs its own size, not its square.
    std::vector<std::int32_t> edges;
    edges.reserve(2 * byTop.size());
    for (const RgnRect& r : byTop) {
        edges.push_back(r.top);
        edges.push_back(r.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    std::vector<RgnRect> banded;
    std::vector<RgnRect> active;
    std::vector<std::pair<std::int32_t, std::int32_t>> spans;
    std::size_t next = 0;
    for (std::size_t e = 0; e + 1 < edges.size(); ++e) {
        const std::int32_t top = edges[e], bottom = edges[e + 1];
        std::erase_if(active, [&](const RgnRect& r) { return r.bottom <= top; });
        for (; next < byTop.size() && byTop[next].top <= top; ++next)
            active.push_back(byTop[next]);
        spans.clear();
        for (const RgnRect& r : active)
            spans.emplace_back(r.left, r.right);
        std::sort(spans.begin(), spans.end());
        for (const auto& [left, right] : spans) {
            if (!banded.empty() && banded.back().top == top && banded.back().right >= left)
                banded.back().right = std::max(banded.back().right, right);
            else
                banded.push_back({left, top, right, bottom});
        }
    }
    RgnOutline outline;
    outline.rects_ = RgnDataBlock::coalesced(banded);
    return outline;
}

RgnOutline RgnOutline::united(const std::vector<const RgnOutline*>& outlines) {
    if (outlines.size() == 1)
        return *outlines.front();
    std::vector<RgnRect> all;
    for (const RgnOutline* outline : outlines)
        all.insert(all.end(), outline->rects_.begin(), outline->rects_.end());
    return unionOf(all);
}

bool RgnOutline::contains(std::int32_t x, std::int32_t y) const {
    // The bands are sorted by their tops and do not overlap, so the band
    // holding y is found by bisection and only its spans are tried.
    auto it = std::upper_bound(rects_.begin(), rects_.end(), y,
                               [](std::int32_t v, const RgnRect& r) { return v < r.bottom; });
    for (; it != rects_.end() && it->top <= y; ++it)
        if (it->contains(x, y))
            return true;
    return false;
}
