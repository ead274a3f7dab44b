#include "Win32FullScreenWatch.h"

#include "FullScreenRule.h"
#include "Win32Queries.h"

#include <windows.h>

#include <shellapi.h>

namespace {

// A hook's callback carries no pointer of ours; the program watches with
// one watch at a time, and the calls come on its thread.
Win32FullScreenWatch* watching = nullptr;

void CALLBACK onEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (watching && child == CHILDID_SELF)
        watching->heard(event, reinterpret_cast<std::uintptr_t>(window), object);
}

HWINEVENTHOOK hook(DWORD first, DWORD last, DWORD process, DWORD thread) {
    return ::SetWinEventHook(first, last, nullptr, onEvent, process, thread,
                             WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
}

void unhook(void*& hook) {
    if (hook)
        ::UnhookWinEvent(static_cast<HWINEVENTHOOK>(hook));
    hook = nullptr;
}

ScreenRect fromRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// The shell's word; Windows before Vista and a shell that cannot say count
// as "not full screen".
bool shellSaysFullScreen() {
    QUERY_USER_NOTIFICATION_STATE state{};
    if (FAILED(::SHQueryUserNotificationState(&state)))
        return false;
    return state == QUNS_BUSY || state == QUNS_RUNNING_D3D_FULL_SCREEN || state == QUNS_PRESENTATION_MODE;
}

// The desktop behind every window (the shell's Progman and WorkerW, made by
// one thread) fills the screen without being a window the user looks at.
bool isDesktop(HWND window) {
    if (window == ::GetDesktopWindow())
        return true;
    HWND shell = ::GetShellWindow();
    return shell && ::GetWindowThreadProcessId(window, nullptr) == ::GetWindowThreadProcessId(shell, nullptr);
}

} // namespace

Win32FullScreenWatch::Win32FullScreenWatch(std::function<void()> changed,
                                           std::unique_ptr<TimerSource> lookTimer)
    : changed_(std::move(changed)), lookTimer_(std::move(lookTimer)) {
    watching = this;
    foregroundHook_ = hook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, 0, 0);
    minimizeHook_ = hook(EVENT_SYSTEM_MINIMIZESTART, EVENT_SYSTEM_MINIMIZEEND, 0, 0);
    look();
    if (lookTimer_)
        lookTimer_->start(kLookPeriodMs);
}

Win32FullScreenWatch::~Win32FullScreenWatch() {
    for (void** h : {&foregroundHook_, &minimizeHook_, &moveHook_, &hideHook_})
        unhook(*h);
    if (watching == this)
        watching = nullptr;
}

std::optional<ScreenRect> Win32FullScreenWatch::filledMonitor(std::uintptr_t id) {
    HWND window = reinterpret_cast<HWND>(id);
    if (!window || !::IsWindowVisible(window) || isDesktop(window))
        return std::nullopt;
    // The whole monitor, not its work area: a full-screen window covers the
    // taskbar's strip as well.
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = ::MonitorFromWindow(window, MONITOR_DEFAULTTONULL);
    RECT frame{}, client{};
    if (!monitor || !::GetMonitorInfoW(monitor, &info) || !::GetWindowRect(window, &frame) ||
        !::GetClientRect(window, &client))
        return std::nullopt;
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    FullScreenRule::Front front{fromRect(frame),
                                fromRect(client),
                                fromRect(info.rcMonitor),
                                ::IsZoomed(window) != FALSE,
                                ::IsIconic(window) != FALSE,
                                false};
    // The shell is asked only when its word could decide.
    if (!FullScreenRule::filledMonitor(front)) {
        front.shellSaysFullScreen = true;
        if (!FullScreenRule::filledMonitor(front))
            return std::nullopt;
        front.shellSaysFullScreen = shellSaysFullScreen();
    }
    return FullScreenRule::filledMonitor(front);
}

void Win32FullScreenWatch::look() {
    const HWND front = ::GetForegroundWindow();
    const auto frontId = reinterpret_cast<std::uintptr_t>(front);
    RECT frame{};
    if (front)
        ::GetWindowRect(front, &frame);
    const bool ours = front && Win32Queries::isOwnWindow(frontId);
    // Behind one of ours, the full-screen window is read every time: it may
    // have gone without a change in front.
    if (lookedOnce_ && !ours && frontId == lastFront_ && fromRect(frame) == lastFrame_)
        return;
    lookedOnce_ = true;
    lastFront_ = frontId;
    lastFrame_ = fromRect(frame);

    std::uintptr_t candidate = frontId;
    if (ours)
        candidate = fullScreenWindow_;
    else
        followThread(frontId);
    const std::optional<ScreenRect> monitor = filledMonitor(candidate);
    fullScreenWindow_ = monitor ? candidate : 0;
    if (monitor == monitor_)
        return;
    monitor_ = monitor;
    if (changed_)
        changed_();
}

void Win32FullScreenWatch::heard(unsigned event, std::uintptr_t window, long object) {
    if (object != OBJID_WINDOW)
        return;
    if (event == EVENT_SYSTEM_FOREGROUND)
        heardForeground_ = true;
    else if (event == EVENT_OBJECT_LOCATIONCHANGE)
        heardMove_ = true;
    // Once Windows is known to tell, the looks on the clock end.
    if (heardForeground_ && heardMove_ && lookTimer_)
        lookTimer_.reset();
    // Moves and hiding count for the front window (or the full-screen one
    // behind the program's own) alone.
    const bool ofWatched = window == lastFront_ || window == fullScreenWindow_;
    if (event == EVENT_SYSTEM_FOREGROUND || event == EVENT_SYSTEM_MINIMIZESTART ||
        event == EVENT_SYSTEM_MINIMIZEEND || ofWatched) {
        // A window that went away or was hidden may keep its rectangle.
        if (ofWatched && event != EVENT_OBJECT_LOCATIONCHANGE)
            lookedOnce_ = false;
        look();
    }
}

void Win32FullScreenWatch::followThread(std::uintptr_t window) {
    DWORD process = 0;
    const DWORD thread = window ? ::GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &process) : 0;
    if (thread == hookedThread_)
        return;
    unhook(moveHook_);
    unhook(hideHook_);
    hookedThread_ = thread;
    if (thread == 0)
        return;
    moveHook_ = hook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE, process, thread);
    hideHook_ = hook(EVENT_OBJECT_DESTROY, EVENT_OBJECT_HIDE, process, thread);
}
