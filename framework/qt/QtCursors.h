#pragma once

#include <Qt>

#include "Cursors.h"

// The Qt cursor shown for each classic cursor number.
Qt::CursorShape toQtCursor(TCursor cursor);
