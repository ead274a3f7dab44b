#pragma once

#include "Shape.h"

namespace kuvito::art {

// A turned ellipse lit as a half ellipsoid. An optional cut keeps only the
// part below a chord, which gives the flat top of an open mouth.
class EllipseShape : public Shape {
public:
    EllipseShape(Vec2 centre, double rx, double ry, double angleDegrees = 0.0, double cutBelow = -2.0);
    std::optional<SurfacePoint> sample(Vec2 p) const override;

private:
    Vec2 centre_;
    double rx_;
    double ry_;
    double angle_;
    double cutBelow_;
};

} // namespace kuvito::art
