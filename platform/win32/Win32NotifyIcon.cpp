#include "Win32NotifyIcon.h"

#include "Utf16.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>

namespace {

constexpr std::size_t kTipUnits = std::size(NOTIFYICONDATAW{}.szTip) - 1;

} // namespace

std::wstring Win32NotifyIcon::tipText(const std::string& tip) {
    // The program's record ends its tip at the first zero byte.
    const std::string_view text(tip.c_str());
    return Utf16::truncated(Utf16::fromUtf8(text), kTipUnits);
}

bool Win32NotifyIcon::apply(Operation operation, const Record& record) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = reinterpret_cast<HWND>(record.window);
    data.uID = record.id;
    data.uFlags = record.flags & (NIF_MESSAGE | NIF_ICON | NIF_TIP);
    data.uCallbackMessage = record.callbackMessage;
    data.hIcon = reinterpret_cast<HICON>(record.icon);
    const std::wstring tip = tipText(record.tip);
    std::copy(tip.begin(), tip.end(), data.szTip);
    DWORD message = NIM_ADD;
    switch (operation) {
    case Operation::Add:
        message = NIM_ADD;
        break;
    case Operation::Modify:
        message = NIM_MODIFY;
        break;
    case Operation::Delete:
        message = NIM_DELETE;
        break;
    }
    return ::Shell_NotifyIconW(message, &data) != FALSE;
}
