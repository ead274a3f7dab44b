// Fuzzes the ini profile reader and writer. The input is a small header
// (flags, section/key/value lengths) followed by the names, the value and the
// file content. Checks, besides memory safety: what the writer writes reads
// back, writing the same value twice changes nothing, and the file functions
// agree with the text functions.
#include "IniProfile.h"
#include "IniText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace {

std::string readBack(std::string_view value) {
    std::string_view v = IniText::trim(value);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

const std::string& tempPath() {
    static const std::string path = "/tmp/fuzz_ini_" + std::to_string(::getpid()) + ".ini";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    const bool touchFile = data[0] & 1;
    std::size_t sectionLen = data[1] % 12, keyLen = data[2] % 12, valueLen = data[3] % 24;
    std::string_view rest(reinterpret_cast<const char*>(data) + 4, size - 4);
    auto take = [&rest](std::size_t n) {
        n = std::min(n, rest.size());
        std::string_view part = rest.substr(0, n);
        rest.remove_prefix(n);
        return part;
    };
    const std::string_view section = take(sectionLen), key = take(keyLen), value = take(valueLen);
    const std::string_view content = rest;

    (void)IniText::findValue(content, section, key);

    const std::optional<std::string> written = IniText::withValue(content, section, key, value);
    if (written) {
        const std::optional<std::string> back = IniText::findValue(*written, section, key);
        if (!back || *back != readBack(value))
            std::abort();
        if (IniText::withValue(*written, section, key, value) != written)
            std::abort();
    }

    if (touchFile) {
        const std::string& path = tempPath();
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(content.data(), static_cast<std::streamsize>(content.size()));
        }
        const std::string s(section), k(key), v(value);
        const bool ok = IniProfile::writePrivateProfileString(s, k, v, path);
        if (ok != written.has_value())
            std::abort();
        std::ifstream in(path, std::ios::binary);
        std::ostringstream now;
        now << in.rdbuf();
        if (now.str() != (written ? *written : std::string(content)))
            std::abort();
        const std::string got = IniProfile::getPrivateProfileString(s, k, "\x01", 4096, path);
        const std::optional<std::string> expected = IniText::findValue(now.str(), s, k);
        if (got != (expected ? expected->substr(0, 4095) : std::string("\x01")))
            std::abort();
        std::remove(path.c_str());
    }
    return 0;
}
