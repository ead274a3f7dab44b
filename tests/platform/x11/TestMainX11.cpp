// The X11 desktop's tests need the real display; without one (listing the
// tests at build time, or a run outside the virtual desktop) Qt still needs a
// platform, and every test then skips.
#include "TestMainHooks.h"

namespace {
[[maybe_unused]] const bool hooked =
    registerTestMainHooks([](TestMainHooks& hooks) { hooks.wantsDisplay = true; });
} // namespace
