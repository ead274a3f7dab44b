#pragma once

#include "Raster.h"

#include <cstdint>
#include <vector>

namespace kuvito::art {

// Writes a picture as an uncompressed 24-bit device-independent bitmap file:
// 54 bytes of headers, then the rows bottom first, blue-green-red, each row
// padded with zeros to a multiple of four bytes.
std::vector<std::uint8_t> encodeBmp(const Raster& picture);

} // namespace kuvito::art
