#pragma once

#include "Rgb.h"

#include <optional>

namespace kuvito::art {

// How a part is coloured. A surface facing the viewer gets the mid-tone;
// turning toward the light (upper left) it goes to the light tone, turning
// away it goes to the shadow tone, and a shiny part adds a white highlight.
struct Material {
    Rgb shadow;
    Rgb mid;
    Rgb light;
    double specular = 0.0;
    double shininess = 24.0;
    // The line drawn along this part's edge where it lies over a part of
    // another group behind it, so that overlapping limbs stay readable.
    std::optional<Rgb> outline;
    // Greater than zero for a blush-like part: it fades into the part below
    // it over this fraction of its radius instead of having a hard edge.
    double softness = 0.0;
    double opacity = 1.0;
};

} // namespace kuvito::art
