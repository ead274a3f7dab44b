#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "Picture.h"

// Design time for the mascot window: creates its components in design mode
// with every designed property, hands each frame its picture (so that the
// frame works out its outline there and then) and writes the form data the
// program loads at start-up. Needs a QApplication and an installed desktop.
class MascotLayoutBuilder {
public:
    // frames[0] is Rgn1's picture, frames[5] Rgn6's; icoFile is the icon
    // file for the tray icon.
    static std::vector<std::uint8_t> build(const std::array<Picture, 6>& frames,
                                           const std::vector<std::uint8_t>& icoFile);
};
