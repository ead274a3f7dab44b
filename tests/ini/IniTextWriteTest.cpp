#include "IniText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct WriteCase {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

class IniTextWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniTextWrite, ChangesOnlyWhatItMust) {
    const WriteCase& c = GetParam();
    const std::optional<std::string> out = IniText::withValue(c.before, c.section, c.key, c.value);
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(*out, c.after);
    // Whatever was written reads back.
    EXPECT_EQ(IniText::findValue(*out, c.section, c.key), std::string(c.value));
}

const std::string kBom = "\xEF\xBB\xBF";

INSTANTIATE_TEST_SUITE_P(
    Rules, IniTextWrite,
    ::testing::Values(
        WriteCase{"NewFile", "", "kuvito", "speed", "5", "[kuvito]\r\nspeed=5\r\n"},
        WriteCase{"ReplaceInPlace", "[kuvito]\r\nspeed=5\r\nidour=5\r\n", "kuvito", "speed", "10",
                  "[kuvito]\r\nspeed=10\r\nidour=5\r\n"},
        WriteCase{"KeySpellingAndSpacingKept", "[KUVITO]\r\n  Speed = 5  \r\n", "kuvito", "speed", "7",
                  "[KUVITO]\r\n  Speed =7\r\n"},
        WriteCase{"KeyWithoutEqualsGetsOne", "[s]\r\n  k  \r\nz=1\r\n", "s", "k", "2",
                  "[s]\r\n  k=2\r\nz=1\r\n"},
        WriteCase{"FirstOfRepeatedKeys", "[s]\r\nk=1\r\nk=2\r\n", "s", "k", "3", "[s]\r\nk=3\r\nk=2\r\n"},
        WriteCase{"FirstOfRepeatedSections", "[s]\r\na=1\r\n[s]\r\nk=2\r\n", "s", "k", "3",
                  "[s]\r\na=1\r\nk=3\r\n[s]\r\nk=2\r\n"},
        WriteCase{"AppendAfterLastNonBlankLine", "[s]\r\na=1\r\n\r\n; c\r\n\r\n[t]\r\nb=2\r\n", "s", "k", "9",
                  "[s]\r\na=1\r\n\r\n; c\r\nk=9\r\n\r\n[t]\r\nb=2\r\n"},
        WriteCase{"AppendToEmptySection", "[s]\r\n\r\n[t]\r\n", "s", "k", "9", "[s]\r\nk=9\r\n\r\n[t]\r\n"},
        WriteCase{"AppendAtEndWithoutFinalLineEnd", "[s]\r\na=1", "s", "k", "9", "[s]\r\na=1\r\nk=9\r\n"},
        WriteCase{"NewSectionAtEndNoBlankLine", "; top\r\n[t]\r\nb=2\r\n", "s", "k", "1",
                  "; top\r\n[t]\r\nb=2\r\n[s]\r\nk=1\r\n"},
        WriteCase{"NewSectionAfterTrailingBlanks", "[t]\r\nb=2\r\n\r\n", "s", "k", "1",
                  "[t]\r\nb=2\r\n\r\n[s]\r\nk=1\r\n"},
        WriteCase{"NewSectionFileWithoutFinalLineEnd", "[t]\r\nb=2", "s", "k", "1",
                  "[t]\r\nb=2\r\n[s]\r\nk=1\r\n"},
        WriteCase{"LfFileStaysLf", "[t]\nb=2\n", "s", "k", "1", "[t]\nb=2\n[s]\nk=1\n"},
        WriteCase{"LfFileKeyAppend", "[s]\na=1\n", "s", "k", "1", "[s]\na=1\nk=1\n"},
        WriteCase{"CrFileStaysCr", "[s]\ra=1\r", "s", "k", "1", "[s]\ra=1\rk=1\r"},
        WriteCase{"ReplaceKeepsThatLinesEnd", "[s]\nk=1\r\nz=2\n", "s", "k", "5", "[s]\nk=5\r\nz=2\n"},
        WriteCase{"BomKept", kBom + "[s]\r\nk=1\r\n", "s", "k", "2", kBom + "[s]\r\nk=2\r\n"},
        WriteCase{"BomOnlyFile", kBom, "s", "k", "2", kBom + "[s]\r\nk=2\r\n"},
        WriteCase{"KeysBeforeSectionsUntouched", "k=1\r\n[s]\r\n", "s", "k", "2", "k=1\r\n[s]\r\nk=2\r\n"},
        WriteCase{"OddBytesElsewhereKept", "\t[o] x\r\n\x01\xFF junk\r\n[s]\r\nk=1 \t\r\n", "s", "k", "",
                  "\t[o] x\r\n\x01\xFF junk\r\n[s]\r\nk=\r\n"}),
    [](const auto& test) { return std::string(test.param.name); });

struct RejectCase {
    const char* name;
    const char* section;
    const char* key;
    const char* value;
};

class IniTextReject : public ::testing::TestWithParam<RejectCase> {};

// Names or values that would change the file's structure (a value that
// starts a new line, a key that reads as a header) are refused rather than
// written into a file that no longer reads back what was meant.
TEST_P(IniTextReject, RefusesTextThatWouldBreakTheFile) {
    const RejectCase& c = GetParam();
    EXPECT_FALSE(IniText::withValue("[s]\r\nk=1\r\n", c.section, c.key, c.value).has_value());
}

INSTANTIATE_TEST_SUITE_P(Inputs, IniTextReject,
                         ::testing::Values(RejectCase{"LineBreakInValue", "s", "k", "1\r\n[x]"},
                                           RejectCase{"LfInValue", "s", "k", "1\nx=2"},
                                           RejectCase{"LineBreakInKey", "s", "k\nj", "1"},
                                           RejectCase{"LineBreakInSection", "s\rt", "k", "1"},
                                           RejectCase{"EqualsInKey", "s", "a=b", "1"},
                                           RejectCase{"KeyLooksLikeHeader", "s", "[k", "1"},
                                           RejectCase{"EmptyKey", "s", "  ", "1"}),
                         [](const auto& test) { return std::string(test.param.name); });

} // namespace
