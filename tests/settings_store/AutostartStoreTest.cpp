// The login entry as the menu item writes it on Linux: Exec names "kuvito"
// only when that is what the session's PATH starts.
#include "AutostartStore.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// Sets an environment variable for the test's life and puts back the old.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old, had_ = true;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (had_)
            ::setenv(name_, old_.c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

void program(const fs::path& path, fs::perms perms = fs::perms::owner_all) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "#!/bin/sh\n";
    fs::permissions(path, perms);
}

TEST(AutostartStoreTest, ExecNamesKuvitoOnlyWhenThePathStartsThisVeryProgram) {
    const fs::path dir = fs::temp_directory_path() / ("kuvito-autostart-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    program(dir / "bin" / "kuvito");
    program(dir / "other" / "kuvito");
    program(dir / "plain" / "kuvito", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(dir / "bin" / "kuvito", dir / "link");
    const ScopedVariable config("XDG_CONFIG_HOME", (dir / "config").string());
    const std::string bin = (dir / "bin").string(), other = (dir / "other").string();
    struct Case {
        std::string path, running;
        bool byName;
    } const cases[] = {
        {"/nonexistent:" + bin, bin + "/kuvito", true},
        {"/nonexistent:" + bin, (dir / "link").string(), true},
        {other + ":" + bin, bin + "/kuvito", false}, // Exec=kuvito would start the other one
        {(dir / "plain").string() + ":" + bin, bin + "/kuvito", true}, // not a program: passed over
        {bin, other + "/kuvito", false},
        {"bin", bin + "/kuvito", false}, // relative to wherever the session is
        {"", bin + "/kuvito", false},
    };
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " running " + c.running);
        const ScopedVariable path("PATH", c.path);
        AutostartStore::turnOn(c.running);
        ASSERT_TRUE(AutostartStore::isOn());
        std::stringstream text;
        text << std::ifstream(dir / "config" / "autostart" / "kuvito.desktop").rdbuf();
        EXPECT_EQ(text.str().find("\nExec=kuvito\n") != std::string::npos, c.byName) << text.str();
        AutostartStore::turnOff();
        EXPECT_FALSE(AutostartStore::isOn());
    }
    fs::current_path(previous);
    fs::remove_all(dir);
}

} // namespace
