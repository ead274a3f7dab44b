// Where kuvito.exe keeps kuvito.ini, as Windows' own file calls answer: beside
// the program when its folder can be written (the portable layout), else the
// user's file under %APPDATA%, whose folders are made on the first write.
#include "SettingsLocation.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class SettingsLocationWin32Test : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kuvito-location-" + std::to_string(::GetCurrentProcessId()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "bin");
        ::SetEnvironmentVariableW(L"APPDATA", (dir_ / "appdata").wstring().c_str());
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    // A path as the program gets it from Windows: backslashes, UTF-8.
    std::string windowsPath(const fs::path& path) const {
        const std::u8string text = path.u8string();
        return {text.begin(), text.end()};
    }

    fs::path dir_;
};

TEST_F(SettingsLocationWin32Test, AWritableProgramFolderKeepsTheFileBesideTheProgramAndNothingElse) {
    const SettingsLocation location = SettingsLocation::forProgram(windowsPath(dir_ / "bin" / "kuvito.exe"));
    EXPECT_FALSE(location.perUser());
    EXPECT_EQ(location.writeFile(), windowsPath(dir_ / "bin" / "kuvito.ini"));
    EXPECT_EQ(location.readFile(), location.writeFile());
    // Asking whether the folder can be written leaves nothing behind.
    EXPECT_TRUE(fs::is_empty(dir_ / "bin"));
}

// A folder the program cannot write in: here one that is a file, as Wine
// lets root write into every real folder.
TEST_F(SettingsLocationWin32Test, AProgramFolderThatCannotBeWrittenSendsTheUserToAppData) {
    std::ofstream(dir_ / "blocked") << "not a folder";
    const SettingsLocation location =
        SettingsLocation::forProgram(windowsPath(dir_ / "blocked" / "kuvito.exe"));
    EXPECT_TRUE(location.perUser());
    EXPECT_EQ(location.writeFile(), windowsPath(dir_ / "appdata" / "kuvito" / "kuvito.ini"));
    EXPECT_EQ(location.readFile(), "") << "no file yet: the built-in defaults";

    ASSERT_TRUE(SettingsLocation::createFoldersFor(location.writeFile()));
    EXPECT_TRUE(fs::is_directory(dir_ / "appdata" / "kuvito"));
    std::ofstream(fs::path(std::u8string(location.writeFile().begin(), location.writeFile().end())))
        << "[kuvito]\n";
    EXPECT_EQ(SettingsLocation::forProgram(windowsPath(dir_ / "blocked" / "kuvito.exe")).readFile(),
              location.writeFile());
    // A file where a folder must be made.
    EXPECT_FALSE(SettingsLocation::createFoldersFor(windowsPath(dir_ / "blocked" / "sub" / "kuvito.ini")));
}

} // namespace
