#pragma once

#include <windows.h>

#include <string>

// A settings file's path for Windows' wide file calls: the program's paths
// are UTF-8, the calls take UTF-16. A path that is not UTF-8 gives an empty
// name, which every call refuses, rather than some other file's.
inline std::wstring iniWidePath(const std::string& utf8) {
    if (utf8.empty())
        return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                        static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0)
        return {};
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                          out.data(), n);
    return out;
}
