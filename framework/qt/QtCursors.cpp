#include "QtCursors.h"

#include <array>
#include <utility>

namespace {
constexpr std::array<std::pair<TCursor, Qt::CursorShape>, 23> shapes{{
    {Cursors::crDefault, Qt::ArrowCursor},      {Cursors::crNone, Qt::BlankCursor},
    {Cursors::crArrow, Qt::ArrowCursor},        {Cursors::crCross, Qt::CrossCursor},
    {Cursors::crIBeam, Qt::IBeamCursor},        {-5, Qt::SizeAllCursor}, // crSize of old layouts
    {Cursors::crSizeNESW, Qt::SizeBDiagCursor}, {Cursors::crSizeNS, Qt::SizeVerCursor},
    {Cursors::crSizeNWSE, Qt::SizeFDiagCursor}, {Cursors::crSizeWE, Qt::SizeHorCursor},
    {Cursors::crUpArrow, Qt::UpArrowCursor},    {Cursors::crHourGlass, Qt::WaitCursor},
    {Cursors::crDrag, Qt::DragCopyCursor},      {Cursors::crNoDrop, Qt::ForbiddenCursor},
    {Cursors::crHSplit, Qt::SplitHCursor},      {Cursors::crVSplit, Qt::SplitVCursor},
    {Cursors::crMultiDrag, Qt::DragCopyCursor}, {Cursors::crSQLWait, Qt::WaitCursor},
    {Cursors::crNo, Qt::ForbiddenCursor},       {Cursors::crAppStart, Qt::BusyCursor},
    {Cursors::crHelp, Qt::WhatsThisCursor},     {Cursors::crHandPoint, Qt::PointingHandCursor},
    {Cursors::crSizeAll, Qt::SizeAllCursor},
}};
} // namespace

Qt::CursorShape toQtCursor(TCursor cursor) {
    for (const auto& [number, shape] : shapes)
        if (number == cursor)
            return shape;
    return Qt::ArrowCursor;
}
