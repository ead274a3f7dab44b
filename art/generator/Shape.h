#pragma once

#include "Vec2.h"

#include <optional>

namespace kuvito::art {

// What a shape reports for a point inside it: the surface normal of the
// rounded solid it stands for (z toward the viewer) and how far in from its
// rim the point lies, 0 at the rim and 1 on its spine.
struct SurfacePoint {
    double nx = 0.0;
    double ny = 0.0;
    double nz = 1.0;
    double depth = 1.0;
};

// A closed 2-D region of the picture that also knows how its surface bulges,
// so that parts can be lit as rounded bodies rather than flat fills.
class Shape {
public:
    virtual ~Shape() = default;
    virtual std::optional<SurfacePoint> sample(Vec2 p) const = 0;
};

} // namespace kuvito::art
