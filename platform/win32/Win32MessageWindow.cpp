#include "Win32MessageWindow.h"

#include "KuvitoError.h"
#include "Win32MessageLoop.h"

#include <windows.h>

namespace {

constexpr wchar_t kClassName[] = L"kuvito message window";

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The handler is attached once the window exists; what comes before
    // (creation) and after (destruction) gets the default handling.
    const auto* attached = reinterpret_cast<std::shared_ptr<Win32MessageWindow::Handler>*>(
        ::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (attached && *attached) {
        const std::shared_ptr<Win32MessageWindow::Handler> handler = *attached;
        if (const auto result =
                Win32MessageLoop::guarded([&] { return (*handler)(message, wParam, lParam); }))
            return *result;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

bool registerClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

Win32MessageWindow::Win32MessageWindow(Handler handler, Kind kind)
    : handler_(std::make_shared<Handler>(std::move(handler))) {
    static const bool registered = registerClass();
    const bool hidden = kind == Kind::Hidden;
    HWND window = registered
                      ? ::CreateWindowExW(hidden ? WS_EX_TOOLWINDOW : 0, kClassName, L"",
                                          hidden ? WS_POPUP : 0, 0, 0, 0, 0, hidden ? nullptr : HWND_MESSAGE,
                                          nullptr, ::GetModuleHandleW(nullptr), nullptr)
                      : nullptr;
    if (!window)
        throw KuvitoError("Windows refused the program's message window (error " +
                          std::to_string(::GetLastError()) + ")");
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&handler_));
    handle_ = reinterpret_cast<std::uintptr_t>(window);
}

Win32MessageWindow::~Win32MessageWindow() {
    HWND window = reinterpret_cast<HWND>(handle_);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    ::DestroyWindow(window);
}
