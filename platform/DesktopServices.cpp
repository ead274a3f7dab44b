#include "DesktopServices.h"

#include "KuvitoError.h"

namespace {
// One desktop per process; main() or a test fixture installs it before any
// window exists, and the user-interface thread is the only one that asks.
std::unique_ptr<DesktopServices>& installed() {
    static std::unique_ptr<DesktopServices> services;
    return services;
}
} // namespace

DesktopServices& desktop() {
    auto& services = installed();
    if (!services)
        throw KuvitoError("desktop services are not installed");
    return *services;
}

void installDesktop(std::unique_ptr<DesktopServices> services) {
    // The old desktop is destroyed only after the new one is in place, so
    // that anything its destructor asks of desktop() finds a live one.
    std::unique_ptr<DesktopServices> old = std::move(installed());
    installed() = std::move(services);
    old.reset();
}

DesktopWindows& desktopWindows() {
    return desktop();
}

DesktopQueries& desktopQueries() {
    return desktop();
}

DesktopLoops& desktopLoops() {
    return desktop();
}

DesktopTimers& desktopTimers() {
    return desktop();
}

DesktopTray& desktopTray() {
    return desktop();
}

DesktopProgram& desktopProgram() {
    return desktop();
}
