#pragma once

#include <cstdint>

// An icon as the desktop knows it: an HICON on Windows, the toolkit's icon
// object on the Qt desktops; opaque to everything else. The value 0 is no
// icon. Whoever hands one over keeps it alive for the duration of the call.
struct IconHandle {
    std::uintptr_t id = 0;
    bool operator==(const IconHandle&) const = default;
};
