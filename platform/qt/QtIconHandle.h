#pragma once

#include <QIcon>

#include "IconHandle.h"

// On the Qt desktops an icon's handle is the address of the caller's QIcon.
inline IconHandle handleOf(const QIcon& icon) {
    return {reinterpret_cast<std::uintptr_t>(&icon)};
}

// The icon a handle names; null for no icon.
inline const QIcon* iconOf(IconHandle icon) {
    return reinterpret_cast<const QIcon*>(icon.id);
}
