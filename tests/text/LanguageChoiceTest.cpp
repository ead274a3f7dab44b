#include "LanguageChoice.h"

#include <gtest/gtest.h>

namespace {

struct EnvironmentCase {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    const char* language;
    const char* expected;
};

// gettext's order: LC_ALL over LC_MESSAGES over LANG, unset and empty alike;
// LANGUAGE first unless the locale is C; C and POSIX speak Japanese.
const EnvironmentCase kEnvironments[] = {
    {nullptr, nullptr, nullptr, nullptr, "ja"},
    {"", "", "", "", "ja"},
    {nullptr, nullptr, "C", nullptr, "ja"},
    {nullptr, nullptr, "POSIX", nullptr, "ja"},
    {nullptr, nullptr, "C.UTF-8", nullptr, "ja"},
    {nullptr, nullptr, "ja_JP.UTF-8", nullptr, "ja"},
    {nullptr, nullptr, "en_US", nullptr, "en"},
    {nullptr, nullptr, "de_DE.UTF-8", nullptr, "en"},
    {"C", nullptr, "de_DE.UTF-8", nullptr, "ja"},
    {"de_DE.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8", nullptr, "en"},
    {"", "ja_JP.UTF-8", "en_US.UTF-8", nullptr, "ja"},
    {nullptr, "en_US.UTF-8", "ja_JP.UTF-8", nullptr, "en"},
    {nullptr, nullptr, "C", "en_US", "ja"},
    {nullptr, nullptr, "en_US.UTF-8", "ja", "ja"},
    {nullptr, nullptr, "ja_JP.UTF-8", "de", "en"},
    {nullptr, nullptr, "en_US.UTF-8", "de:ja_JP", "ja"},
    {nullptr, nullptr, "ja_JP.UTF-8", ":", "ja"},
    {nullptr, nullptr, "de_DE@euro", "", "en"},
};

TEST(LanguageChoiceTest, FollowsTheEnvironmentAsGettextReadsIt) {
    for (const EnvironmentCase& c : kEnvironments) {
        auto shown = [](const char* v) { return v ? "\"" + std::string(v) + "\"" : std::string("unset"); };
        SCOPED_TRACE("LC_ALL=" + shown(c.lcAll) + " LC_MESSAGES=" + shown(c.lcMessages) +
                     " LANG=" + shown(c.lang) + " LANGUAGE=" + shown(c.language));
        EXPECT_EQ(LanguageChoice::fromEnvironment(c.lcAll, c.lcMessages, c.lang, c.language), c.expected);
    }
}

// Windows' user interface language arrives as a tag.
TEST(LanguageChoiceTest, TakesLanguageTags) {
    EXPECT_EQ(LanguageChoice::fromName("ja-JP"), "ja");
    EXPECT_EQ(LanguageChoice::fromName("en-GB"), "en");
    EXPECT_EQ(LanguageChoice::fromName("fr-FR"), "en");
}

} // namespace
