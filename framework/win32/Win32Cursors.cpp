#include "Win32Cursors.h"

#include <array>
#include <utility>

HCURSOR win32Cursor(TCursor cursor) {
    if (cursor == Cursors::crNone)
        return nullptr;
    static const std::array<std::pair<TCursor, LPCSTR>, 21> shapes{{
        {Cursors::crCross, IDC_CROSS},
        {Cursors::crIBeam, IDC_IBEAM},
        {-5, IDC_SIZEALL}, // crSize of old layouts
        {Cursors::crSizeNESW, IDC_SIZENESW},
        {Cursors::crSizeNS, IDC_SIZENS},
        {Cursors::crSizeNWSE, IDC_SIZENWSE},
        {Cursors::crSizeWE, IDC_SIZEWE},
        {Cursors::crUpArrow, IDC_UPARROW},
        {Cursors::crHourGlass, IDC_WAIT},
        {Cursors::crDrag, IDC_ARROW},
        {Cursors::crNoDrop, IDC_NO},
        {Cursors::crHSplit, IDC_SIZEWE},
        {Cursors::crVSplit, IDC_SIZENS},
        {Cursors::crMultiDrag, IDC_ARROW},
        {Cursors::crSQLWait, IDC_WAIT},
        {Cursors::crNo, IDC_NO},
        {Cursors::crAppStart, IDC_APPSTARTING},
        {Cursors::crHelp, IDC_HELP},
        {Cursors::crHandPoint, IDC_HAND},
        {Cursors::crSizeAll, IDC_SIZEALL},
        {Cursors::crArrow, IDC_ARROW},
    }};
    for (const auto& [number, id] : shapes)
        if (number == cursor)
            return LoadCursorA(nullptr, id);
    return LoadCursorA(nullptr, IDC_ARROW);
}
