#pragma once

namespace kuvito::art {

// One point of a stroke's spine and the stroke's half-width there.
struct StrokeNode {
    double x = 0.0;
    double y = 0.0;
    double radius = 1.0;
};

} // namespace kuvito::art
