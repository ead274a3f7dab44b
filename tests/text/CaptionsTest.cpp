#include "Captions.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

namespace {

const LanguageTable& japanese() {
    return *Captions::table(Captions::kJapanese);
}

std::multiset<std::string> ids(const LanguageTable& table) {
    std::multiset<std::string> result;
    for (const CaptionRow& row : table.rows)
        result.insert(row.id);
    return result;
}

// The "{name}" placeholders of a text, which the program fills in.
std::multiset<std::string> placeholders(std::string_view text) {
    std::multiset<std::string> result;
    for (std::size_t open = text.find('{'); open != std::string_view::npos; open = text.find('{', open + 1))
        result.emplace(text.substr(open, text.find('}', open) - open + 1));
    return result;
}

// Whether a caption marks a key with "&" (a menu item's or button's).
bool hasMnemonic(std::string_view text) {
    const std::size_t amp = text.find('&');
    return amp != std::string_view::npos && amp + 1 < text.size() && text[amp + 1] != '&';
}

class CaptionsTest : public ::testing::Test {
protected:
    void TearDown() override { Captions::useLanguage(Captions::kJapanese); }
};

// Every table names exactly the ids of the Japanese one, once each, and each
// text keeps what the program relies on: the placeholders it fills and, where
// the Japanese caption marks a key, a key mark.
TEST_F(CaptionsTest, EveryLanguageHasEveryIdWithItsPlaceholdersAndKeyMarks) {
    const std::multiset<std::string> reference = ids(japanese());
    EXPECT_EQ(std::set<std::string>(reference.begin(), reference.end()).size(), reference.size())
        << "an id twice in the Japanese table";
    std::set<std::string> codes;
    for (const LanguageTable* table : Captions::tables()) {
        SCOPED_TRACE(table->code);
        EXPECT_TRUE(codes.insert(table->code).second) << "two tables for one language";
        EXPECT_EQ(ids(*table), reference);
        for (const CaptionRow& row : japanese().rows) {
            const char* text = Captions::find(*table, row.id);
            if (!text)
                continue;
            SCOPED_TRACE(row.id);
            EXPECT_NE(*text, '\0');
            EXPECT_EQ(placeholders(text), placeholders(row.text));
            if (hasMnemonic(row.text)) {
                EXPECT_TRUE(hasMnemonic(text)) << text;
            }
        }
    }
}

// The stored layout's captions are found by their Japanese text: two ids with
// one Japanese text must read the same in every language, or the one found
// first would stand for both.
TEST_F(CaptionsTest, StoredJapaneseCaptionsReadTheSameForOneJapaneseText) {
    for (const LanguageTable* table : Captions::tables()) {
        Captions::useLanguage(table->code);
        for (const CaptionRow& row : japanese().rows) {
            SCOPED_TRACE(std::string(table->code) + " " + row.id);
            EXPECT_EQ(Captions::fromJapanese(row.text), Captions::find(*table, row.id));
        }
    }
}

TEST_F(CaptionsTest, FallsBackToJapaneseAndLeavesUnknownTextsAlone) {
    Captions::useLanguage("en");
    EXPECT_EQ(Captions::language(), "en");
    EXPECT_NE(Captions::text("app.title"), japanese().rows.front().text);
    EXPECT_EQ(Captions::fromJapanese("-"), "-");
    EXPECT_EQ(Captions::text("no.such.id"), "no.such.id");
    Captions::useLanguage("xx");
    EXPECT_EQ(Captions::language(), Captions::kJapanese);
    EXPECT_EQ(Captions::text("app.title"), japanese().rows.front().text);
}

TEST_F(CaptionsTest, FillReplacesEveryPlaceholder) {
    Captions::useLanguage("en");
    // A value that holds the placeholder itself is put in once, not again.
    const std::string filled = Captions::fill("error.unwritable", "path", "{path}");
    EXPECT_EQ(filled.find("{path}"), filled.rfind("{path}")) << filled;
    const std::string quoted = Captions::fill("session.quote", "mode", "@");
    EXPECT_EQ(quoted.find("{mode}"), std::string::npos);
    EXPECT_NE(quoted.find('@'), std::string::npos);
}

} // namespace
