#include "IniFileLock.h"

#include <cerrno>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A waiter tries the lock this often; flock() with a time limit does not
// exist, and a blocked call could not be given up.
constexpr std::chrono::microseconds kPoll{500};
// flock() queues no one, so a writer that has just released pauses longer
// than a poll before it may lock again: one writing in a loop would
// otherwise take the lock back every time before the waiter looks.
constexpr std::chrono::microseconds kTurn{1500};

// Another user sharing the folder may own the lock file and let others
// only read it, which flock() accepts as well.
int openLockFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd >= 0 || errno != EACCES)
        return fd;
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
}

// Whether the locked descriptor still is the file under the lock's name: the
// writer before may have removed it on release while we waited on it.
bool stillNamed(int fd, const std::string& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

} // namespace

IniFileLock::IniFileLock(const std::string& filePath, std::chrono::milliseconds wait)
    : lockPath_(filePath + ".lock") {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const int fd = openLockFile(lockPath_);
        if (fd < 0)
            return;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (stillNamed(fd, lockPath_)) {
                handle_ = fd;
                return;
            }
            ::close(fd);
            continue;
        }
        const bool busy = errno == EWOULDBLOCK || errno == EINTR;
        ::close(fd);
        if (!busy || std::chrono::steady_clock::now() >= deadline)
            return;
        std::this_thread::sleep_for(kPoll);
    }
}

IniFileLock::~IniFileLock() {
    if (!held())
        return;
    // Removed while still held, so that nobody locks the name in between;
    // a waiter that opened it sees it gone and opens the next one.
    ::unlink(lockPath_.c_str());
    ::close(static_cast<int>(handle_));
    std::this_thread::sleep_for(kTurn);
}
