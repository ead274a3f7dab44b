// The framework's tests run inside the program's own application object,
// whose message loop catches what an event handler throws.
#include "Application.h"
#include "QtMessageLoop.h"
#include "TestMainHooks.h"

namespace {
[[maybe_unused]] const bool hooked = registerTestMainHooks([](TestMainHooks& hooks) {
    hooks.makeApplication = [](int& argc, char** argv) {
        return std::make_shared<Application>(std::make_unique<QtMessageLoop>(argc, argv));
    };
});
} // namespace
