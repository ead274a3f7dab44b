#include "IniText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct ReadCase {
    const char* name;
    std::string content;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class IniTextRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniTextRead, FindsTheValueTheFormatDefines) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(IniText::findValue(c.content, c.section, c.key), c.expected);
}

const std::string kBom = "\xEF\xBB\xBF";

INSTANTIATE_TEST_SUITE_P(
    Rules, IniTextRead,
    ::testing::Values(
        ReadCase{"Plain", "[kuvito]\r\nspeed=3\r\n", "kuvito", "speed", "3"},
        ReadCase{"LfOnly", "[kuvito]\nspeed=3\n", "kuvito", "speed", "3"},
        ReadCase{"CrOnly", "[kuvito]\rspeed=3\ridour=4", "kuvito", "idour", "4"},
        ReadCase{"NoFinalLineEnd", "[kuvito]\r\nspeed=3", "kuvito", "speed", "3"},
        ReadCase{"BomSkipped", kBom + "[kuvito]\r\nspeed=3\r\n", "kuvito", "speed", "3"},
        ReadCase{"BomOnlyAtStart", "x\r\n" + kBom + "[kuvito]\r\nspeed=3\r\n", "kuvito", "speed",
                 std::nullopt},
        ReadCase{"BlanksTrimmed", " \t[ kuvito ] \r\n \v speed \t=\f 3 \x1A\r\n", "kuvito", "speed", "3"},
        ReadCase{"BlankLinesIgnored", "\r\n\r\n[kuvito]\r\n\r\n   \r\nspeed=3\r\n", "kuvito", "speed", "3"},
        ReadCase{"SectionNameToLastBracket", "[a]b] trailing\r\nk=1\r\n", "a]b", "k", "1"},
        ReadCase{"TextAfterHeaderIgnored", "[kuvito] ; note\r\nspeed=3\r\n", "kuvito", "speed", "3"},
        ReadCase{"HeaderWithoutBracket", "[kuvito\r\nspeed=3\r\n", "kuvito", "speed", "3"},
        ReadCase{"SplitAtFirstEquals", "[s]\r\nk=a=b\r\n", "s", "k", "a=b"},
        ReadCase{"EmptyValue", "[s]\r\nk=\r\n", "s", "k", ""},
        ReadCase{"KeyWithoutEqualsGivesDefault", "[s]\r\nk\r\nk=2\r\n", "s", "k", std::nullopt},
        ReadCase{"SemicolonLineIsAKey", "[s]\r\n;k=1\r\n", "s", ";k", "1"},
        ReadCase{"NoInlineComment", "[s]\r\nk=1 ; two\r\n", "s", "k", "1 ; two"},
        ReadCase{"SectionCaseInsensitive", "[KuViTo]\r\nspeed=3\r\n", "kuvito", "speed", "3"},
        ReadCase{"KeyCaseInsensitive", "[kuvito]\r\nSPEED=3\r\n", "kuvito", "speed", "3"},
        ReadCase{"FirstKeyWins", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "1"},
        ReadCase{"FirstSectionWins", "[s]\r\na=1\r\n[S]\r\nk=2\r\n", "s", "k", std::nullopt},
        ReadCase{"OtherSectionNotSearched", "[t]\r\nk=1\r\n[s]\r\nj=2\r\n", "s", "k", std::nullopt},
        ReadCase{"KeysBeforeAnySection", "k=1\r\n[s]\r\n", "s", "k", std::nullopt},
        ReadCase{"MissingSection", "[t]\r\nk=1\r\n", "s", "k", std::nullopt},
        ReadCase{"EmptyContent", "", "s", "k", std::nullopt},
        ReadCase{"DoubleQuotesStripped", "[s]\r\nk=\"a b\"\r\n", "s", "k", "a b"},
        ReadCase{"SingleQuotesStripped", "[s]\r\nk='x'\r\n", "s", "k", "x"},
        ReadCase{"QuotesInsideTrim", "[s]\r\nk= \" a \" \r\n", "s", "k", " a "},
        ReadCase{"MixedQuotesKept", "[s]\r\nk=\"x'\r\n", "s", "k", "\"x'"},
        ReadCase{"LoneQuoteKept", "[s]\r\nk=\"\r\n", "s", "k", "\""},
        ReadCase{"EmptyQuotes", "[s]\r\nk=\"\"\r\n", "s", "k", ""},
        ReadCase{"NamesFromCallerTrimmed", "[s]\r\nk=1\r\n", " s ", " k ", "1"},
        ReadCase{"NonAsciiBytesKept", "[s]\r\nk=\xE3\x81\x82\r\n", "s", "k", "\xE3\x81\x82"},
        ReadCase{"EmbeddedZeroByte", std::string("[s]\r\nk=a\0b\r\n", 12), "s", "k", std::string("a\0b", 3)}),
    [](const auto& test) { return std::string(test.param.name); });

} // namespace
