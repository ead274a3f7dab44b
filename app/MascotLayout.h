#pragma once

#include <cstdint>
#include <vector>

// The mascot window's stored layout, built from the artwork when the program
// is built (tools/layoutbuilder) and carried inside the executable, so that
// start-up reads ready-made outlines and never scans pixels.
const std::vector<std::uint8_t>& MascotLayoutData();
