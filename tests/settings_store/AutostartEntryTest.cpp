#include "AutostartEntry.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

TEST(AutostartEntryTest, LiesInTheConfigFolderTheBaseDirectoryRulesName) {
    struct Case {
        const char* xdgConfigHome;
        const char* expected;
    };
    for (const Case& c : {Case{nullptr, "/home/u/.config/autostart/kuvito.desktop"},
                          Case{"", "/home/u/.config/autostart/kuvito.desktop"},
                          Case{"relative", "/home/u/.config/autostart/kuvito.desktop"},
                          Case{"/xdg", "/xdg/autostart/kuvito.desktop"}}) {
        SCOPED_TRACE(c.xdgConfigHome ? c.xdgConfigHome : "unset");
        EXPECT_EQ(AutostartEntry::path(c.xdgConfigHome, "/home/u"), c.expected);
    }
}

std::string run(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::size_t n = fread(buffer, 1, sizeof buffer, p))
            out.append(buffer, n);
        pclose(p);
    }
    return out;
}

// The Exec line, as the session reads it: its string escapes undone, then
// its quoting (which is the shell's double quoting) read by the shell.
std::string programOf(const std::string& entry) {
    const std::size_t at = entry.find("\nExec=");
    std::string value = entry.substr(at + 6, entry.find('\n', at + 1) - at - 6);
    std::string unescaped;
    for (std::size_t i = 0; i < value.size(); ++i)
        unescaped += value[i] == '\\' && i + 1 < value.size() ? value[++i] : value[i];
    return run("printf '%s' " + unescaped);
}

TEST(AutostartEntryTest, NamesTheRunningProgramValidlyAndGoesWhenRemoved) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string entryPath = dir.filePath("config/autostart/kuvito.desktop").toStdString();
    EXPECT_FALSE(AutostartEntry::exists(entryPath));
    const std::string program = dir.filePath("my \"pets\" $HOME `x` back\\slash/kuvito").toStdString();
    AutostartEntry::write(entryPath, AutostartEntry::text(program, "/usr/bin/kuvito"));
    ASSERT_TRUE(AutostartEntry::exists(entryPath));
    std::ifstream in(entryPath);
    std::stringstream entry;
    entry << in.rdbuf();
    EXPECT_EQ(programOf(entry.str()), program);
    EXPECT_NE(entry.str().find("\nX-GNOME-Autostart-enabled=true\n"), std::string::npos);
    EXPECT_NE(entry.str().find("\nName[ja]="), std::string::npos)
        << "the session's menu names it in Japanese too";
    EXPECT_EQ(run("desktop-file-validate '" + entryPath + "' 2>&1; echo $?"), "0\n");

    AutostartEntry::write(entryPath, AutostartEntry::text("/usr/bin/kuvito", "/usr/bin/kuvito"));
    EXPECT_NE(run("cat '" + entryPath + "'").find("\nExec=kuvito\n"), std::string::npos);

    AutostartEntry::remove(entryPath);
    EXPECT_FALSE(AutostartEntry::exists(entryPath));
    AutostartEntry::remove(entryPath);
}

} // namespace
