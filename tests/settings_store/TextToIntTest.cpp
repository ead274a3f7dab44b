#include "SettingsStore.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct Conversion {
    const char* text;
    std::optional<std::int32_t> expected;
};

class TextToIntTable : public ::testing::TestWithParam<Conversion> {};

TEST_P(TextToIntTable, ConvertsOrRefuses) {
    const Conversion& c = GetParam();
    EXPECT_EQ(textToInt(c.text), c.expected) << "text \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TextToIntTable,
    ::testing::Values(
        Conversion{"12", 12}, Conversion{" 12", 12}, Conversion{"\t7", 7}, Conversion{"+5", 5},
        Conversion{"-5", -5}, Conversion{"0", 0}, Conversion{"007", 7}, Conversion{"$1F", 31},
        Conversion{"$1f", 31}, Conversion{"-$10", -16}, Conversion{"+$A", 10}, Conversion{"$FFFFFFFF", -1},
        Conversion{"$7FFFFFFF", 2147483647}, Conversion{"$80000000", INT32_MIN},
        Conversion{"2147483647", 2147483647}, Conversion{"-2147483648", INT32_MIN},
        Conversion{"$00000000001", 1},
        // Refused: the caller then takes the key's default.
        Conversion{"$100000000", std::nullopt}, Conversion{"2147483648", std::nullopt},
        Conversion{"-2147483649", std::nullopt}, Conversion{"99999999999999999999", std::nullopt},
        Conversion{"12abc", std::nullopt}, Conversion{"12 ", std::nullopt}, Conversion{"", std::nullopt},
        Conversion{"   ", std::nullopt}, Conversion{"-", std::nullopt}, Conversion{"+", std::nullopt},
        Conversion{"$", std::nullopt}, Conversion{"-$", std::nullopt}, Conversion{"- 5", std::nullopt},
        Conversion{"$G", std::nullopt}, Conversion{"$-1", std::nullopt}, Conversion{"--5", std::nullopt},
        Conversion{"0x10", std::nullopt}, Conversion{"1.5", std::nullopt}, Conversion{"abc", std::nullopt}));

struct Stored {
    const char* text;
    std::int32_t expected;
};

class StoredTextTable : public ::testing::TestWithParam<Stored> {};

TEST_P(StoredTextTable, HexPrefixAndDefault) {
    const Stored& c = GetParam();
    EXPECT_EQ(storedTextToInt(c.text, 42), c.expected) << "text \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(Rules, StoredTextTable,
                         ::testing::Values(Stored{"0x3", 3}, Stored{"0X1f", 31}, Stored{"0xFFFFFFFF", -1},
                                           // Exactly two characters are not rewritten, so "0x" is no number.
                                           Stored{"0x", 42}, Stored{"0X", 42}, Stored{"0xG", 42},
                                           // Only a leading prefix counts.
                                           Stored{" 0x3", 42}, Stored{"-0x3", 42}, Stored{"0x-3", 42},
                                           Stored{"03", 3}, Stored{"", 42}, Stored{"seven", 42}));

} // namespace
