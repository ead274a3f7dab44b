#include "SettingsLocation.h"

#include "Utf16.h"

#include <windows.h>

#include <string>

namespace {

constexpr const char* kFileName = "kuvito.ini";

std::string utf8(const std::wstring& text) {
    if (text.empty())
        return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                          nullptr);
    return out;
}

DWORD attributesOf(const std::string& path) {
    return ::GetFileAttributesW(Utf16::fromUtf8(path).c_str());
}

bool isFolder(const std::string& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// "C:\..." or "\\server\share\...": a path Windows does not resolve against
// the current folder.
bool isAbsolute(const std::wstring& path) {
    return (path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) ||
           (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\');
}

} // namespace

std::string SettingsLocation::folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos)
        return ".";
    // The root of a drive keeps its separator: "C:\", not "C:" (which is
    // the drive's current folder).
    return path.substr(0, slash == 2 && path[1] == ':' ? slash + 1 : slash);
}

bool SettingsLocation::isFile(const std::string& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string SettingsLocation::besideProgram(const std::string& executablePath) {
    const std::size_t slash = executablePath.find_last_of("\\/");
    if (slash == std::string::npos)
        return kFileName;
    return executablePath.substr(0, slash + 1) + kFileName;
}

std::string SettingsLocation::userFile() {
    // Windows sets APPDATA for every session: the user's roaming
    // application data, where a program installed for everyone keeps each
    // user's settings.
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD n = ::GetEnvironmentVariableW(L"APPDATA", buffer, MAX_PATH + 1);
    if (n == 0 || n > MAX_PATH)
        return {};
    std::wstring base(buffer, n);
    if (!isAbsolute(base))
        return {};
    while (base.size() > 3 && (base.back() == L'\\' || base.back() == L'/'))
        base.pop_back();
    if (base.back() != L'\\' && base.back() != L'/')
        base += L'\\';
    return utf8(base) + "kuvito\\" + kFileName;
}

bool SettingsLocation::writableFolder(const std::string& folder) {
    if (!isFolder(folder))
        return false;
    // Windows' answer to "may this user create a file here" is the access
    // lists of the folder and of the user's token; creating a file that is
    // gone again when its handle closes asks exactly that, as the later
    // write of kuvito.ini will.
    const std::string probe = (folder.back() == '\\' || folder.back() == '/' ? folder : folder + "\\") +
                              "kuvito-" + std::to_string(::GetCurrentProcessId()) + ".tmp";
    HANDLE file =
        ::CreateFileW(Utf16::fromUtf8(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

bool SettingsLocation::createFoldersFor(const std::string& path) {
    const std::string folder = folderOf(path);
    // Each folder from the top down; the drive ("C:") and a share's
    // "\\server\share" are there or not, and are never made.
    std::size_t from = 0;
    if (folder.size() >= 2 && folder[1] == ':')
        from = 3;
    else if (folder.rfind("\\\\", 0) == 0) {
        const std::size_t server = folder.find_first_of("\\/", 2);
        const std::size_t share =
            server == std::string::npos ? server : folder.find_first_of("\\/", server + 1);
        from = share == std::string::npos ? folder.size() : share + 1;
    }
    for (std::size_t at = from; at < folder.size() + 1 && from < folder.size(); ++at) {
        if (at != folder.size() && folder[at] != '\\' && folder[at] != '/')
            continue;
        const std::string part = folder.substr(0, at);
        if (part.empty())
            continue;
        // A folder that is already there, or one the user may only pass
        // through, is fine; the final test below tells.
        if (!::CreateDirectoryW(Utf16::fromUtf8(part).c_str(), nullptr)) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED)
                return false;
        }
    }
    return isFolder(folder);
}
