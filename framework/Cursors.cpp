#include "Cursors.h"

#include "KuvitoError.h"

#include <array>
#include <utility>

namespace {
struct Entry {
    TCursor number;
    const char* name;
    Qt::CursorShape shape;
};
constexpr std::array<Entry, 22> table{{
    {0, "crDefault", Qt::ArrowCursor},
    {-1, "crNone", Qt::BlankCursor},
    {-2, "crArrow", Qt::ArrowCursor},
    {-3, "crCross", Qt::CrossCursor},
    {-4, "crIBeam", Qt::IBeamCursor},
    {-6, "crSizeNESW", Qt::SizeBDiagCursor},
    {-7, "crSizeNS", Qt::SizeVerCursor},
    {-8, "crSizeNWSE", Qt::SizeFDiagCursor},
    {-9, "crSizeWE", Qt::SizeHorCursor},
    {-10, "crUpArrow", Qt::UpArrowCursor},
    {-11, "crHourGlass", Qt::WaitCursor},
    {-12, "crDrag", Qt::DragCopyCursor},
    {-13, "crNoDrop", Qt::ForbiddenCursor},
    {-14, "crHSplit", Qt::SplitHCursor},
    {-15, "crVSplit", Qt::SplitVCursor},
    {-16, "crMultiDrag", Qt::DragCopyCursor},
    {-17, "crSQLWait", Qt::WaitCursor},
    {-18, "crNo", Qt::ForbiddenCursor},
    {-19, "crAppStart", Qt::BusyCursor},
    {-20, "crHelp", Qt::WhatsThisCursor},
    {-21, "crHandPoint", Qt::PointingHandCursor},
    {-22, "crSizeAll", Qt::SizeAllCursor},
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

Qt::CursorShape Cursors::toQt(TCursor cursor) {
    for (const Entry& e : table)
        if (e.number == cursor)
            return e.shape;
    if (cursor == -5) // crSize of old layouts
        return Qt::SizeAllCursor;
    return Qt::ArrowCursor;
}

TCursor Cursors::fromStored(const FormValue& value) {
    if (value.type != FormValue::Type::Ident)
        return value.asInt32();
    auto cursor = fromName(value.text);
    if (!cursor)
        throw KuvitoError("カーソル " + value.text + " は存在しません", KuvitoError::Kind::Conversion);
    return *cursor;
}
