#pragma once

#include <chrono>
#include <cstddef>
#include <string>

// The program's ini (profile) file access: one read or one write per call,
// by path; nothing is held open between calls.
class IniProfile {
public:
    // The value of key in section, or defaultValue when the file, section or
    // key is missing (or the key's line has no '='). The result is cut to
    // bufferSize - 1 bytes, as a caller's buffer of that size would hold it;
    // a bufferSize of 0 gives the empty text. The text is raw: turning it
    // into a number is the caller's business.
    static std::string getPrivateProfileString(const std::string& section, const std::string& key,
                                               const std::string& defaultValue, std::size_t bufferSize,
                                               const std::string& path);

    // Sets key in section to value, creating the file and the section as
    // needed. The file is replaced as a whole (new file beside it, synced,
    // renamed over it), so a crash leaves either the old or the new file,
    // never a mix; its permissions are kept, and a file with several hard
    // links is written in place (IniFile::replace). Reading, changing and
    // replacing happen under the file's IniFileLock, so that writers in
    // other processes never lose each other's keys. Returns false, changing
    // nothing, when the file could not be written in place: its directory
    // is missing or read-only, the file is read-only, the path is a
    // directory, the names or value are not writable (see IniText), or
    // another writer held the lock for all of lockWait.
    static bool writePrivateProfileString(const std::string& section, const std::string& key,
                                          const std::string& value, const std::string& path,
                                          std::chrono::milliseconds lockWait = kLockWait);

    // How long a writer waits for another before its write fails: far longer
    // than any write of a settings file takes, short enough that a stuck
    // holder does not freeze the program that waits.
    static constexpr std::chrono::milliseconds kLockWait{3000};
};
