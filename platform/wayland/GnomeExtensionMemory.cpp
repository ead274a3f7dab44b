#include "GnomeExtensionMemory.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

std::string GnomeExtensionMemory::defaultPath() {
    const char* state = std::getenv("XDG_STATE_HOME");
    std::string folder;
    if (state && *state == '/')
        folder = state;
    else if (const char* home = std::getenv("HOME"); home && *home)
        folder = std::string(home) + "/.local/state";
    else
        return {};
    return folder + "/kuvito/gnome-shell-extension";
}

bool GnomeExtensionMemory::has(const std::string& fact) const {
    std::ifstream in(path_);
    for (std::string line; std::getline(in, line);)
        if (line == fact)
            return true;
    return false;
}

bool GnomeExtensionMemory::add(const std::string& fact) {
    if (path_.empty())
        return false;
    if (has(fact))
        return true;
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ignored);
    std::ofstream out(path_, std::ios::app);
    out << fact << '\n';
    out.flush();
    return static_cast<bool>(out);
}
