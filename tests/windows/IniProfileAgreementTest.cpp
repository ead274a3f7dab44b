// Our ini reader and writer against Windows' own profile calls on the same
// files: on Windows the settings file is shared with anything that reads it
// through the system, so both must read the same values from it, and the
// same edit must leave the same bytes. Windows is the judge; the tables hold
// only files and edits, never expected answers.
#include "IniProfile.h"
#include "UnderWine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::optional<std::string> contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string systemRead(const std::string& section, const std::string& key, const std::string& path,
                       DWORD bufferSize = 2048) {
    std::vector<char> buffer(bufferSize + 1, '\0');
    const DWORD n = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "(default)", buffer.data(),
                                               bufferSize, path.c_str());
    return std::string(buffer.data(), n);
}

bool systemWrite(const std::string& section, const std::string& key, const std::string& value,
                 const std::string& path) {
    const bool ok = ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str());
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str()); // flushes the system's cache
    return ok;
}

// A folder of its own under the user's temporary folder; every file name is
// used once, since the system caches what it has read by name.
class IniAgreement : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH + 1] = {};
        ASSERT_NE(::GetTempPathA(MAX_PATH, temp), 0u);
        folder_ = std::string(temp) + "kuvito-ini-" + std::to_string(::GetCurrentProcessId()) + "-" +
                  std::to_string(::GetTickCount64());
        ASSERT_TRUE(::CreateDirectoryA(folder_.c_str(), nullptr));
    }
    void TearDown() override {
        for (const std::string& file : files_) {
            ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileA(file.c_str());
            ::RemoveDirectoryA(file.c_str());
        }
        ::RemoveDirectoryA(folder_.c_str());
    }
    std::string newPath() {
        files_.push_back(folder_ + "\\f" + std::to_string(files_.size()) + ".ini");
        return files_.back();
    }

    std::string folder_;
    std::vector<std::string> files_;
};

const std::string kLong(3000, 'x');

// Files that test every reading rule: line ends, blanks, quotes, comments,
// repeated names, letter case, text after a header, a value too long for
// the buffer.
struct ReadFile {
    ReadFile(std::string text, bool differs = false) : content(std::move(text)), wineDiffers(differs) {}
    ReadFile(const char* text) : ReadFile(std::string(text)) {}
    std::string content;
    // Wine ignores a header without its closing bracket; whether Windows
    // does too is not known here, so only Windows itself judges that file.
    bool wineDiffers;
};
const std::vector<ReadFile> kReadFiles = {
    "[kuvito]\r\ntemae=1\r\nidou=2\r\nspeed=3\r\nidour=4\r\n",
    "[kuvito]\nspeed=3\nidou=2\n",
    "[kuvito]\rspeed=3\ridou=2",
    "[kuvito]\r\nspeed=3",
    "\xEF\xBB\xBF[kuvito]\r\nspeed=3\r\n",
    "x\r\n\xEF\xBB\xBF[kuvito]\r\nspeed=3\r\n",
    " \t[ kuvito ] \r\n \t speed \t=\t 3 \r\n\r\n  \r\nidou = 2\r\n",
    "[kuvito] ; note\r\nspeed=3\r\n",
    "[a]b] trailing\r\nspeed=3\r\n",
    {"[kuvito\r\nspeed=3\r\n", true},
    "[kuvito]\r\nspeed=3=4\r\nidou=\r\n",
    "[kuvito]\r\nspeed\r\nspeed=3\r\n",
    "[kuvito]\r\n;speed=1\r\nidou=1 ; two\r\n",
    "[KuViTo]\r\nSPEED=3\r\nSpeed=4\r\n",
    "[kuvito]\r\nidou=1\r\n[KUVITO]\r\nspeed=2\r\n",
    "speed=1\r\n[kuvito]\r\n",
    "[kuvito]\r\nspeed=\"3 4\"\r\nidou='2'\r\n",
    "[kuvito]\r\nspeed=\"3'\r\nidou=\"\r\n",
    "[kuvito]\r\nspeed=\"\"\r\nidou= \" 2 \" \r\n",
    "[kuvito]\r\nspeed=" + kLong + "\r\nidou=2\r\n",
    "[kuvito]\r\nspeed=\xE3\x81\x82\r\n",
    "",
};

TEST_F(IniAgreement, SameValuesRead) {
    const struct {
        const char* section;
        const char* key;
    } queries[] = {{"kuvito", "speed"}, {"KUVITO", "Speed"},     {"kuvito", "idou"}, {"kuvito", ";speed"},
                   {"a]b", "speed"},    {" kuvito ", " speed "}, {"other", "speed"}};
    const bool wine = underWine();
    for (const auto& [content, wineDiffers] : kReadFiles) {
        if (wine && wineDiffers)
            continue;
        const std::string path = newPath();
        writeFile(path, content);
        for (const auto& q : queries)
            for (const DWORD size : {2048u, 3u, 1u}) {
                EXPECT_EQ(IniProfile::getPrivateProfileString(q.section, q.key, "(default)", size, path),
                          systemRead(q.section, q.key, path, size))
                    << "[" << q.section << "] " << q.key << ", buffer " << size << ", file:\n"
                    << content;
            }
    }
}

TEST_F(IniAgreement, MissingFileGivesTheDefault) {
    const std::string path = newPath();
    EXPECT_EQ(IniProfile::getPrivateProfileString("kuvito", "speed", "(default)", 2048, path),
              systemRead("kuvito", "speed", path));
    const std::string folder = newPath();
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_EQ(IniProfile::getPrivateProfileString("kuvito", "speed", "(default)", 2048, folder),
              systemRead("kuvito", "speed", folder));
}

TEST_F(IniAgreement, SameBytesWrittenForTheSameEdit) {
    const struct {
        const char* what;
        std::optional<std::string> content; // nothing: no file yet
        const char* section;
        const char* key;
        const char* value;
        // Windows keeps every line of a file it writes to; Wine's profile
        // calls rewrite the whole file in their own layout (blank lines
        // dropped, blanks around names and values removed, CR LF
        // everywhere). Under Wine, edits of files in any other layout are
        // judged by what can be read back instead of by their bytes.
        bool layoutWineKeeps;
    } cases[] = {
        {"new file", std::nullopt, "kuvito", "speed", "3", true},
        {"empty file", "", "kuvito", "speed", "3", true},
        {"value replaced", "[kuvito]\r\ntemae=1\r\nspeed=3\r\n", "kuvito", "speed", "10", true},
        {"same value", "[kuvito]\r\nspeed=3\r\n", "kuvito", "speed", "3", true},
        {"key's spelling kept", "[KuViTo]\r\nSPEED=3\r\n", "kuvito", "speed", "4", true},
        {"key added to the end of its section", "[kuvito]\r\ntemae=1\r\n[other]\r\na=b\r\n", "kuvito", "idou",
         "2", true},
        {"section appended", "[other]\r\na=b\r\n", "kuvito", "idou", "2", true},
        {"keys before any section", "a=b\r\n", "kuvito", "idou", "2", true},
        {"comment lines kept", ";settings\r\n[kuvito]\r\n;speed=9\r\nspeed=3\r\n", "kuvito", "speed", "5",
         true},
        {"value with blanks inside", "[kuvito]\r\nspeed=3\r\n", "kuvito", "speed", "a b", true},
        {"no final line end", "[kuvito]\r\nspeed=3", "kuvito", "idou", "2", false},
        {"first of two sections", "[kuvito]\r\nidou=1\r\n[kuvito]\r\nspeed=3\r\n", "kuvito", "speed", "5",
         true},
        {"blank lines and spacing kept", "\r\n[kuvito]\r\n  speed = 3 \r\n\r\n[other]\r\na=b\r\n", "kuvito",
         "speed", "5", false},
        {"key added before blank lines", "[kuvito]\r\nspeed=3\r\n\r\n\r\n[other]\r\n", "kuvito", "idou", "2",
         false},
        {"LF line ends kept", "[kuvito]\nspeed=3\n", "kuvito", "idou", "2", false},
        {"text after a header kept", "[kuvito] ; note\r\nspeed=3\r\n", "kuvito", "speed", "5", false},
        {"byte-order mark kept", "\xEF\xBB\xBF[kuvito]\r\nspeed=3\r\n", "kuvito", "speed", "5", true},
    };
    const bool wine = underWine();
    for (const auto& c : cases) {
        const std::string ours = newPath();
        const std::string theirs = newPath();
        if (c.content) {
            writeFile(ours, *c.content);
            writeFile(theirs, *c.content);
        }
        EXPECT_EQ(IniProfile::writePrivateProfileString(c.section, c.key, c.value, ours),
                  systemWrite(c.section, c.key, c.value, theirs))
            << c.what;
        if (!wine || c.layoutWineKeeps) {
            EXPECT_EQ(contentOf(ours), contentOf(theirs)) << c.what;
            continue;
        }
        for (const char* key : {"temae", "idou", "speed", "a"})
            for (const char* section : {"kuvito", "other"})
                EXPECT_EQ(systemRead(section, key, ours), systemRead(section, key, theirs))
                    << c.what << ": [" << section << "] " << key;
    }
}

TEST_F(IniAgreement, RefusedWritesAlike) {
    auto readOnlyFile = [&] {
        const std::string path = newPath();
        writeFile(path, "[kuvito]\r\nspeed=3\r\n");
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        return path;
    };
    auto folder = [&] {
        const std::string path = newPath();
        ::CreateDirectoryA(path.c_str(), nullptr);
        return path;
    };
    auto inMissingFolder = [&] { return newPath() + "\\kuvito.ini"; };
    const struct {
        const char* what;
        std::string path;
        // Wine keeps the read-only attribute as the file's permission bits,
        // which root, running the tests in CI, is not held to.
        bool wineMayWrite;
    } cases[] = {
        {"read-only file", readOnlyFile(), true},
        {"a folder", folder(), false},
        {"missing folder", inMissingFolder(), false},
    };
    const bool wine = underWine();
    for (const auto& c : cases) {
        const std::optional<std::string> before = contentOf(c.path);
        EXPECT_FALSE(IniProfile::writePrivateProfileString("kuvito", "speed", "5", c.path)) << c.what;
        EXPECT_EQ(contentOf(c.path), before) << c.what;
        if (wine && c.wineMayWrite)
            continue;
        EXPECT_FALSE(systemWrite("kuvito", "speed", "5", c.path)) << c.what;
        EXPECT_EQ(contentOf(c.path), before) << c.what;
    }
}

} // namespace
