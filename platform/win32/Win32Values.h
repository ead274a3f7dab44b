#pragma once

// The point and size the Win32 desktop hands to the program are the
// desktop's own, in the program's space: the primary monitor's top-left
// corner at 0, 0, which is where Windows keeps it too.
#include "ScreenPoint.h"
#include "ScreenSize.h"
