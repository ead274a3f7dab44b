#include "Win32SessionClaim.h"

#include "Win32MessageWindow.h"

#include <windows.h>

namespace {
const wchar_t* const kMutexName = L"Local\\kuvito.session";
const wchar_t* const kComeForwardMessage = L"kuvito.ComeForward";
} // namespace

Win32SessionClaim::Win32SessionClaim(std::function<void()> comeForward) {
    const UINT comeForwardMessage = ::RegisterWindowMessageW(kComeForwardMessage);
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, kMutexName);
    if (mutex && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        if (comeForwardMessage != 0)
            ::PostMessageW(HWND_BROADCAST, comeForwardMessage, 0, 0);
        return;
    }
    // A session that refuses the name (it is taken by an object of another
    // kind) cannot tell; the program runs.
    owned_ = true;
    mutex_ = reinterpret_cast<std::uintptr_t>(mutex);
    window_ = std::make_unique<Win32MessageWindow>(
        [comeForwardMessage, comeForward = std::move(comeForward)](
            unsigned message, std::uintptr_t, std::intptr_t) -> std::optional<std::intptr_t> {
            if (comeForwardMessage == 0 || message != comeForwardMessage)
                return std::nullopt;
            if (comeForward)
                comeForward();
            return 0;
        },
        Win32MessageWindow::Kind::Hidden);
}

Win32SessionClaim::~Win32SessionClaim() {
    window_.reset();
    if (mutex_ != 0)
        ::CloseHandle(reinterpret_cast<HANDLE>(mutex_));
}
