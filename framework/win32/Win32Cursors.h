#pragma once

#include <windows.h>

#include "Cursors.h"

// The system cursor shown for each classic cursor number; crNone hides the
// pointer.
HCURSOR win32Cursor(TCursor cursor);
