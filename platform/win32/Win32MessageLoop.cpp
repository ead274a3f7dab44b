#include "Win32MessageLoop.h"

#include "KuvitoError.h"

#include <windows.h>

#include <string>

int Win32MessageLoop::run() {
    MSG message{};
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(message.wParam);
        if (got == -1)
            throw KuvitoError("Windows could not read the program's messages (error " +
                              std::to_string(::GetLastError()) + ")");
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void Win32MessageLoop::quit(int exitCode) {
    ::PostQuitMessage(exitCode);
}
