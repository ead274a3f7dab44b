#pragma once

#include <string>
#include <string_view>

// Which table of text/languages the user reads: Japanese for Japanese and
// for the C (POSIX) locale, which the program has always spoken Japanese in;
// a language with a table of its own in that language; English for every
// other language. The answers are codes Captions::useLanguage takes.
class LanguageChoice {
public:
    static constexpr std::string_view kEnglish = "en";

    // On Linux, from the environment as gettext reads it for messages: the
    // locale is the first set of LC_ALL, LC_MESSAGES and LANG (C when none
    // is); unless it is C, LANGUAGE (a colon-separated list) comes first,
    // its first entry with a table winning. Null and empty mean unset.
    static std::string fromEnvironment(const char* lcAll, const char* lcMessages, const char* lang,
                                       const char* language);
    // From one locale name or language tag ("ja_JP.UTF-8", "de-DE", "fr").
    static std::string fromName(std::string_view name);
};
