#pragma once

#include "IconImage.h"

namespace kuvito::art {

// Draws the character's head for the 32 x 32, 16-colour icon. With only the
// standard palette to work with, shading is two greens with a dithered
// seam, and the pink cheeks are a dither of magenta and white.
class IconPainter {
public:
    IconImage paint() const;
};

} // namespace kuvito::art
