#include "EllipseShape.h"

#include <cmath>

namespace kuvito::art {

EllipseShape::EllipseShape(Vec2 centre, double rx, double ry, double angleDegrees, double cutBelow)
    : centre_(centre), rx_(rx), ry_(ry), angle_(angleDegrees), cutBelow_(cutBelow) {}

std::optional<SurfacePoint> EllipseShape::sample(Vec2 p) const {
    const Vec2 local = (p - centre_).rotated(-angle_);
    const double u = local.x / rx_;
    const double v = local.y / ry_;
    const double d2 = u * u + v * v;
    if (d2 > 1.0 || v < cutBelow_) {
        return std::nullopt;
    }
    const Vec2 n = Vec2{u, v}.rotated(angle_);
    return SurfacePoint{n.x, n.y, std::sqrt(1.0 - d2), 1.0 - std::sqrt(d2)};
}

} // namespace kuvito::art
