#pragma once

#include <QWidget>

#include "WindowHandle.h"

// On the Qt desktops a window's handle names its widget, not its native
// window: the program speaks of a window before Qt has made the native one
// (its shape, its taskbar button and its top-most state are settled before
// it is first shown), and a native window made early would be made without
// them.
inline WindowHandle handleOf(const QWidget& window) {
    return {reinterpret_cast<std::uintptr_t>(&window)};
}

inline QWidget& widgetOf(WindowHandle window) {
    return *reinterpret_cast<QWidget*>(window.id);
}
