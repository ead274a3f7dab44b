#pragma once

#include "Vec2.h"

namespace kuvito::art {

// A foot: an ellipse at the end of a leg, lengthened in the walking direction.
struct Foot {
    Vec2 centre;
    double rx = 5.0;
    double ry = 2.8;
    double angle = 0.0;
};

} // namespace kuvito::art
