// The two kinds of hidden window: only the top-level one hears what Windows
// sends to every window, as the notification icon's window must (the end of
// the session, the taskbar coming back).
#include "Win32MessageWindow.h"
#include "MessagePump.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(Win32MessageWindow, OnlyTheHiddenTopLevelKindHearsBroadcasts) {
    const UINT broadcast = ::RegisterWindowMessageW(L"kuvito test broadcast");
    ASSERT_NE(broadcast, 0u);
    int heardByHidden = 0, heardByMessageOnly = 0;
    const auto counter = [&](int& heard) {
        return [&heard, broadcast](unsigned message, std::uintptr_t,
                                   std::intptr_t) -> std::optional<std::intptr_t> {
            if (message != broadcast)
                return std::nullopt;
            ++heard;
            return 0;
        };
    };
    Win32MessageWindow messageOnly(counter(heardByMessageOnly));
    Win32MessageWindow hidden(counter(heardByHidden), Win32MessageWindow::Kind::Hidden);
    ASSERT_TRUE(::PostMessageW(HWND_BROADCAST, broadcast, 0, 0));
    ASSERT_TRUE(pumpUntil([&] { return heardByHidden == 1; }));
    EXPECT_EQ(heardByMessageOnly, 0);
    EXPECT_FALSE(::IsWindowVisible(reinterpret_cast<HWND>(hidden.handle())));
}

} // namespace
