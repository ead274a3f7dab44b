#include "LanguageChoice.h"

#include "Captions.h"

namespace {

bool isSet(const char* value) {
    return value && *value;
}

// The language part of a locale name or tag: "ja_JP.UTF-8@x" and "ja-JP"
// both name "ja".
std::string_view languageOf(std::string_view name) {
    return name.substr(0, name.find_first_of("_-.@"));
}

// The C locale by any of its names; the program speaks Japanese there, as it
// always has.
bool isCLocale(std::string_view locale) {
    return locale == "C" || locale == "POSIX" || languageOf(locale) == "C";
}

} // namespace

std::string LanguageChoice::fromName(std::string_view name) {
    if (isCLocale(name))
        return std::string(Captions::kJapanese);
    const std::string_view code = languageOf(name);
    return std::string(Captions::table(code) ? code : kEnglish);
}

std::string LanguageChoice::fromEnvironment(const char* lcAll, const char* lcMessages, const char* lang,
                                            const char* language) {
    const char* locale = isSet(lcAll) ? lcAll : isSet(lcMessages) ? lcMessages : isSet(lang) ? lang : "C";
    if (isCLocale(locale))
        return std::string(Captions::kJapanese);
    if (isSet(language)) {
        std::string_view list(language);
        bool named = false;
        while (!list.empty()) {
            const std::size_t colon = list.find(':');
            const std::string_view entry = list.substr(0, colon);
            list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
            if (entry.empty())
                continue;
            named = true;
            if (Captions::table(languageOf(entry)))
                return std::string(languageOf(entry));
        }
        // The user asked for languages the program does not have: the one
        // every other language reads.
        if (named)
            return std::string(kEnglish);
    }
    return fromName(locale);
}
