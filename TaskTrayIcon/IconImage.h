#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "IconHandle.h"

// An .ico file decoded into the toolkit's own icon, which the desktop shows
// in the notification area. Each toolkit has its own decoder (qt/, win32/).
class IconImage {
public:
    virtual ~IconImage() = default;

    // Null when the bytes are not an icon the toolkit can decode.
    static std::unique_ptr<const IconImage> decode(const std::vector<std::uint8_t>& bytes);

    // Valid while this image lives.
    virtual IconHandle handle() const = 0;
};
