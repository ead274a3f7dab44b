// kuvito.exe's start-up questions to Windows: its arguments as UTF-8 by
// Windows' own splitting rules, without the program's name, and whether the
// session can show windows.
#include "Win32ProgramStart.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Win32ProgramStartTest, ArgumentsAreSplitByWindowsRulesAndComeAsUtf8WithoutTheProgram) {
    const struct {
        std::wstring commandLine;
        std::vector<std::string> arguments;
    } cases[] = {
        {L"kuvito.exe", {}},
        {L"\"C:\\Program Files\\kuvito\\kuvito.exe\" --version", {"--version"}},
        {L"kuvito.exe \"two words\" \u8d70\u308c --help",
         {"two words", "\xe8\xb5\xb0\xe3\x82\x8c", "--help"}},
        {L"kuvito.exe a\\\"b", {"a\"b"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Win32ProgramStart::argumentsOf(c.commandLine), c.arguments);
}

TEST(Win32ProgramStartTest, ATestRunsInASessionThatShowsWindows) {
    EXPECT_TRUE(Win32ProgramStart::interactiveSession());
}

} // namespace
