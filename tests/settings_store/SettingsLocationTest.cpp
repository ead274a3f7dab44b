#include "SettingsLocation.h"
#include "SettingsStore.h"

#include "KuvitoError.h"
#include "ProgramStateAccess.h"
#include "SimulatedDesktop.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        set(value);
    }
    ~ScopedEnv() { set(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void set(const std::optional<std::string>& value) {
        if (value)
            ::setenv(name_, value->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    const char* name_;
    std::optional<std::string> old_;
};

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The program lies in dir/bin; the user's configuration folder is
// dir/config, which does not exist yet.
class SettingsLocationTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kuvito-location-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "bin");
        useProgramIn(dir_ / "bin");
        config_.emplace("XDG_CONFIG_HOME", (dir_ / "config").string());
        resetProgramState();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir_ / "bin", fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
        resetProgramState();
    }
    void useProgramIn(const fs::path& folder) {
        auto sim = std::make_unique<SimulatedDesktop>();
        sim->setExecutablePath((folder / "kuvito").string());
        installDesktop(std::move(sim));
    }
    // The folder beside the program becomes read-only, as an installed
    // program's is, optionally holding a system-wide kuvito.ini.
    void installReadOnly(const std::optional<std::string>& systemIni) {
        if (systemIni)
            std::ofstream(beside(), std::ios::binary) << *systemIni;
        fs::permissions(dir_ / "bin", fs::perms::owner_read | fs::perms::owner_exec);
    }
    fs::path beside() const { return dir_ / "bin" / "kuvito.ini"; }
    fs::path userIni() const { return dir_ / "config" / "kuvito" / "kuvito.ini"; }

    fs::path dir_;
    std::optional<ScopedEnv> config_;
};

// Root may write into any folder, so what a read-only folder does is seen
// only by an ordinary user; the test run repeats these tests as one.
#define SKIP_AS_ROOT()                                                                                       \
    if (::geteuid() == 0)                                                                                    \
    GTEST_SKIP() << "root ignores permissions; covered by the run as an ordinary user"

TEST_F(SettingsLocationTest, WritableFolderBesideTheProgramIsUsedAndTheUsersFileIgnored) {
    fs::create_directories(userIni().parent_path());
    std::ofstream(userIni()) << "[kuvito]\nidou=4\n";
    ReadSettings();
    EXPECT_EQ(static_cast<int>(settings().MoveMode), 1);
    WriteSettings(1, 2, true, 3);
    EXPECT_EQ(slurp(beside()), "[kuvito]\r\nspeed=1\r\nidour=2\r\ntemae=1\r\nidou=3\r\n");
    EXPECT_EQ(slurp(userIni()), "[kuvito]\nidou=4\n");
}

TEST_F(SettingsLocationTest, ReadOnlyFolderWithoutAFileWritesTheUsersFileInAPrivateFolder) {
    SKIP_AS_ROOT();
    installReadOnly(std::nullopt);
    ReadSettings();
    EXPECT_EQ(settings().SpeedIndex, 5);
    EXPECT_FALSE(fs::exists(dir_ / "config")) << "reading must create nothing";
    WriteSettings(2, 8, false, 5);
    EXPECT_EQ(slurp(userIni()), "[kuvito]\r\nspeed=2\r\nidour=8\r\ntemae=2\r\nidou=5\r\n");
    EXPECT_FALSE(fs::exists(beside()));
    for (const fs::path& folder : {dir_ / "config", dir_ / "config" / "kuvito"})
        EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all) << folder;
}

TEST_F(SettingsLocationTest, ReadOnlyFolderWithAFileServesAsDefaultUntilTheUserWrites) {
    SKIP_AS_ROOT();
    const std::string system = "[kuvito]\r\nspeed=9\r\nidour=1\r\ntemae=2\r\nidou=3\r\n";
    installReadOnly(system);
    ReadSettings();
    EXPECT_EQ(settings().SpeedIndex, 9);
    EXPECT_EQ(static_cast<int>(settings().MoveMode), 3);
    EXPECT_FALSE(settings().StayOnTop);
    WriteSettings(4, 4, true, 2);
    EXPECT_EQ(slurp(beside()), system);
    resetProgramState();
    ReadSettings();
    EXPECT_EQ(settings().SpeedIndex, 4);
    EXPECT_EQ(static_cast<int>(settings().MoveMode), 2);
    EXPECT_TRUE(settings().StayOnTop);
}

TEST_F(SettingsLocationTest, UsersFileWinsOverTheSystemWideOne) {
    SKIP_AS_ROOT();
    installReadOnly("[kuvito]\r\nspeed=9\r\n");
    fs::create_directories(userIni().parent_path());
    std::ofstream(userIni()) << "[kuvito]\nidou=4\n";
    ReadSettings();
    // The files are not merged: a key the user's file lacks is the default.
    EXPECT_EQ(static_cast<int>(settings().MoveMode), 4);
    EXPECT_EQ(settings().SpeedIndex, 5);
}

TEST_F(SettingsLocationTest, FoldersThePackagingSystemOwnsAreNeverWrittenEvenByRoot) {
    useProgramIn("/usr/bin");
    EXPECT_EQ(currentSettingsLocation().writeFile(), userIni().string());
    useProgramIn("/usr/games");
    EXPECT_EQ(currentSettingsLocation().writeFile(), userIni().string());
    EXPECT_FALSE(SettingsLocation::writableFolder("/usr"));
    EXPECT_FALSE(SettingsLocation::writableFolder("/usr/"));
    EXPECT_TRUE(SettingsLocation::writableFolder(dir_.string()));
}

TEST(SettingsUserFile, FollowsXdgConfigHomeThenHome) {
    struct Case {
        std::optional<std::string> xdg;
        std::optional<std::string> home;
        std::string expected;
    };
    for (const Case& c :
         {Case{"/x/conf", "/h", "/x/conf/kuvito/kuvito.ini"},
          Case{"/x/conf/", "/h", "/x/conf/kuvito/kuvito.ini"},
          Case{std::nullopt, "/h", "/h/.config/kuvito/kuvito.ini"},
          Case{"", "/h", "/h/.config/kuvito/kuvito.ini"},
          // A relative XDG_CONFIG_HOME is invalid and ignored.
          Case{"conf", "/h", "/h/.config/kuvito/kuvito.ini"}, Case{"/", "/h", "/kuvito/kuvito.ini"},
          Case{std::nullopt, "/", "/.config/kuvito/kuvito.ini"}}) {
        ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
        ScopedEnv home("HOME", c.home);
        EXPECT_EQ(SettingsLocation::userFile(), c.expected) << c.xdg.value_or("(unset)");
    }
}

} // namespace
