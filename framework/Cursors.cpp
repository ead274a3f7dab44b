#include "Cursors.h"

#include "KuvitoError.h"

#include <array>
#include <utility>

namespace {
struct Entry {
    TCursor number;
    const char* name;
};
constexpr std::array<Entry, 22> table{{
    {0, "crDefault"},     {-1, "crNone"},     {-2, "crArrow"},    {-3, "crCross"},     {-4, "crIBeam"},
    {-6, "crSizeNESW"},   {-7, "crSizeNS"},   {-8, "crSizeNWSE"}, {-9, "crSizeWE"},    {-10, "crUpArrow"},
    {-11, "crHourGlass"}, {-12, "crDrag"},    {-13, "crNoDrop"},  {-14, "crHSplit"},   {-15, "crVSplit"},
    {-16, "crMultiDrag"}, {-17, "crSQLWait"}, {-18, "crNo"},      {-19, "crAppStart"}, {-20, "crHelp"},
    {-21, "crHandPoint"}, {-22, "crSizeAll"},
}};
} // namespace

std::optional<TCursor> Cursors::fromName(const std::string& name) {
    for (const Entry& e : table)
        if (name == e.name)
            return e.number;
    if (name == "crSize") // the older name of crSizeAll
        return crSizeAll;
    return std::nullopt;
}

std::string Cursors::toName(TCursor cursor) {
    for (const Entry& e : table)
        if (e.number == cursor)
            return e.name;
    return {};
}

TCursor Cursors::fromStored(const FormValue& value) {
    if (value.type != FormValue::Type::Ident)
        return value.asInt32();
    auto cursor = fromName(value.text);
    if (!cursor)
        throw KuvitoError("カーソル " + value.text + " は存在しません", KuvitoError::Kind::Conversion);
    return *cursor;
}
