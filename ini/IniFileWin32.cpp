#include "IniFile.h"

#include "IniWidePath.h"

#include <windows.h>

#include <algorithm>
#include <memory>

namespace {

struct HandleCloser {
    void operator()(HANDLE h) const { ::CloseHandle(h); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

Handle openHandle(const std::wstring& path, DWORD access, DWORD disposition,
                  DWORD flags = FILE_ATTRIBUTE_NORMAL) {
    HANDLE h = ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, disposition, flags, nullptr);
    return Handle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

bool writeAll(HANDLE h, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(h, data.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// The folder part of a path, as the system would resolve it: "." for a bare
// file name.
std::wstring folderOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return L".";
    if (slash == 0 || (slash == 2 && path[1] == L':'))
        return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

// The number of names the file has: more than one when the user made hard
// links to it. 1 when it cannot be told.
DWORD linksOf(const std::wstring& path) {
    const Handle file = openHandle(path, 0, OPEN_EXISTING);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !::GetFileInformationByHandle(file.get(), &info))
        return 1;
    return info.nNumberOfLinks;
}

// The content written over the file's own, then cut to its length.
bool writeInPlace(const std::wstring& path, const std::string& content) {
    const Handle file = openHandle(path, GENERIC_WRITE, OPEN_EXISTING);
    return file && writeAll(file.get(), content) && ::SetEndOfFile(file.get()) &&
           ::FlushFileBuffers(file.get());
}

} // namespace

std::string IniFile::writePath(const std::string& path) {
    // Used as given: a symbolic link to a settings file is rare on Windows,
    // where making one takes rights an ordinary user lacks.
    return path;
}

std::optional<std::string> IniFile::read(const std::string& path) {
    const std::wstring name = iniWidePath(path);
    if (name.empty())
        return std::nullopt;
    const Handle file = openHandle(name, GENERIC_READ, OPEN_EXISTING);
    // Only files on a disk: a console, pipe or device could block forever.
    if (!file || ::GetFileType(file.get()) != FILE_TYPE_DISK)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file.get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    const unsigned long long size =
        (static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (size > maxSize)
        return std::nullopt;
    std::string content(static_cast<std::size_t>(size), '\0');
    std::size_t done = 0;
    while (done < content.size()) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), content.data() + done, static_cast<DWORD>(content.size() - done), &got,
                        nullptr))
            return std::nullopt;
        if (got == 0)
            break;
        done += got;
    }
    content.resize(done);
    return content;
}

std::optional<IniFile::Target> IniFile::writableTarget(const std::string& path) {
    const std::wstring name = iniWidePath(path);
    if (name.empty())
        return std::nullopt;
    Target result{path, false, {}};
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DEVICE))
            return std::nullopt;
        std::optional<std::string> content = read(path);
        if (!content)
            return std::nullopt;
        result.exists = true;
        result.content = std::move(*content);
        return result;
    }
    if (::GetLastError() != ERROR_FILE_NOT_FOUND)
        return std::nullopt;
    // A folder's read-only attribute means nothing on Windows; whether it can
    // take a new file is learnt by creating one (see replace()).
    const DWORD folder = ::GetFileAttributesW(folderOf(name).c_str());
    if (folder == INVALID_FILE_ATTRIBUTES || !(folder & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return result;
}

bool IniFile::replace(const Target& target, const std::string& content) {
    const std::wstring name = iniWidePath(target.path);
    if (name.empty())
        return false;
    if (target.exists && linksOf(name) > 1) {
        const DWORD now = ::GetFileAttributesW(name.c_str());
        return now != INVALID_FILE_ATTRIBUTES &&
               !(now & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) && writeInPlace(name, content);
    }
    static unsigned counter = 0;
    std::wstring tempName;
    Handle temp;
    for (int attempt = 0; attempt < 100 && !temp; ++attempt) {
        tempName =
            name + L".tmp" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        temp = openHandle(tempName, GENERIC_WRITE, CREATE_NEW);
        if (!temp && ::GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    if (!temp)
        return false;
    bool ok = writeAll(temp.get(), content) && ::FlushFileBuffers(temp.get());
    temp.reset();

    if (ok && target.exists) {
        // The file may have been made read-only while we were writing.
        const DWORD now = ::GetFileAttributesW(name.c_str());
        ok = now != INVALID_FILE_ATTRIBUTES && !(now & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
        // Replacing keeps the old file's attributes and security.
        if (ok && !::ReplaceFileW(name.c_str(), tempName.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                  nullptr, nullptr)) {
            ok = false;
            // Windows may have taken the old file away and then failed to
            // give the new one its name. The new one is complete by now, so
            // it goes in under the name; if even that fails it stays where
            // it is, being the only copy of the user's settings left.
            if (::GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
                ::GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES)
                return ::MoveFileExW(tempName.c_str(), name.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
        }
    } else if (ok) {
        ok = ::MoveFileExW(tempName.c_str(), name.c_str(), MOVEFILE_WRITE_THROUGH);
    }
    if (!ok) {
        ::DeleteFileW(tempName.c_str());
        return false;
    }
    return true;
}
