#include "HelperFileCheck.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace {

// Why one file or folder is not safe, or empty.
std::string unsafe(const std::string& path, const struct stat& info, unsigned user) {
    if (info.st_uid != 0 && info.st_uid != user)
        return path + " belongs to another user";
    // In a sticky folder (/tmp, /var/tmp) others may add entries but not
    // rename or remove those of root or the user, and the entry below is
    // checked on its own.
    const bool sticky = S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX);
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) && !sticky)
        return path + " may be written by others";
    return {};
}

} // namespace

std::string HelperFileCheck::refusal(const std::string& path, unsigned user) {
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved))
        return path + ": " + std::strerror(errno);
    std::string at = resolved;
    struct stat info {};
    if (stat(at.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return at + " is not a file";
    // The file, then each folder above it, the root last.
    for (;;) {
        if (stat(at.c_str(), &info) != 0)
            return at + ": " + std::strerror(errno);
        if (std::string why = unsafe(at, info, user); !why.empty())
            return why;
        if (at == "/")
            return {};
        const std::string::size_type slash = at.rfind('/');
        at = slash == 0 ? std::string("/") : at.substr(0, slash);
    }
}
