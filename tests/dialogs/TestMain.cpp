// The dialogs are laid out with the program's own fonts.
#include "FontSetup.h"
#include "TestMainHooks.h"

namespace {
[[maybe_unused]] const bool hooked = registerTestMainHooks(
    [](TestMainHooks& hooks) { hooks.afterApplication = [] { FontSetup::install(); }; });
} // namespace
