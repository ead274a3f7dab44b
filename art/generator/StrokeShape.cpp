#include "StrokeShape.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace kuvito::art {

StrokeShape::StrokeShape(std::vector<StrokeNode> nodes) : nodes_(std::move(nodes)) {
    if (nodes_.empty()) {
        throw std::invalid_argument("a stroke needs at least one node");
    }
}

std::optional<SurfacePoint> StrokeShape::sample(Vec2 p) const {
    std::optional<SurfacePoint> best;
    const std::size_t segments = nodes_.size() == 1 ? 1 : nodes_.size() - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        const StrokeNode& a = nodes_[i];
        const StrokeNode& b = nodes_[std::min(i + 1, nodes_.size() - 1)];
        const Vec2 pa{a.x, a.y};
        const Vec2 ab = Vec2{b.x, b.y} - pa;
        const double len2 = ab.dot(ab);
        const double t = len2 > 0.0 ? std::clamp((p - pa).dot(ab) / len2, 0.0, 1.0) : 0.0;
        const double radius = a.radius + (b.radius - a.radius) * t;
        const Vec2 offset = p - (pa + ab * t);
        const double d = offset.length() / radius;
        if (d > 1.0) {
            continue;
        }
        // Where segments overlap, the one whose spine is nearest shapes the
        // surface, so joints bend smoothly instead of showing a seam.
        const double depth = 1.0 - d;
        if (!best || depth > best->depth) {
            const Vec2 n = offset * (1.0 / radius);
            best = SurfacePoint{n.x, n.y, std::sqrt(std::max(0.0, 1.0 - d * d)), depth};
        }
    }
    return best;
}

} // namespace kuvito::art
