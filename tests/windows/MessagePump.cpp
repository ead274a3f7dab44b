#include "MessagePump.h"

#include <windows.h>

bool pumpUntil(const std::function<bool()>& done) {
    constexpr DWORD kQuietLimitMs = 10000;
    while (!done()) {
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            continue;
        }
        if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, kQuietLimitMs, QS_ALLINPUT) == WAIT_TIMEOUT)
            return false;
    }
    return true;
}
