#include "SettingsLocation.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kFileName = "kuvito.ini";

std::string absoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    if (!value || value[0] != '/')
        return {};
    return value;
}

std::string homeFolder() {
    std::string home = absoluteEnv("HOME");
    if (!home.empty())
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && entry->pw_dir[0] == '/')
        return entry->pw_dir;
    return {};
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

std::string SettingsLocation::folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool SettingsLocation::isFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string SettingsLocation::besideProgram(const std::string& executablePath) {
    const std::size_t slash = executablePath.find_last_of('/');
    if (slash == std::string::npos)
        return kFileName;
    return executablePath.substr(0, slash + 1) + kFileName;
}

std::string SettingsLocation::userFile() {
    std::string base = absoluteEnv("XDG_CONFIG_HOME");
    if (base.empty()) {
        const std::string home = homeFolder();
        if (home.empty())
            return {};
        base = (home == "/" ? "" : home) + "/.config";
    }
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return (base == "/" ? "" : base) + "/kuvito/" + kFileName;
}

bool SettingsLocation::writableFolder(const std::string& folder) {
    const std::string slashed = folder.back() == '/' ? folder : folder + "/";
    if (startsWith(slashed, "/usr/") && !startsWith(slashed, "/usr/local/"))
        return false;
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool SettingsLocation::createFoldersFor(const std::string& path) {
    const std::string folder = folderOf(path);
    for (std::size_t at = 1; at <= folder.size(); ++at) {
        if (at != folder.size() && folder[at] != '/')
            continue;
        const std::string part = folder.substr(0, at);
        // A folder that is already there (EEXIST, or a parent the user may
        // only pass through) is fine; the final test below tells.
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST && errno != EACCES)
            return false;
    }
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
