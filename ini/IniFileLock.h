#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// One writer of a settings file at a time, across processes: an advisory
// lock held from reading the file to replacing it, so that two programs
// writing different keys never lose one another's change. The lock is taken
// on a file of its own beside the settings file (its name and ".lock"),
// since the settings file is replaced by a new one under its name and a lock
// on the old one would guard nothing. The lock file is removed on release; a
// writer that dies loses its lock with the process (IniFileLockPosix.cpp,
// IniFileLockWin32.cpp).
class IniFileLock {
public:
    // Waits up to `wait` for the lock of the file at `filePath`.
    IniFileLock(const std::string& filePath, std::chrono::milliseconds wait);
    ~IniFileLock();
    IniFileLock(const IniFileLock&) = delete;
    IniFileLock& operator=(const IniFileLock&) = delete;

    // False when the wait ran out or no lock file could be made (a folder
    // that takes no new file cannot take the new settings file either).
    bool held() const { return handle_ != kNone; }

private:
    static constexpr std::intptr_t kNone = -1;
    std::string lockPath_;
    // The open lock file: a descriptor or a handle, by system.
    std::intptr_t handle_ = kNone;
};
