#include "IniFile.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

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

fs::path folderOf(const fs::path& target) {
    const fs::path dir = target.parent_path();
    return dir.empty() ? fs::path(".") : dir;
}

void syncDirectory(const fs::path& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The content written over the file's own, then cut to its length.
bool writeInPlace(const fs::path& path, const std::string& content) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool ok =
        writeAll(fd, content) && ::ftruncate(fd, static_cast<off_t>(content.size())) == 0 && ::fsync(fd) == 0;
    return (::close(fd) == 0) && ok;
}

} // namespace

std::optional<std::string> IniFile::read(const std::string& path) {
    std::error_code ec;
    // Only regular files: reading a FIFO or a device could block forever.
    if (!fs::is_regular_file(path, ec) || fs::file_size(path, ec) > maxSize || ec)
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

std::string IniFile::writePath(const std::string& path) {
    std::error_code ec;
    // Replacing a symbolic link would cut it; write the file it points to.
    if (fs::is_symlink(path, ec)) {
        const fs::path target = fs::canonical(path, ec);
        // A dangling link is written as itself, and refused as a path that
        // cannot be replaced.
        return ec ? path : target.string();
    }
    return path;
}

std::optional<IniFile::Target> IniFile::writableTarget(const std::string& path) {
    const fs::path target(writePath(path));
    std::error_code ec;
    if (fs::is_symlink(target, ec))
        return std::nullopt;
    Target result{target.string(), false, {}};
    struct stat old {};
    result.exists = ::stat(target.c_str(), &old) == 0;
    if (result.exists) {
        if (!S_ISREG(old.st_mode) || !writable(target, old))
            return std::nullopt;
        std::optional<std::string> content = read(result.path);
        if (!content)
            return std::nullopt;
        result.content = std::move(*content);
    } else if (errno != ENOENT) {
        return std::nullopt;
    }
    const fs::path dir = folderOf(target);
    struct stat dirStat {};
    if (::stat(dir.c_str(), &dirStat) != 0 || !S_ISDIR(dirStat.st_mode) || !writable(dir, dirStat, X_OK))
        return std::nullopt;
    return result;
}

bool IniFile::replace(const Target& target, const std::string& content) {
    const fs::path path(target.path);
    struct stat old {};
    if (target.exists && ::stat(path.c_str(), &old) != 0)
        return false;
    if (target.exists && old.st_nlink > 1)
        return writeInPlace(path, content);

    fs::path tempPath;
    const int fd = createTemporary(path, tempPath);
    if (fd < 0)
        return false;
    bool ok = true;
    if (target.exists) {
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
        // Only root can hand the file back to its owner; others keep theirs.
        if (ok && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) [[maybe_unused]]
            int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    }
    ok = ok && writeAll(fd, content) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;

    // The file may have been made read-only while we were writing.
    if (ok && target.exists) {
        struct stat now {};
        ok = ::stat(path.c_str(), &now) == 0 && S_ISREG(now.st_mode) && writable(path, now);
    }
    if (ok)
        ok = ::rename(tempPath.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(tempPath.c_str());
        return false;
    }
    syncDirectory(folderOf(path));
    return true;
}
