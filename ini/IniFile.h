#pragma once

#include <optional>
#include <string>

// The file side of the ini profile: reading a settings file and replacing it
// as a whole. One implementation per system (IniFilePosix.cpp,
// IniFileWin32.cpp), chosen by the build; paths are UTF-8 on both.
class IniFile {
public:
    // Settings files are tiny; anything far larger is not one of ours and is
    // not worth reading into memory.
    static constexpr unsigned long long maxSize = 64ull * 1024 * 1024;

    // The bytes of a regular file of at most maxSize bytes; nothing for a
    // missing file, a folder, a device or a read error.
    static std::optional<std::string> read(const std::string& path);

    // Where a write to `path` goes: the file a symbolic link names, so that
    // the link is kept.
    static std::string writePath(const std::string& path);

    // Where a write to `path` goes (the file a symbolic link names), whether
    // the file exists, and what it holds. Nothing when it cannot be written in
    // place: the path is a folder or another non-regular file, the file or
    // its folder is read-only or missing, or the file cannot be read.
    struct Target {
        std::string path;
        bool exists = false;
        std::string content;
    };
    static std::optional<Target> writableTarget(const std::string& path);

    // Replaces the target's content: a new file beside it, flushed to disk,
    // then moved over it, so that a crash leaves the old or the new file and
    // never a mix. The old file's permissions or attributes are kept. A file
    // with more than one name (a hard link the user made) is written in
    // place instead, since a new file would take only one of the names: that
    // keeps the link, owner and permissions at the price of a crash in the
    // middle of the write leaving a mix. False, with nothing changed, when
    // any step fails (the file may have been made read-only meanwhile).
    // Callers hold the file's IniFileLock from reading it to here.
    static bool replace(const Target& target, const std::string& content);
};
