#pragma once

#include "Raster.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kuvito::art {

constexpr int frameWidth = 53;
constexpr int frameHeight = 87;

// The six frames in order Rgn1 to Rgn6: the two in-place frames, the two
// heading left, and the left ones mirrored for heading right.
std::array<Raster, 6> drawFrames();

// Every file the art set consists of, by file name, in the exact bytes that
// are checked in.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> artFiles();

// Writes artFiles() into a folder, which must exist.
void writeArtSet(const std::filesystem::path& folder);

} // namespace kuvito::art
