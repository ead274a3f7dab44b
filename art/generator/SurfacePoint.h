#pragma once

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

} // namespace kuvito::art
