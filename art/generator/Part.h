#pragma once

#include "Material.h"
#include "Shape.h"

#include <memory>

namespace kuvito::art {

// One piece of the figure. Parts are listed back to front. A part with a
// host is a marking (eye, pupil, cheek, mouth): it never widens the figure
// and shows only where its host is the visible part.
struct Part {
    std::shared_ptr<const Shape> shape;
    Material material;
    int group = 0;
    int host = -1;
};

} // namespace kuvito::art
