#include "SettingsStore.h"

#include "KuvitoError.h"
#include "ProgramStateAccess.h"
#include "SimulatedDesktop.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kuvito-store-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "bin");
        auto sim = std::make_unique<SimulatedDesktop>();
        sim->setExecutablePath((dir_ / "bin" / "kuvito").string());
        installDesktop(std::move(sim));
        resetProgramState();
        // The current directory must play no part in where the file is.
        previousCwd_ = fs::current_path();
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(previousCwd_);
        std::error_code ignored;
        fs::permissions(iniPath(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
        resetProgramState();
    }

    fs::path iniPath() const { return dir_ / "bin" / "kuvito.ini"; }
    void writeIni(const std::string& content) {
        std::ofstream out(iniPath(), std::ios::binary);
        out << content;
    }
    std::string readIni() const {
        std::ifstream in(iniPath(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void readWith(const std::string& body) {
        writeIni("[kuvito]\r\n" + body);
        ReadSettings();
    }

    fs::path dir_;
    fs::path previousCwd_;
};

TEST_F(SettingsStoreTest, PathIsBesideTheExecutableNotTheCurrentDirectory) {
    EXPECT_EQ(currentSettingsLocation().readFile(), iniPath().string());
    EXPECT_EQ(currentSettingsLocation().writeFile(), iniPath().string());
}

TEST_F(SettingsStoreTest, NoFileGivesDefaultsAndCreatesNothing) {
    ReadSettings();
    EXPECT_TRUE(settings().StayOnTop);
    EXPECT_EQ(static_cast<int>(settings().MoveMode), 1);
    EXPECT_EQ(settings().SpeedIndex, 5);
    EXPECT_EQ(settings().StepIndex, 5);
    EXPECT_FALSE(fs::exists(iniPath()));
    EXPECT_FALSE(fs::exists(dir_ / "kuvito.ini"));
}

TEST_F(SettingsStoreTest, FileInTheCurrentDirectoryIsIgnored) {
    std::ofstream(dir_ / "kuvito.ini") << "[kuvito]\nidou=3\n";
    ReadSettings();
    EXPECT_EQ(static_cast<int>(settings().MoveMode), 1);
}

TEST_F(SettingsStoreTest, TemaeIsOnOnlyForExactlyOne) {
    struct Case {
        const char* line;
        bool on;
    };
    for (const Case& c :
         {Case{"temae=1", true}, Case{"temae=0", false}, Case{"temae=2", false}, Case{"temae=7", false},
          Case{"temae=-1", false}, Case{"temae=$1", true}, Case{"temae=0x1", true}, Case{"temae=yes", true},
          Case{"temae=", true}, Case{"temae", true}, Case{"other=2", true}}) {
        settings().StayOnTop = !c.on;
        readWith(std::string(c.line) + "\r\n");
        EXPECT_EQ(settings().StayOnTop, c.on) << c.line;
    }
}

TEST_F(SettingsStoreTest, ValuesAreTakenWithoutRangeChecks) {
    readWith("speed=12\r\nidour=-1\r\nidou=9\r\ntemae=2\r\n");
    EXPECT_EQ(settings().SpeedIndex, 12);
    EXPECT_EQ(settings().StepIndex, -1);
    EXPECT_EQ(static_cast<int>(settings().MoveMode), 9);
    EXPECT_FALSE(settings().StayOnTop);
}

TEST_F(SettingsStoreTest, HexadecimalAndMalformedValues) {
    readWith("speed=0x3\r\nidour=$A\r\nidou=2x5\r\n");
    EXPECT_EQ(settings().SpeedIndex, 3);
    EXPECT_EQ(settings().StepIndex, 10);
    EXPECT_EQ(static_cast<int>(settings().MoveMode), 1);
}

TEST_F(SettingsStoreTest, OnlyTheKuvitoSectionCounts) {
    writeIni("[other]\nspeed=1\n[KUVITO]\nIDOU=4\n");
    ReadSettings();
    EXPECT_EQ(settings().SpeedIndex, 5);
    EXPECT_EQ(static_cast<int>(settings().MoveMode), 4);
}

TEST_F(SettingsStoreTest, LongValueIsCutToTheBufferAndFallsBack) {
    // 2047 digits are seen, which cannot fit 32 bits, so the default wins;
    // a value whose 2048th character is the bad one would read as a number
    // only if the buffer were larger.
    readWith("speed=" + std::string(2047, '0') + "7\r\n");
    EXPECT_EQ(settings().SpeedIndex, 0);
    readWith("speed=" + std::string(2046, '0') + "3\r\n");
    EXPECT_EQ(settings().SpeedIndex, 3);
}

TEST_F(SettingsStoreTest, FirstWriteCreatesTheSectionInWritingOrder) {
    WriteSettings(3, 7, false, 4);
    EXPECT_EQ(readIni(), "[kuvito]\r\nspeed=3\r\nidour=7\r\ntemae=2\r\nidou=4\r\n");
    EXPECT_EQ(settings().SpeedIndex, 3);
    EXPECT_EQ(settings().StepIndex, 7);
    EXPECT_FALSE(settings().StayOnTop);
    EXPECT_EQ(static_cast<int>(settings().MoveMode), 4);

    WriteSettings(0, 10, true, 1);
    EXPECT_EQ(readIni(), "[kuvito]\r\nspeed=0\r\nidour=10\r\ntemae=1\r\nidou=1\r\n");
    EXPECT_TRUE(settings().StayOnTop);
    ReadSettings();
    EXPECT_EQ(settings().SpeedIndex, 0);
    EXPECT_EQ(settings().StepIndex, 10);
    EXPECT_EQ(static_cast<int>(settings().MoveMode), 1);
}

TEST_F(SettingsStoreTest, OtherLinesAreKeptByteForByte) {
    writeIni("; kept comment\n"
             "[first]\n"
             "  speed =  99 \t\n"
             "\n"
             "[kuvito]\n"
             "unknown = yes\n"
             "IDOU=2\n"
             "\n"
             "[last]\n"
             "x=1");
    WriteSettings(-4, 12, false, 5);
    // Existing keys keep their lines and spelling; missing ones follow the
    // section's last non-blank line; everything else stays as it was.
    EXPECT_EQ(readIni(), "; kept comment\n"
                         "[first]\n"
                         "  speed =  99 \t\n"
                         "\n"
                         "[kuvito]\n"
                         "unknown = yes\n"
                         "IDOU=5\n"
                         "speed=-4\n"
                         "idour=12\n"
                         "temae=2\n"
                         "\n"
                         "[last]\n"
                         "x=1");
}

TEST_F(SettingsStoreTest, ReadOnlyFileChangesNothing) {
    const std::string before = "[kuvito]\r\nspeed=2\r\nidour=3\r\ntemae=1\r\nidou=2\r\n";
    writeIni(before);
    fs::permissions(iniPath(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ReadSettings();
    try {
        WriteSettings(9, 9, false, 5);
        FAIL() << "writing a read-only file reported success";
    } catch (const KuvitoError& e) {
        EXPECT_EQ(std::string(e.what()), iniPath().string() + " に書き込めません");
    }
    EXPECT_EQ(readIni(), before);
    EXPECT_EQ(settings().SpeedIndex, 2);
    EXPECT_EQ(settings().StepIndex, 3);
    EXPECT_TRUE(settings().StayOnTop);
    EXPECT_EQ(static_cast<int>(settings().MoveMode), 2);
}

// While it lives, no file of this process may grow past `bytes`: a write
// beyond fails (EFBIG) instead of ending the process with SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    void (*previousHandler_)(int);
    rlimit previous_{};
};

TEST_F(SettingsStoreTest, FailureAtALaterKeyKeepsWhatWasWrittenBeforeIt) {
    // Each field follows its own key at once: what was stored before the
    // failing key is in the file and in the settings, the rest in neither.
    const std::string lines[] = {"speed=4\r\n", "idour=6\r\n", "temae=2\r\n", "idou=3\r\n"};
    for (int failing = 2; failing <= 4; ++failing) {
        SCOPED_TRACE(failing);
        fs::remove(iniPath());
        settings().SpeedIndex = 1;
        settings().StepIndex = 1;
        settings().StayOnTop = true;
        settings().MoveMode = MovementMode::ChaseMouse;
        std::string stored = "[kuvito]\r\n";
        for (int key = 1; key < failing; ++key)
            stored += lines[key - 1];
        {
            FileSizeLimit limit(stored.size());
            EXPECT_THROW(WriteSettings(4, 6, false, 3), KuvitoError);
        }
        EXPECT_EQ(readIni(), stored);
        EXPECT_EQ(settings().SpeedIndex, 4);
        EXPECT_EQ(settings().StepIndex, failing > 2 ? 6 : 1);
        EXPECT_EQ(settings().StayOnTop, failing <= 3);
        EXPECT_EQ(static_cast<int>(settings().MoveMode), 1);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "bin"), fs::directory_iterator()), 1)
            << "nothing but the settings file is left behind";
    }
}

TEST_F(SettingsStoreTest, UncreatableUserFolderFailsAtTheFirstKey) {
    // A program folder that is not there cannot be written, so the user's
    // file is tried; the test main points it below /dev/null.
    auto sim = std::make_unique<SimulatedDesktop>();
    sim->setExecutablePath((dir_ / "gone" / "kuvito").string());
    installDesktop(std::move(sim));
    settings().SpeedIndex = 1;
    try {
        WriteSettings(4, 4, true, 3);
        FAIL() << "the write reported success";
    } catch (const KuvitoError& e) {
        EXPECT_EQ(std::string(e.what()), "/dev/null/kuvito-tests/kuvito/kuvito.ini に書き込めません");
    }
    EXPECT_EQ(settings().SpeedIndex, 1);
    EXPECT_EQ(static_cast<int>(settings().MoveMode), 0);
    EXPECT_FALSE(fs::exists(dir_ / "gone"));
}

} // namespace
