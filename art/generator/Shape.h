#pragma once

#include "SurfacePoint.h"
#include "Vec2.h"

#include <optional>

namespace kuvito::art {

// A closed 2-D region of the picture that also knows how its surface bulges,
// so that parts can be lit as rounded bodies rather than flat fills.
class Shape {
public:
    virtual ~Shape() = default;
    virtual std::optional<SurfacePoint> sample(Vec2 p) const = 0;
};

} // namespace kuvito::art
