#pragma once

#include <cstdint>
#include <memory>

class Picture;

// Works out the outline of the figure in a picture as a region-data block:
// every pixel that differs from the bottom-left pixel (the key) belongs to
// the figure. 1- and 4-bit pictures are converted to 8 bits and compared by
// palette index; 8- and 24-bit pictures are kept; every other format is
// converted to 24 bits. The conversion stays in effect, even after a failure.
//
// Returns the block's size and hands the block out through `buffer`, which is
// touched only on success. Failures are KuvitoErrors: no or an empty picture,
// a width or height of 0, more than the permitted runs in one row (see the
// source for the exact limit), a block too large to describe, and running out
// of memory.
std::int32_t BitmapToRgnData(Picture* picture, std::unique_ptr<std::uint8_t[]>& buffer);
