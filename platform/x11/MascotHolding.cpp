#include "MascotHolding.h"

#include <cctype>

MascotHolding::Kind MascotHolding::onXWayland(const std::string& windowManagerName) {
    std::string lower = windowManagerName;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* mutter : {"mutter", "gnome shell"})
        if (lower.find(mutter) != std::string::npos)
            return UnmanagedWhileOnTopDockBehind;
    if (lower.find("kwin") != std::string::npos)
        return UnmanagedWhileOnTop;
    return Unmanaged;
}
