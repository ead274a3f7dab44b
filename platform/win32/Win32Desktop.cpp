#include "Win32Desktop.h"

#include "KuvitoError.h"
#include "LanguageChoice.h"
#include "ModalDialog.h"
#include "Utf16.h"
#include "Win32FullScreenWatch.h"
#include "Win32Menu.h"
#include "Win32MessageWindow.h"
#include "Win32NotifyIcon.h"
#include "Win32SessionClaim.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace {

// The record's flags. (Windows' own names come with <shellapi.h>, whose
// NIM_ macros would rename TrayOperation's members.)
constexpr std::uint32_t kFlagMessage = 1, kFlagIcon = 2, kFlagTip = 4;

HWND hwndOf(WindowHandle window) {
    return reinterpret_cast<HWND>(window.id);
}

// A WM_QUIT taken out of the queue by a nested loop is put back for the
// program's own loop, which ends on it.
bool handOnQuit(const MSG& msg) {
    if (msg.message != WM_QUIT)
        return false;
    ::PostQuitMessage(static_cast<int>(msg.wParam));
    return true;
}

void dispatch(MSG& msg) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

// The program's windows that take input now, but for one: a modal dialog
// disables them for its run.
std::vector<HWND> enabledWindowsBut(HWND except) {
    std::vector<HWND> windows;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            if (::IsWindowVisible(window) && ::IsWindowEnabled(window))
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    std::erase(windows, except);
    return windows;
}

} // namespace

Win32Desktop::Win32Desktop() : taskbarCreated_(::RegisterWindowMessageW(L"TaskbarCreated")) {
    shellWindow_ = std::make_unique<Win32MessageWindow>(
        [this](unsigned message, std::uintptr_t, std::intptr_t) -> std::optional<std::intptr_t> {
            if (taskbarCreated_ != 0 && message == taskbarCreated_) {
                taskbarRecreated();
                return 0;
            }
            return std::nullopt;
        },
        Win32MessageWindow::Kind::Hidden);
}

Win32Desktop::~Win32Desktop() {
    // Icons left behind would stay in the notification area until the
    // pointer passes over them.
    for (const auto& [key, shown] : icons_) {
        Win32NotifyIcon::Record record;
        record.window = key.first;
        record.id = key.second;
        record.flags = 0;
        Win32NotifyIcon::apply(Win32NotifyIcon::Operation::Delete, record);
        ::DestroyIcon(reinterpret_cast<HICON>(shown.icon));
    }
}

// --- windows and queries -------------------------------------------------------

void Win32Desktop::hideFromTaskbar(WindowHandle window) {
    windows_.hideFromTaskbar(window);
}

void Win32Desktop::moveWindow(WindowHandle window, int left, int top) {
    windows_.moveWindow(window, left, top);
}

ScreenPoint Win32Desktop::windowPos(WindowHandle window) const {
    return windows_.windowPos(window);
}

void Win32Desktop::setTopMost(WindowHandle window, bool on) {
    windows_.setTopMost(window, on);
}

bool Win32Desktop::isTopMost(WindowHandle window) const {
    return windows_.isTopMost(window);
}

void Win32Desktop::setWindowRegion(WindowHandle window, const std::vector<RgnRect>& region) {
    windows_.setWindowRegion(window, region);
}

void Win32Desktop::setForegroundWindow(WindowHandle window) {
    windows_.setForegroundWindow(window);
}

ScreenSize Win32Desktop::screenSize() const {
    return queries_.screenSize();
}

ScreenPoint Win32Desktop::cursorPos() const {
    return queries_.cursorPos();
}

std::optional<ForegroundWindow> Win32Desktop::foregroundWindow() const {
    return queries_.foregroundWindow();
}

std::optional<ScreenRect> Win32Desktop::taskbarRect() const {
    return queries_.taskbarRect();
}

SessionLimits Win32Desktop::sessionLimits() const {
    return queries_.sessionLimits();
}

std::optional<ScreenRect> Win32Desktop::fullScreenMonitor() const {
    return fullScreen_ ? fullScreen_->fullScreenMonitor() : std::nullopt;
}

void Win32Desktop::watchFullScreen(std::function<void()> changed) {
    fullScreenChanged_ = std::move(changed);
    if (!fullScreenChanged_) {
        fullScreen_.reset();
        return;
    }
    if (!fullScreen_)
        fullScreen_ = std::make_unique<Win32FullScreenWatch>(
            [this] {
                if (fullScreenChanged_)
                    fullScreenChanged_();
            },
            timers_.createTimer([this] { fullScreen_->look(); }));
}

// --- nested loops ------------------------------------------------------------------

void Win32Desktop::dragWindow(WindowHandle window, ScreenPoint pressPoint) {
    HWND hwnd = hwndOf(window);
    if (!::IsWindow(hwnd))
        return;
    // The left button as the user has it: swapped buttons swap the keys.
    const int button = ::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    const auto held = [button] { return (::GetAsyncKeyState(button) & 0x8000) != 0; };
    ::SetCapture(hwnd);
    ScreenPoint last = windows_.windowPos(window);
    for (;;) {
        // The moves come as messages to the captured window; the wait ends
        // on each, and at the latest after a frame's time, so that a release
        // the window never heard (the capture was taken from it) still ends
        // the drag.
        ::MsgWaitForMultipleObjectsEx(0, nullptr, 16, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG msg;
        bool released = false;
        bool quit = false;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (handOnQuit(msg)) {
                quit = true;
                break;
            }
            // The drag owns the mouse: the window's own handlers do not see
            // its moves and its release.
            if (msg.hwnd == hwnd && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
                released = released || msg.message == WM_LBUTTONUP;
                continue;
            }
            dispatch(msg);
        }
        if (quit || !::IsWindow(hwnd))
            break;
        const ScreenPoint pointer = queries_.cursorPos();
        const ScreenPoint to{pointer.x - pressPoint.x, pointer.y - pressPoint.y};
        if (!(to == last)) {
            windows_.moveWindow(window, to.x, to.y);
            last = to;
        }
        if (released || !held() || ::GetCapture() != hwnd)
            break;
    }
    if (::GetCapture() == hwnd)
        ::ReleaseCapture();
}

int Win32Desktop::execModal(ModalDialog& dialog) {
    HWND hwnd = hwndOf(dialog.dialogWindow());
    if (!::IsWindow(hwnd))
        return IDCANCEL;
    dialog.beginModal();
    const std::vector<HWND> disabled = enabledWindowsBut(hwnd);
    for (HWND window : disabled)
        ::EnableWindow(window, FALSE);
    ::ShowWindow(hwnd, SW_SHOW);
    ::SetForegroundWindow(hwnd);
    std::optional<int> result;
    MSG msg;
    while (!(result = dialog.modalResult()) && ::IsWindow(hwnd)) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1)
            break;
        if (got == 0) {
            handOnQuit(msg);
            break;
        }
        if (!::IsDialogMessageW(hwnd, &msg))
            dispatch(msg);
    }
    // The others take input again before the dialog goes, so that Windows
    // gives the activation back to one of them and not to another program.
    for (HWND window : disabled)
        if (::IsWindow(window))
            ::EnableWindow(window, TRUE);
    if (::IsWindow(hwnd))
        ::ShowWindow(hwnd, SW_HIDE);
    // A dialog that went without a result was cancelled.
    return result.value_or(IDCANCEL);
}

void Win32Desktop::popupMenu(NativeMenu& menu, ScreenPoint at) {
    // The menu's owner must be in front, or the menu would not close when the
    // user clicks elsewhere: the program's window in front when it is ours
    // (the tray icon's step put the form there), else the hidden one.
    std::uintptr_t owner = shellWindow_->handle();
    const auto front = reinterpret_cast<std::uintptr_t>(::GetForegroundWindow());
    if (front != 0 && Win32Queries::isOwnWindow(front))
        owner = front;
    const std::weak_ptr<const void> alive = menu.lifetime();
    const int chosen = static_cast<Win32Menu&>(menu).popup(at, owner);
    // A timer inside the menu's loop may have destroyed it.
    if (!alive.expired())
        menu.choose(chosen);
}

void Win32Desktop::processPendingMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (handOnQuit(msg))
            return;
        dispatch(msg);
    }
}

std::unique_ptr<TimerSource> Win32Desktop::createTimer(std::function<void()> onTick) {
    return timers_.createTimer(std::move(onTick));
}

// --- notification area and message windows ---------------------------------------

std::uintptr_t Win32Desktop::createMessageWindow(MessageHandler handler) {
    auto shared = std::make_shared<MessageHandler>(std::move(handler));
    std::unique_ptr<Win32MessageWindow> window;
    try {
        window = std::make_unique<Win32MessageWindow>(
            [shared](unsigned message, std::uintptr_t wParam,
                     std::intptr_t lParam) -> std::optional<std::intptr_t> {
                if (message != WM_QUERYENDSESSION && message < WM_USER)
                    return std::nullopt;
                // A copy: the handler may destroy its own window.
                const std::shared_ptr<MessageHandler> keep = shared;
                return *keep ? (*keep)(message, wParam, lParam) : 0;
            },
            Win32MessageWindow::Kind::Hidden);
    } catch (const KuvitoError&) {
        return 0;
    }
    const std::uintptr_t id = window->handle();
    messageWindows_[id] = std::move(window);
    return id;
}

void Win32Desktop::destroyMessageWindow(std::uintptr_t window) {
    auto it = messageWindows_.find(window);
    if (it == messageWindows_.end())
        return;
    // Windows removes a window's icons only when the pointer next passes
    // over them; the program's are taken away with their window.
    for (auto icon = icons_.begin(); icon != icons_.end();) {
        const IconKey key = (icon++)->first;
        if (key.first == window) {
            NotifyIconData data;
            data.hWnd = key.first;
            data.uID = key.second;
            shellNotifyIcon(TrayOperation::NIM_DELETE, data);
        }
    }
    // Destroying it from inside its own handler is allowed: the window
    // procedure keeps the handler alive meanwhile.
    std::unique_ptr<Win32MessageWindow> gone = std::move(it->second);
    messageWindows_.erase(it);
}

namespace {

Win32NotifyIcon::Record recordOf(const NotifyIconData& data, std::uintptr_t icon) {
    Win32NotifyIcon::Record record;
    record.window = data.hWnd;
    record.id = data.uID;
    record.flags = data.uFlags;
    record.callbackMessage = data.uCallbackMessage;
    record.icon = icon;
    // The tip is read up to its zero byte, never past its field.
    const void* zero = std::memchr(data.szTip, 0, sizeof data.szTip);
    record.tip.assign(data.szTip, zero ? static_cast<const char*>(zero) : data.szTip + sizeof data.szTip);
    return record;
}

} // namespace

bool Win32Desktop::shellNotifyIcon(TrayOperation operation, const NotifyIconData& data) {
    if (data.cbSize < 88)
        return false;
    const auto op = static_cast<Win32NotifyIcon::Operation>(static_cast<int>(operation));
    const auto known = icons_.find(IconKey{data.hWnd, data.uID});
    const bool waiting = known != icons_.end() && known->second.waiting;
    const bool done = Win32NotifyIcon::apply(op, recordOf(data, data.hIcon.id));
    // A taskbar that is still starting (at logon) or hangs refuses an icon,
    // and the user would have no way to the program's menu. The icon waits
    // for the next taskbar (TaskbarCreated), with the changes it gets
    // meanwhile, and the area counts as missing, so that the program offers
    // its menu on the character.
    const bool refusedNew = !done && operation == TrayOperation::NIM_ADD && known == icons_.end();
    const bool changesWaiting = waiting && operation != TrayOperation::NIM_ADD;
    if (!done && !refusedNew && !changesWaiting)
        return false;
    remember(operation, data);
    if (operation != TrayOperation::NIM_DELETE)
        icons_[IconKey{data.hWnd, data.uID}].waiting = !done;
    return done;
}

void Win32Desktop::remember(TrayOperation operation, const NotifyIconData& data) {
    const IconKey key{data.hWnd, data.uID};
    if (operation == TrayOperation::NIM_DELETE) {
        forget(key);
        return;
    }
    ShownIcon& shown = icons_[key];
    if (operation == TrayOperation::NIM_ADD) {
        shown.data = data;
    } else {
        // Only the parts the flags name change.
        if (data.uFlags & kFlagMessage)
            shown.data.uCallbackMessage = data.uCallbackMessage;
        if (data.uFlags & kFlagTip)
            std::memcpy(shown.data.szTip, data.szTip, sizeof data.szTip);
    }
    if (operation == TrayOperation::NIM_ADD || (data.uFlags & kFlagIcon)) {
        // The caller's icon is valid for this call only: ours lives as long
        // as the icon is shown.
        ::DestroyIcon(reinterpret_cast<HICON>(shown.icon));
        shown.icon =
            data.hIcon.id != 0
                ? reinterpret_cast<std::uintptr_t>(::CopyIcon(reinterpret_cast<HICON>(data.hIcon.id)))
                : 0;
    }
    shown.data.uFlags |= data.uFlags;
}

void Win32Desktop::forget(IconKey key) {
    auto it = icons_.find(key);
    if (it == icons_.end())
        return;
    ::DestroyIcon(reinterpret_cast<HICON>(it->second.icon));
    icons_.erase(it);
}

void Win32Desktop::taskbarRecreated() {
    // A new taskbar knows none of the icons: each is added again as it was.
    for (auto& [key, shown] : icons_)
        shown.waiting =
            !Win32NotifyIcon::apply(Win32NotifyIcon::Operation::Add, recordOf(shown.data, shown.icon));
}

bool Win32Desktop::notificationAreaAvailable() const {
    return ::FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr &&
           std::none_of(icons_.begin(), icons_.end(), [](const auto& icon) { return icon.second.waiting; });
}

std::unique_ptr<NativeMenu> Win32Desktop::createMenu() {
    return std::make_unique<Win32Menu>();
}

void Win32Desktop::showErrorBox(const std::string& title, const std::string& text) {
    // Task-modal: every window of the program waits for the OK, and the
    // program's timers go on ticking in the box's own loop.
    ::MessageBoxW(nullptr, Utf16::fromUtf8(text).c_str(), Utf16::fromUtf8(title).c_str(),
                  MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
}

void Win32Desktop::showNotice(const std::string& title, const std::string& text) {
    // The box runs on a thread of its own, so that the program goes on while
    // it is shown; the thread ends with the box, or with the program.
    std::thread([wideTitle = Utf16::fromUtf8(title), wideText = Utf16::fromUtf8(text)] {
        ::MessageBoxW(nullptr, wideText.c_str(), wideTitle.c_str(),
                      MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
    }).detach();
}

// --- the program -------------------------------------------------------------------

std::string Win32Desktop::executablePath() const {
    // The path may be longer than MAX_PATH; the buffer grows until it fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return Utf16::toUtf8(path);
        }
        path.resize(path.size() * 2);
    }
}

bool Win32Desktop::claimSession(std::function<void()> comeForward) {
    auto claim = std::make_unique<Win32SessionClaim>(std::move(comeForward));
    if (!claim->owned())
        return false;
    sessionClaim_ = std::move(claim);
    return true;
}

std::uint32_t Win32Desktop::clockSeed() const {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
}

std::string Win32Desktop::userLanguage() const {
    // The language of Windows' own menus and dialogs, as a tag ("ja-JP").
    wchar_t tag[LOCALE_NAME_MAX_LENGTH] = {};
    if (::LCIDToLocaleName(MAKELCID(::GetUserDefaultUILanguage(), SORT_DEFAULT), tag, LOCALE_NAME_MAX_LENGTH,
                           0) == 0)
        return LanguageChoice::fromName("");
    return LanguageChoice::fromName(Utf16::toUtf8(tag));
}
