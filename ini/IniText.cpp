#include "IniText.h"

#include <vector>

namespace {

// One physical line: its text runs from begin to end, its line end (if any)
// from end to next.
struct Line {
    std::size_t begin = 0, end = 0, next = 0;
};

enum class Kind { Blank, Section, Key };

struct Parsed {
    Kind kind = Kind::Blank;
    std::string_view name;                       // section or key name, trimmed
    std::optional<std::string_view> value;       // key lines: the trimmed value after '='
    std::size_t equals = std::string_view::npos; // key lines: offset of '=' in the line
    std::size_t textEnd = 0;                     // offset just past the trimmed text
};

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::vector<Line> splitLines(std::string_view content) {
    std::vector<Line> lines;
    std::size_t pos = content.substr(0, 3) == kBom ? 3 : 0;
    while (pos < content.size()) {
        std::size_t end = pos;
        while (end < content.size() && content[end] != '\r' && content[end] != '\n')
            ++end;
        std::size_t next = end;
        if (next < content.size()) {
            if (content[next] == '\r' && next + 1 < content.size() && content[next + 1] == '\n')
                next += 2;
            else
                next += 1;
        }
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

Parsed parse(std::string_view line) {
    Parsed p;
    std::size_t first = 0;
    while (first < line.size() && IniText::isBlank(line[first]))
        ++first;
    std::size_t last = line.size();
    while (last > first && IniText::isBlank(line[last - 1]))
        --last;
    if (first == last)
        return p;
    p.textEnd = last;
    const std::string_view text = line.substr(first, last - first);
    if (text[0] == '[') {
        p.kind = Kind::Section;
        const std::size_t close = text.rfind(']');
        p.name = IniText::trim(close == 0 || close == std::string_view::npos ? text.substr(1)
                                                                             : text.substr(1, close - 1));
        return p;
    }
    p.kind = Kind::Key;
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos) {
        p.name = text;
        return p;
    }
    p.name = IniText::trim(text.substr(0, eq));
    p.value = IniText::trim(text.substr(eq + 1));
    p.equals = first + eq;
    return p;
}

std::string_view lineEndOf(std::string_view content, const std::vector<Line>& lines) {
    for (const Line& l : lines)
        if (l.next > l.end)
            return content.substr(l.end, l.next - l.end);
    return "\r\n";
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

bool IniText::isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view IniText::trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IniText::equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::optional<std::string> IniText::findValue(std::string_view content, std::string_view section,
                                              std::string_view key) {
    section = trim(section);
    key = trim(key);
    bool inSection = false;
    for (const Line& l : splitLines(content)) {
        const Parsed p = parse(content.substr(l.begin, l.end - l.begin));
        if (p.kind == Kind::Section) {
            // Only the first section of the name is searched.
            if (inSection)
                return std::nullopt;
            inSection = equalsIgnoreCase(p.name, section);
        } else if (p.kind == Kind::Key && inSection && equalsIgnoreCase(p.name, key)) {
            if (!p.value)
                return std::nullopt;
            std::string_view v = *p.value;
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
                v = v.substr(1, v.size() - 2);
            return std::string(v);
        }
    }
    return std::nullopt;
}

std::optional<std::string> IniText::withValue(std::string_view content, std::string_view section,
                                              std::string_view key, std::string_view value) {
    section = trim(section);
    key = trim(key);
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value) || key.empty() ||
        key.find('=') != std::string_view::npos || key.front() == '[')
        return std::nullopt;

    const std::vector<Line> lines = splitLines(content);
    const std::string_view eol = lineEndOf(content, lines);

    std::optional<std::size_t> sectionLine, lastNonBlank;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        const std::string_view text = content.substr(l.begin, l.end - l.begin);
        const Parsed p = parse(text);
        if (p.kind == Kind::Section) {
            if (sectionLine)
                break; // end of the first matching section
            if (equalsIgnoreCase(p.name, section)) {
                sectionLine = i;
                lastNonBlank = i;
            }
            continue;
        }
        if (!sectionLine || p.kind == Kind::Blank)
            continue;
        lastNonBlank = i;
        if (!equalsIgnoreCase(p.name, key))
            continue;
        // Replace the value in place, keeping everything up to the '=' (or
        // the key's text when it has none) and the line's own line end.
        const std::size_t keep = p.equals != std::string_view::npos ? p.equals + 1 : p.textEnd;
        std::string out(content.substr(0, l.begin + keep));
        if (p.equals == std::string_view::npos)
            out += '=';
        out += value;
        out += content.substr(l.end);
        return out;
    }

    const std::string keyLine = std::string(key) + "=" + std::string(value);
    if (sectionLine) {
        const Line& after = lines[*lastNonBlank];
        std::string out(content.substr(0, after.next));
        if (after.next == after.end) // the last line of a file without a final line end
            out += eol;
        out += keyLine;
        out += eol;
        out += content.substr(after.next);
        return out;
    }

    std::string out(content);
    const bool onlyBom = content == kBom;
    if (!content.empty() && !onlyBom && content.back() != '\n' && content.back() != '\r')
        out += eol;
    out += "[";
    out += section;
    out += "]";
    out += eol;
    out += keyLine;
    out += eol;
    return out;
}
