#include "AutostartStore.h"

#include "AutostartEntry.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace fs = std::filesystem;

namespace {

std::string entryPath() {
    return AutostartEntry::path(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

// The file a path names once links are followed, so that the installed
// program is recognised however it was started (/usr/bin/kuvito, a link to
// it, a relative path).
std::string resolved(const std::string& path) {
    std::error_code error;
    const fs::path real = fs::weakly_canonical(path, error);
    return error ? path : real.string();
}

// The kuvito the session finds on its PATH, the one "Exec=kuvito" starts;
// empty when there is none.
std::string programOnPath() {
    const char* pathVariable = std::getenv("PATH");
    std::string_view rest = pathVariable ? pathVariable : "";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        // An empty or relative element means a folder that changes with
        // the session's current one: never what a login starts.
        if (folder.empty() || folder.front() != '/')
            continue;
        const std::string candidate = std::string(folder) + "/kuvito";
        std::error_code error;
        if (fs::is_regular_file(candidate, error) && ::access(candidate.c_str(), X_OK) == 0)
            return resolved(candidate);
    }
    return {};
}

} // namespace

bool AutostartStore::isOn() {
    return AutostartEntry::exists(entryPath());
}

void AutostartStore::turnOn(const std::string& executablePath) {
    const std::string program = resolved(executablePath);
    AutostartEntry::write(entryPath(), AutostartEntry::text(program, programOnPath()));
}

void AutostartStore::turnOff() {
    AutostartEntry::remove(entryPath());
}
