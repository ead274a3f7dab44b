// How XWayland's window manager holds the mascot's window, by the name it
// publishes (_NET_WM_NAME of its check window, as each compositor spells it).

#include "MascotHolding.h"

#include <gtest/gtest.h>

TEST(MascotHolding, FollowsWhatEachCompositorWasMeasuredToDo) {
    const std::vector<std::pair<const char*, MascotHolding::Kind>> cases = {
        {"GNOME Shell", MascotHolding::UnmanagedWhileOnTopDockBehind},
        {"Mutter (Muffin)", MascotHolding::UnmanagedWhileOnTopDockBehind},
        {"KWin", MascotHolding::UnmanagedWhileOnTop},
        {"wlroots wm", MascotHolding::Unmanaged},
        {"", MascotHolding::Unmanaged},
    };
    for (const auto& [name, kind] : cases)
        EXPECT_EQ(MascotHolding::onXWayland(name), kind) << name;
}
