#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The ini profile format as pure text transformations, without any file
// access, so that the rules can be tested and fuzzed on their own.
//
// Reading: lines end at LF, CR or CR LF; a UTF-8 byte-order mark is skipped;
// lines are trimmed of blanks; "[name]" opens a section (the name runs to the
// last ']'); other lines are "key=value" split at the first '='. Names
// compare case-insensitively (ASCII), the first matching section and in it
// the first matching key win, and a value quoted with the same quote at both
// ends loses the quotes.
//
// Writing keeps every byte of every line it does not have to touch.
class IniText {
public:
    // The raw value of the key, or nothing when the section or key is
    // missing or the key's line has no '='.
    static std::optional<std::string> findValue(std::string_view content, std::string_view section,
                                                std::string_view key);

    // The content with key set to value: the value replaced in the key's own
    // line, or a line added after the section's last non-blank line, or the
    // section appended at the end. New lines use the content's first line end
    // (CR LF when it has none). Nothing when the names or the value cannot be
    // written without changing the file's structure (line breaks in any of
    // them, '=' in the key, a key that would read as a section header, empty
    // names).
    static std::optional<std::string> withValue(std::string_view content, std::string_view section,
                                                std::string_view key, std::string_view value);

    // Blanks as the format trims them: space, tab, CR, LF, VT, FF and 0x1A.
    static bool isBlank(char c);
    static std::string_view trim(std::string_view text);
    static bool equalsIgnoreCase(std::string_view a, std::string_view b);
};
