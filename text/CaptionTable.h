#pragma once

#include <cstddef>
#include <span>

// One text the user reads: the id the program asks for it by and the text
// in one language (UTF-8). A text may hold a placeholder in braces, such as
// {path}, that the program fills in (Captions::fill).
struct CaptionRow {
    const char* id;
    const char* text;
};

// Every text in one language. `code` is the language's code as locales and
// language tags begin with it ("ja", "en").
struct LanguageTable {
    const char* code;
    std::span<const CaptionRow> rows;
};

// The tables of every file in text/languages, in no particular order (made
// at build time).
extern const LanguageTable* const kLanguageTables[];
extern const std::size_t kLanguageTableCount;
