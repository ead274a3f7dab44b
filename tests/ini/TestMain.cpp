// The ini tests run this program again as the writers they kill or race.
#include "TestMainHooks.h"

#include <cstring>
#include <string>

int runIniWriterChild(const std::string& path, std::size_t size);
int runIniKeyWriterChild(const std::string& path, const std::string& prefix, int count);

namespace {
[[maybe_unused]] const bool hooked = registerTestMainHooks([](TestMainHooks& hooks) {
    hooks.takeOver = [](int argc, char** argv) -> std::optional<int> {
        if (argc == 4 && std::strcmp(argv[1], "--ini-writer-child") == 0)
            return runIniWriterChild(argv[2], std::stoul(argv[3]));
        if (argc == 5 && std::strcmp(argv[1], "--ini-key-writer-child") == 0)
            return runIniKeyWriterChild(argv[2], argv[3], std::stoi(argv[4]));
        return std::nullopt;
    };
});
} // namespace
