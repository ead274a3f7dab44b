#include "Utf16.h"

#include <windows.h>

#include <climits>

std::wstring Utf16::fromUtf8(std::string_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX))
        return {};
    const int size = static_cast<int>(text.size());
    // Without MB_ERR_INVALID_CHARS the call replaces what it cannot decode
    // instead of failing.
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    if (units <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), units);
    return wide;
}

std::string Utf16::toUtf8(std::wstring_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX))
        return {};
    const int size = static_cast<int>(text.size());
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

std::wstring Utf16::truncated(std::wstring text, std::size_t maxUnits) {
    if (text.size() <= maxUnits)
        return text;
    text.resize(maxUnits);
    if (!text.empty() && IS_HIGH_SURROGATE(text.back()))
        text.pop_back();
    return text;
}
