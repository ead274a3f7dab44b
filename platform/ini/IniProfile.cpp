#include "IniProfile.h"

#include "IniText.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Settings files are tiny; anything far larger is not one of ours and is
// not worth reading into memory.
constexpr std::uintmax_t kMaxFileSize = 64u * 1024u * 1024u;

std::optional<std::string> readRegularFile(const fs::path& path) {
    std::error_code ec;
    // Only regular files: reading a FIFO or a device could block forever.
    if (!fs::is_regular_file(path, ec) || fs::file_size(path, ec) > kMaxFileSize || ec)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return std::move(buffer).str();
}

// "Writable in place" the way a user understands it: write permission in
// the mode bits (which even root must have here, since root ignores them
// otherwise) and, for other users, the kernel's own verdict.
bool writable(const fs::path& path, const struct stat& st, int extraAccess = 0) {
    return (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK | extraAccess) == 0;
}

bool writeAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A new file beside the target with a name nobody else uses; the mode is
// 0666 less the umask, as a freshly created settings file would get.
int createTemporary(const fs::path& target, fs::path& tempPath) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target;
        tempPath += ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

void syncDirectory(const fs::path& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::string IniProfile::getPrivateProfileString(const std::string& section, const std::string& key,
                                                const std::string& defaultValue, std::size_t bufferSize,
                                                const std::string& path) {
    std::string result = defaultValue;
    if (const std::optional<std::string> content = readRegularFile(path))
        if (std::optional<std::string> value = IniText::findValue(*content, section, key))
            result = std::move(*value);
    if (bufferSize == 0)
        return {};
    if (result.size() > bufferSize - 1)
        result.resize(bufferSize - 1);
    return result;
}

bool IniProfile::writePrivateProfileString(const std::string& section, const std::string& key,
                                           const std::string& value, const std::string& path) {
    if (path.empty())
        return false;
    fs::path target(path);
    std::error_code ec;
    // Replacing a symbolic link would cut it; write the file it points to.
    if (fs::is_symlink(target, ec)) {
        target = fs::canonical(target, ec);
        if (ec)
            return false;
    }

    std::string content;
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode) || !writable(target, old))
            return false;
        std::optional<std::string> read = readRegularFile(target);
        if (!read)
            return false;
        content = std::move(*read);
    } else if (errno != ENOENT) {
        return false;
    }

    fs::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";
    struct stat dirStat {};
    if (::stat(dir.c_str(), &dirStat) != 0 || !S_ISDIR(dirStat.st_mode) || !writable(dir, dirStat, X_OK))
        return false;

    const std::optional<std::string> updated = IniText::withValue(content, section, key, value);
    if (!updated)
        return false;
    if (exists && *updated == content)
        return true;

    fs::path tempPath;
    const int fd = createTemporary(target, tempPath);
    if (fd < 0)
        return false;
    bool ok = true;
    if (exists) {
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
        // Only root can hand the file back to its owner; others keep theirs.
        if (ok && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) [[maybe_unused]]
            int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    }
    ok = ok && writeAll(fd, *updated) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;

    // The file may have been made read-only while we were writing.
    if (ok && exists) {
        struct stat now {};
        ok = ::stat(target.c_str(), &now) == 0 && S_ISREG(now.st_mode) && writable(target, now);
    }
    if (ok)
        ok = ::rename(tempPath.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tempPath.c_str());
        return false;
    }
    syncDirectory(dir);
    return true;
}
