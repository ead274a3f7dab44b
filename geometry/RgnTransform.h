#pragma once

// The transform record used when a region is created from a block: a scale
// (eM11, eM22), a shear (eM12, eM21, unsupported and expected to be zero) and
// an offset (eDx, eDy), each a 32-bit floating-point value.
struct RgnTransform {
    float eM11 = 1, eM12 = 0, eM21 = 0, eM22 = 1, eDx = 0, eDy = 0;
};
