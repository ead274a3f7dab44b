#include "RgnDataBlock.h"

#include <algorithm>
#include <cmath>

namespace {

void put32(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

std::uint32_t get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void putRect(std::uint8_t* p, const RgnRect& r) {
    put32(p, static_cast<std::uint32_t>(r.left));
    put32(p + 4, static_cast<std::uint32_t>(r.top));
    put32(p + 8, static_cast<std::uint32_t>(r.right));
    put32(p + 12, static_cast<std::uint32_t>(r.bottom));
}

// Rounds one transformed coordinate; false when it leaves the supported range.
bool transformCoordinate(std::int32_t v, float scale, float offset, std::int32_t& out) {
    const double t =
        std::floor(static_cast<double>(v) * static_cast<double>(scale) + static_cast<double>(offset) + 0.5);
    if (!(t >= -RgnDataBlock::coordinateLimit && t <= RgnDataBlock::coordinateLimit))
        return false; // also refuses NaN
    out = static_cast<std::int32_t>(t);
    return true;
}

} // namespace

RgnRect RgnDataBlock::bounds(const std::vector<RgnRect>& rects) {
    if (rects.empty())
        return {};
    RgnRect b = rects.front();
    for (const RgnRect& r : rects) {
        b.left = std::min(b.left, r.left);
        b.top = std::min(b.top, r.top);
        b.right = std::max(b.right, r.right);
        b.bottom = std::max(b.bottom, r.bottom);
    }
    return b;
}

void RgnDataBlock::write(const std::vector<RgnRect>& rects, std::uint8_t* out) {
    put32(out, headerSize);
    put32(out + 4, typeRectangles);
    put32(out + 8, static_cast<std::uint32_t>(rects.size()));
    put32(out + 12, static_cast<std::uint32_t>(rects.size() * rectSize));
    putRect(out + 16, bounds(rects));
    std::uint8_t* p = out + headerSize;
    for (const RgnRect& r : rects) {
        putRect(p, r);
        p += rectSize;
    }
}

std::vector<std::uint8_t> RgnDataBlock::build(const std::vector<RgnRect>& rects) {
    std::vector<std::uint8_t> block(blockSize(rects.size()));
    write(rects, block.data());
    return block;
}

std::optional<std::vector<RgnRect>> RgnDataBlock::parse(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < headerSize)
        return std::nullopt;
    if (get32(data) < headerSize || get32(data + 4) != typeRectangles)
        return std::nullopt;
    const std::uint64_t count = get32(data + 8);
    // The count is checked against the bytes really present, in 64 bits so
    // that no multiplication can wrap.
    if (count > (size - headerSize) / rectSize)
        return std::nullopt;
    std::vector<RgnRect> rects;
    rects.reserve(static_cast<std::size_t>(count));
    const std::uint8_t* p = data + headerSize;
    for (std::uint64_t i = 0; i < count; ++i, p += rectSize) {
        RgnRect r{static_cast<std::int32_t>(get32(p)), static_cast<std::int32_t>(get32(p + 4)),
                  static_cast<std::int32_t>(get32(p + 8)), static_cast<std::int32_t>(get32(p + 12))};
        if (!r.isEmpty())
            rects.push_back(r);
    }
    return rects;
}

std::optional<std::vector<RgnRect>> RgnDataBlock::transformed(const std::vector<RgnRect>& rects,
                                                              const RgnTransform& xform) {
    if (xform.eM12 != 0 || xform.eM21 != 0)
        return std::nullopt;
    std::vector<RgnRect> out;
    out.reserve(rects.size());
    for (const RgnRect& r : rects) {
        RgnRect t;
        if (!transformCoordinate(r.left, xform.eM11, xform.eDx, t.left) ||
            !transformCoordinate(r.right, xform.eM11, xform.eDx, t.right) ||
            !transformCoordinate(r.top, xform.eM22, xform.eDy, t.top) ||
            !transformCoordinate(r.bottom, xform.eM22, xform.eDy, t.bottom))
            return std::nullopt;
        // A negative scale mirrors; the corners are put back in order.
        if (t.left > t.right)
            std::swap(t.left, t.right);
        if (t.top > t.bottom)
            std::swap(t.top, t.bottom);
        if (!t.isEmpty())
            out.push_back(t);
    }
    return out;
}

std::vector<RgnRect> RgnDataBlock::coalesced(const std::vector<RgnRect>& banded) {
    std::vector<RgnRect> out;
    out.reserve(banded.size());
    std::size_t previousBand = 0; // index in `out` of the last band's first rectangle
    std::size_t i = 0;
    while (i < banded.size()) {
        const std::int32_t top = banded[i].top, bottom = banded[i].bottom;
        const std::size_t bandStart = out.size();
        for (; i < banded.size() && banded[i].top == top && banded[i].bottom == bottom; ++i) {
            if (out.size() > bandStart && out.back().right >= banded[i].left)
                out.back().right = std::max(out.back().right, banded[i].right);
            else
                out.push_back(banded[i]);
        }
        // Merge with the band above when it ends where this one starts and
        // has the same spans.
        const std::size_t spans = out.size() - bandStart;
        bool same =
            bandStart > previousBand && bandStart - previousBand == spans && out[previousBand].bottom == top;
        for (std::size_t k = 0; same && k < spans; ++k)
            same = out[previousBand + k].left == out[bandStart + k].left &&
                   out[previousBand + k].right == out[bandStart + k].right;
        if (same) {
            for (std::size_t k = 0; k < spans; ++k)
                out[previousBand + k].bottom = bottom;
            out.resize(bandStart);
        } else {
            previousBand = bandStart;
        }
    }
    return out;
}
