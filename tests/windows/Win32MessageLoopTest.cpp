// The program's message loop on Windows: an exception from one message's
// handler is handed to the program (which shows it) and the loop goes on with
// the next message, including after a loop nested in a handler; quit() ends
// run() with its code.
#include "Win32MessageLoop.h"
#include "KuvitoError.h"
#include "ShownExceptions.h"
#include "Win32MessageWindow.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

TEST(Win32MessageLoopTest, AnExceptionFromAHandlerIsShownAndTheLoopGoesOnUntilQuit) {
    ShownExceptions shown;
    Win32MessageLoop loop;
    std::vector<unsigned> handled;
    HWND target = nullptr;
    Win32MessageWindow window(
        [&](unsigned message, std::uintptr_t, std::intptr_t) -> std::optional<std::intptr_t> {
            if (message < WM_APP)
                return std::nullopt;
            handled.push_back(message - WM_APP);
            switch (message - WM_APP) {
            case 0:
                throw KuvitoError("in the main loop");
            case 1: {
                // A loop nested in a handler, as a drag or a modal dialog runs
                // one: its messages' exceptions are caught there too.
                ::PostMessageW(target, WM_APP + 2, 0, 0);
                ::PostMessageW(target, WM_APP + 3, 0, 0);
                MSG nested{};
                while (handled.back() != 3 && ::GetMessageW(&nested, nullptr, 0, 0) > 0)
                    ::DispatchMessageW(&nested);
                ::PostMessageW(target, WM_APP + 4, 0, 0);
                return 0;
            }
            case 2:
                throw KuvitoError("in a nested loop");
            case 4:
                loop.quit(7);
                return 0;
            default:
                return 0;
            }
        });
    target = reinterpret_cast<HWND>(window.handle());
    ::PostMessageW(target, WM_APP + 0, 0, 0);
    ::PostMessageW(target, WM_APP + 1, 0, 0);

    EXPECT_EQ(loop.run(), 7);
    EXPECT_EQ(handled, (std::vector<unsigned>{0, 1, 2, 3, 4}));
    EXPECT_EQ(shown.texts, (std::vector<std::string>{"in the main loop", "in a nested loop"}));
    // What was left in the queue after quit is not this test's.
    MSG rest{};
    while (::PeekMessageW(&rest, nullptr, 0, 0, PM_REMOVE)) {
    }
}

} // namespace
