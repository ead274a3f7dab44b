#pragma once

#include "CaptionTable.h"

#include <span>
#include <string>
#include <string_view>

// The texts the user reads, in the language chosen at start-up. Japanese is
// the program's own language: its table names every id, and a text missing
// from another table is shown in Japanese rather than not at all.
//
// The language is chosen once, before the first window is made, and is the
// same for every window and message of the run; tests that do not choose one
// see Japanese.
class Captions {
public:
    static constexpr std::string_view kJapanese = "ja";

    // The table whose texts text() gives from now on; a code without a table
    // keeps Japanese.
    static void useLanguage(std::string_view code);
    static std::string_view language();

    // The text of `id` in the language in use (Japanese when that table
    // lacks it, the id itself when no table has it).
    static std::string text(std::string_view id);
    // text(id) with every "{key}" replaced by `value`.
    static std::string fill(std::string_view id, std::string_view key, std::string_view value);
    // A caption stored in Japanese (the mascot window's layout is built with
    // the Japanese texts) in the language in use: the text of the id whose
    // Japanese it is, or the caption unchanged when no id has it.
    static std::string fromJapanese(std::string_view stored);

    // The table of a language, or null.
    static const LanguageTable* table(std::string_view code);
    static std::span<const LanguageTable* const> tables();
    // The text of `id` in one table, or null when the table lacks it.
    static const char* find(const LanguageTable& table, std::string_view id);
};
