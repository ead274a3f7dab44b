// What kuvito.exe's end-to-end scripts need from inside Windows, which X
// cannot show them:
//
//   exe-probe.exe hold FILE     opens FILE with no sharing, as an editor or a
//                               virus scanner may, writes "held", and keeps it
//                               so until "exe-probe.exe release" (two minutes
//                               at most, should the script not get there)
//   exe-probe.exe release       ends the hold
//   exe-probe.exe texts TITLE   writes the texts of the controls of each shown
//                               window captioned TITLE, one a line
//   exe-probe.exe window        shows a window with a caption ("kuvito probe
//                               window") in front, writes "shown", and keeps it
//                               until "exe-probe.exe release window"
//   exe-probe.exe fullscreen    the same with a window without a frame filling
//                               the primary monitor, taskbar included
//                               ("kuvito probe full screen"), until
//                               "exe-probe.exe release fullscreen"
//   exe-probe.exe front         writes the caption of the window in front as
//                               Windows has it (X's active window may differ)
//
// Everything it writes is UTF-8; it ends with 0 when it did what was asked.
#include "Utf16.h"

#include <windows.h>

#include <string>

namespace {

void writeLine(const std::wstring& text) {
    const std::string line = Utf16::toUtf8(text) + "\n";
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written,
                nullptr);
}

// A named event rather than the standard input or a signal: Wine's own
// processes inherit and keep the script's pipes, and the script knows the
// process only by the Wine loader's id. Each thing held has its own.
std::wstring releaseEvent(const std::wstring& what) {
    return L"Local\\kuvito-exe-probe-release-" + what;
}

int hold(const wchar_t* path) {
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, releaseEvent(L"hold").c_str());
    HANDLE file = ::CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (!release || file == INVALID_HANDLE_VALUE)
        return 1;
    ::ResetEvent(release);
    writeLine(L"held");
    ::WaitForSingleObject(release, 120000);
    ::CloseHandle(file);
    ::CloseHandle(release);
    return 0;
}

int releaseHold(const std::wstring& what) {
    HANDLE release = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, releaseEvent(what).c_str());
    const bool released = release && ::SetEvent(release);
    if (release)
        ::CloseHandle(release);
    return released ? 0 : 1;
}

// Shows a window in front until released, dispatching its messages meanwhile.
int showUntilReleased(const std::wstring& what, bool fullScreen) {
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, releaseEvent(what).c_str());
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = L"kuvito probe";
    ::RegisterClassW(&wc);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT r = fullScreen ? monitor.rcMonitor : RECT{200, 150, 700, 450};
    HWND window = ::CreateWindowExW(
        0, wc.lpszClassName, fullScreen ? L"kuvito probe full screen" : L"kuvito probe window",
        fullScreen ? WS_POPUP : WS_OVERLAPPEDWINDOW, r.left, r.top, r.right - r.left, r.bottom - r.top,
        nullptr, nullptr, wc.hInstance, nullptr);
    if (!release || !window)
        return 1;
    ::ResetEvent(release);
    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(window);
    writeLine(L"shown");
    const DWORD end = ::GetTickCount() + 120000;
    while (static_cast<int>(end - ::GetTickCount()) > 0 &&
           ::MsgWaitForMultipleObjects(1, &release, FALSE, end - ::GetTickCount(), QS_ALLINPUT) ==
               WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
    }
    ::DestroyWindow(window);
    ::CloseHandle(release);
    return 0;
}

std::wstring textOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

BOOL CALLBACK writeText(HWND child, LPARAM) {
    writeLine(textOf(child));
    return TRUE;
}

BOOL CALLBACK writeControlsIfTitled(HWND window, LPARAM title) {
    if (::IsWindowVisible(window) && textOf(window) == reinterpret_cast<const wchar_t*>(title))
        ::EnumChildWindows(window, writeText, 0);
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc >= 2 ? argv[1] : L"";
    if (command == L"release")
        return releaseHold(argc >= 3 ? argv[2] : L"hold");
    if (command == L"front") {
        writeLine(textOf(::GetForegroundWindow()));
        return 0;
    }
    if (command == L"window" || command == L"fullscreen")
        return showUntilReleased(command, command == L"fullscreen");
    if (argc != 3)
        return 2;
    if (command == L"hold")
        return hold(argv[2]);
    if (command == L"texts")
        return ::EnumWindows(writeControlsIfTitled, reinterpret_cast<LPARAM>(argv[2])) ? 0 : 1;
    return 2;
}
