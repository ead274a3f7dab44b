#pragma once

// The screen edge the taskbar lies on.
enum class TaskbarEdge { Bottom, Top, Right, Left };
