#include "Captions.h"

namespace {

const LanguageTable* inUse = nullptr;

const LanguageTable* japanese() {
    return Captions::table(Captions::kJapanese);
}

} // namespace

std::span<const LanguageTable* const> Captions::tables() {
    return {kLanguageTables, kLanguageTableCount};
}

const LanguageTable* Captions::table(std::string_view code) {
    for (const LanguageTable* t : tables())
        if (t->code == code)
            return t;
    return nullptr;
}

const char* Captions::find(const LanguageTable& table, std::string_view id) {
    for (const CaptionRow& row : table.rows)
        if (row.id == id)
            return row.text;
    return nullptr;
}

void Captions::useLanguage(std::string_view code) {
    inUse = table(code);
}

std::string_view Captions::language() {
    return inUse ? inUse->code : kJapanese;
}

std::string Captions::text(std::string_view id) {
    for (const LanguageTable* t : {inUse, japanese()})
        if (t)
            if (const char* found = find(*t, id))
                return found;
    return std::string(id);
}

std::string Captions::fill(std::string_view id, std::string_view key, std::string_view value) {
    std::string result = text(id);
    const std::string placeholder = "{" + std::string(key) + "}";
    for (std::size_t at = result.find(placeholder); at != std::string::npos;
         at = result.find(placeholder, at + value.size()))
        result.replace(at, placeholder.size(), value);
    return result;
}

std::string Captions::fromJapanese(std::string_view stored) {
    if (const LanguageTable* reference = japanese())
        for (const CaptionRow& row : reference->rows)
            if (row.text == stored)
                return text(row.id);
    return std::string(stored);
}
