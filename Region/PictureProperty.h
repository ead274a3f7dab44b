#pragma once

#include "FormValue.h"
#include "Picture.h"

// A picture as a stored layout holds it under "<Property>.Data": a 32-bit
// little-endian byte count followed by that many bytes of a complete bitmap
// file.
class PictureProperty {
public:
    // Throws KuvitoError when the value is not binary, its count does not
    // match its bytes, or the bitmap file is malformed. An empty value gives
    // an empty picture.
    static Picture read(const FormValue& value);
    static FormValue write(const Picture& picture);
};
