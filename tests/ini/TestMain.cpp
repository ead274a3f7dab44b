// The ini crash test runs this program again as the writer it kills.
#include "TestMainHooks.h"

#include <cstring>
#include <string>

int runIniWriterChild(const std::string& path, std::size_t size);

namespace {
[[maybe_unused]] const bool hooked = registerTestMainHooks([](TestMainHooks& hooks) {
    hooks.takeOver = [](int argc, char** argv) -> std::optional<int> {
        if (argc == 4 && std::strcmp(argv[1], "--ini-writer-child") == 0)
            return runIniWriterChild(argv[2], std::stoul(argv[3]));
        return std::nullopt;
    };
});
} // namespace
