// The notification-area icon added, changed and removed through Windows'
// own call, on a message window as the program's tray component uses it.
// Needs a display with a notification area.
#include "Win32NotifyIcon.h"
#include "Win32MessageWindow.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(Win32NotifyIcon, AnIconIsAddedChangedAndRemovedOnce) {
    Win32MessageWindow window([](unsigned, std::uintptr_t, std::intptr_t) { return std::nullopt; });
    Win32NotifyIcon::Record record;
    record.window = window.handle();
    // The system's application icon (IDI_APPLICATION, which the headers
    // spell as a narrow name).
    record.icon = reinterpret_cast<std::uintptr_t>(::LoadIconW(nullptr, MAKEINTRESOURCEW(32512)));
    record.tip = "kuvito";
    using Op = Win32NotifyIcon::Operation;
    ASSERT_TRUE(Win32NotifyIcon::apply(Op::Add, record));
    EXPECT_FALSE(Win32NotifyIcon::apply(Op::Add, record)) << "the same window and id twice";
    record.flags = 4;
    record.tip = "かわいい";
    EXPECT_TRUE(Win32NotifyIcon::apply(Op::Modify, record));
    EXPECT_TRUE(Win32NotifyIcon::apply(Op::Delete, record));
    EXPECT_FALSE(Win32NotifyIcon::apply(Op::Delete, record));
    EXPECT_FALSE(Win32NotifyIcon::apply(Op::Modify, record));
}

} // namespace
