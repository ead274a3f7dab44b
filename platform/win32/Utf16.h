#pragma once

#include <string>
#include <string_view>

// The program's texts are UTF-8; Windows' wide calls take UTF-16. Captions
// and tips are converted where they reach Windows, and nowhere else.
class Utf16 {
public:
    // Bytes that are not UTF-8 become U+FFFD each, so a bad caption still
    // shows everything around it.
    static std::wstring fromUtf8(std::string_view text);
    // Units that are not UTF-16 (a lone surrogate) become U+FFFD each.
    static std::string toUtf8(std::wstring_view text);
    // The first at most maxUnits code units of text, never ending in the
    // first half of a surrogate pair (a fixed-size field must not hold half
    // a character).
    static std::wstring truncated(std::wstring text, std::size_t maxUnits);
};
