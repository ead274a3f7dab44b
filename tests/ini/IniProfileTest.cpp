#include "IniProfile.h"
#include "IniFileLock.h"
#include "IniText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

// Run by main() in the child processes of the crash and race tests.
int runIniWriterChild(const std::string& path, std::size_t size);
int runIniKeyWriterChild(const std::string& path, const std::string& prefix, int count);

namespace {

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void spit(const fs::path& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary);
    out << text;
}

mode_t modeOf(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

class IniProfileFile : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/kuvito-ini-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        ini_ = dir_ / "kuvito.ini";
    }
    void TearDown() override {
        ::chmod(dir_.c_str(), 0700);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::size_t entriesInDir() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}));
    }
    std::string read(const char* key, const char* def = "", std::size_t size = 2048) const {
        return IniProfile::getPrivateProfileString("kuvito", key, def, size, ini_.string());
    }
    bool write(const char* key, const std::string& value) const {
        return IniProfile::writePrivateProfileString("kuvito", key, value, ini_.string());
    }

    fs::path dir_, ini_;
};

TEST_F(IniProfileFile, MissingFileGivesTheDefaultAndIsNotCreated) {
    EXPECT_EQ(read("speed", "dflt"), "dflt");
    EXPECT_FALSE(fs::exists(ini_));
}

TEST_F(IniProfileFile, ResultIsCutToTheBuffer) {
    spit(ini_, "[kuvito]\r\nlong=" + std::string(3000, 'x') + "\r\nshort=abc\r\n");
    struct Case {
        const char* key;
        const char* def;
        std::size_t size;
        std::string expected;
    };
    for (const Case& c :
         {Case{"long", "", 2048, std::string(2047, 'x')}, Case{"short", "", 2048, "abc"},
          Case{"short", "", 4, "abc"}, Case{"short", "", 3, "ab"}, Case{"short", "", 1, ""},
          Case{"short", "", 0, ""}, Case{"none", "default", 4, "def"}, Case{"none", "d", 0, ""}})
        EXPECT_EQ(read(c.key, c.def, c.size), c.expected) << c.key << " size " << c.size;
}

TEST_F(IniProfileFile, PathsThatAreNoRegularFileReadAsMissing) {
    EXPECT_EQ(IniProfile::getPrivateProfileString("kuvito", "speed", "d", 2048, dir_.string()), "d");
    // A FIFO would block a plain read forever.
    const fs::path fifo = dir_ / "fifo.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(IniProfile::getPrivateProfileString("kuvito", "speed", "d", 2048, fifo.string()), "d");
}

TEST_F(IniProfileFile, FirstWritesCreateTheFileInWritingOrder) {
    for (const char* key : {"speed", "idour", "temae", "idou"})
        ASSERT_TRUE(write(key, "5"));
    EXPECT_EQ(slurp(ini_), "[kuvito]\r\nspeed=5\r\nidour=5\r\ntemae=5\r\nidou=5\r\n");
    EXPECT_EQ(read("IDOU"), "5");
    EXPECT_EQ(entriesInDir(), 1u) << "no temporary file is left behind";
}

TEST_F(IniProfileFile, RewritingKeepsEveryOtherByte) {
    const std::string before =
        "; settings\r\n[other]\r\n  a = 1 \r\n\r\n[Kuvito]\r\nSpeed = 3\r\n\r\n[x]\ny=2";
    spit(ini_, before);
    ASSERT_TRUE(write("speed", "10"));
    ASSERT_TRUE(write("idou", "2"));
    EXPECT_EQ(slurp(ini_),
              "; settings\r\n[other]\r\n  a = 1 \r\n\r\n[Kuvito]\r\nSpeed =10\r\nidou=2\r\n\r\n[x]\ny=2");
}

TEST_F(IniProfileFile, PermissionsAreKept) {
    spit(ini_, "[kuvito]\r\nspeed=1\r\n");
    ASSERT_EQ(::chmod(ini_.c_str(), 0640), 0);
    ASSERT_TRUE(write("speed", "2"));
    EXPECT_EQ(modeOf(ini_), 0640u);
    EXPECT_EQ(read("speed"), "2");
}

TEST_F(IniProfileFile, NewFileGetsTheUmaskMode) {
    const mode_t old = ::umask(022);
    const bool ok = write("speed", "2");
    ::umask(old);
    ASSERT_TRUE(ok);
    EXPECT_EQ(modeOf(ini_), 0644u);
}

TEST_F(IniProfileFile, UnwritablePlacesFailAndChangeNothing) {
    const std::string before = "[kuvito]\r\nspeed=1\r\n";
    struct Case {
        const char* name;
        bool fileExists;
        mode_t fileMode, dirMode;
    };
    for (const Case& c :
         {Case{"read-only file", true, 0444, 0700}, Case{"read-only directory", true, 0644, 0555},
          Case{"missing file in read-only directory", false, 0644, 0555}}) {
        SCOPED_TRACE(c.name);
        ::chmod(dir_.c_str(), 0700);
        fs::remove(ini_);
        if (c.fileExists) {
            spit(ini_, before);
            ASSERT_EQ(::chmod(ini_.c_str(), c.fileMode), 0);
        }
        ASSERT_EQ(::chmod(dir_.c_str(), c.dirMode), 0);
        EXPECT_FALSE(write("speed", "7"));
        EXPECT_FALSE(write("idou", "7"));
        ::chmod(dir_.c_str(), 0700);
        EXPECT_EQ(fs::exists(ini_), c.fileExists);
        if (c.fileExists) {
            EXPECT_EQ(slurp(ini_), before);
            EXPECT_EQ(modeOf(ini_), c.fileMode);
        }
        EXPECT_EQ(entriesInDir(), c.fileExists ? 1u : 0u);
    }
}

TEST_F(IniProfileFile, PathsThatCannotBeAFileFail) {
    EXPECT_FALSE(IniProfile::writePrivateProfileString("kuvito", "speed", "1", dir_.string()));
    EXPECT_TRUE(fs::is_directory(dir_));
    EXPECT_FALSE(
        IniProfile::writePrivateProfileString("kuvito", "speed", "1", (dir_ / "no" / "k.ini").string()));
    EXPECT_FALSE(IniProfile::writePrivateProfileString("kuvito", "speed", "1", ""));
    EXPECT_FALSE(write("speed", "1\r\n[evil]"));
    EXPECT_FALSE(fs::exists(ini_));
}

TEST_F(IniProfileFile, SymbolicLinkIsFollowedNotReplaced) {
    const fs::path real = dir_ / "real.ini";
    spit(real, "[kuvito]\r\nspeed=1\r\n");
    fs::create_symlink(real, ini_);
    ASSERT_TRUE(write("speed", "9"));
    EXPECT_TRUE(fs::is_symlink(ini_));
    EXPECT_EQ(slurp(real), "[kuvito]\r\nspeed=9\r\n");
}

// A writer killed at any moment leaves the old file or the new one, whole.
// The writer is this test binary run again as a child process (see main.cpp),
// writing two large values in turn, so that kills land in every phase of the
// write: reading, writing the new file, syncing and renaming.
TEST_F(IniProfileFile, KilledWriterLeavesAWholeFile) {
    constexpr std::size_t kSize = 200000;
    const std::string a = "[kuvito]\r\nv=" + std::string(kSize, 'A') + "\r\n";
    const std::string b = "[kuvito]\r\nv=" + std::string(kSize, 'B') + "\r\n";
    std::mt19937 random(1234);
    const std::string sizeArg = std::to_string(kSize);
    for (int round = 0; round < 12; ++round) {
        spit(ini_, a);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::execl("/proc/self/exe", "test_ini", "--ini-writer-child", ini_.c_str(), sizeArg.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        // Once the first write has landed the child is in its loop; kill it
        // at some moment after that.
        bool started = false;
        for (int i = 0; i < 10000 && !started; ++i) {
            started = slurp(ini_) != a;
            if (!started)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 15000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(started) << "the writer never wrote";
        const std::string now = slurp(ini_);
        EXPECT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
    }
}

// Two programs writing keys of one file at once, each write reporting
// success, must find every key they wrote in it at the end: each writes
// keys of its own, one new key a write, so that one change lost anywhere in
// the run shows as a missing key.
TEST_F(IniProfileFile, ConcurrentWritersLoseNoKey) {
    constexpr int kWrites = 300;
    const std::string count = std::to_string(kWrites);
    std::vector<pid_t> children;
    for (const char* prefix : {"a", "b"}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::execl("/proc/self/exe", "test_platform", "--ini-key-writer-child", ini_.c_str(), prefix,
                    count.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a write failed";
    }
    int missing = 0;
    for (const char* prefix : {"a", "b"})
        for (int i = 0; i < kWrites; ++i)
            missing += read((prefix + std::to_string(i)).c_str()) == std::to_string(i) ? 0 : 1;
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(entriesInDir(), 1u) << "no lock file is left behind";
}

TEST_F(IniProfileFile, HardLinkedFileStaysLinkedWithItsMode) {
    const fs::path other = dir_ / "linked.ini";
    spit(ini_, "[kuvito]\r\nspeed=1\r\nidou=3\r\n");
    ASSERT_EQ(::chmod(ini_.c_str(), 0640), 0);
    fs::create_hard_link(ini_, other);
    ASSERT_TRUE(write("speed", "12"));
    ASSERT_TRUE(write("idou", "2"));
    EXPECT_TRUE(fs::equivalent(ini_, other));
    EXPECT_EQ(slurp(other), "[kuvito]\r\nspeed=12\r\nidou=2\r\n");
    EXPECT_EQ(modeOf(ini_), 0640u);
    EXPECT_EQ(entriesInDir(), 2u);
}

// A writer that keeps the lock delays another's write a bounded time, which
// then fails without touching the file; once the lock is free it succeeds.
TEST_F(IniProfileFile, HeldLockFailsTheWriteAfterTheWait) {
    const std::string before = "[kuvito]\r\nspeed=1\r\n";
    spit(ini_, before);
    constexpr auto kWait = std::chrono::milliseconds(200);
    {
        const IniFileLock other(ini_.string(), kWait);
        ASSERT_TRUE(other.held());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(IniProfile::writePrivateProfileString("kuvito", "speed", "2", ini_.string(), kWait));
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_GE(waited, kWait);
        EXPECT_LT(waited, kWait * 5);
        EXPECT_EQ(slurp(ini_), before);
    }
    EXPECT_TRUE(IniProfile::writePrivateProfileString("kuvito", "speed", "2", ini_.string(), kWait));
    EXPECT_EQ(read("speed"), "2");
    EXPECT_EQ(entriesInDir(), 1u);
}

} // namespace

int runIniKeyWriterChild(const std::string& path, const std::string& prefix, int count) {
    int failed = 0;
    for (int i = 0; i < count; ++i)
        failed += IniProfile::writePrivateProfileString("kuvito", prefix + std::to_string(i),
                                                        std::to_string(i), path)
                      ? 0
                      : 1;
    return failed == 0 ? 0 : 1;
}

int runIniWriterChild(const std::string& path, std::size_t size) {
    for (unsigned i = 0;; ++i)
        IniProfile::writePrivateProfileString("kuvito", "v", std::string(size, i % 2 ? 'A' : 'B'), path);
}
