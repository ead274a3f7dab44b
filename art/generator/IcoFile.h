#pragma once

#include "IconImage.h"

#include <cstdint>
#include <vector>

namespace kuvito::art {

// Writes a one-entry icon file: a 6-byte header, one 16-byte directory entry
// and a 744-byte image (40-byte header with the doubled height, 16-colour
// palette, 4-bit colour rows, then the 1-bit mask rows, both bottom first).
std::vector<std::uint8_t> encodeIco(const IconImage& icon);

} // namespace kuvito::art
