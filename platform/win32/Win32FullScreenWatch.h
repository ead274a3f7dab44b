#pragma once

#include "ScreenRect.h"
#include "TimerSource.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// Follows whether the window in front fills its monitor (FullScreenRule),
// so that asking on every movement tick reads only what was last found.
// Windows tells of a new window in front, and of the front window's moves,
// hiding and minimising, through event hooks (out of context: the calls come
// as messages to this thread's loop, nothing runs in other programs); the
// move and hide hooks follow the front window's thread alone, since every
// pointer move is a location change too. Wine 8 sends none of these events
// (only the creation of windows and focus inside a program), so the watch
// also looks every kLookPeriodMs until Windows has sent both a foreground and
// a move event, and from then on only when told. The program's own windows
// never count: while one of them is in front (its popup menu, a dialog), the
// last full-screen window keeps the answer for as long as it still fills
// its monitor.
class Win32FullScreenWatch {
public:
    static constexpr int kLookPeriodMs = 250;

    // `changed` is called from the message loop whenever the answer changed;
    // `lookTimer` ticks the looks while events are not known to come.
    Win32FullScreenWatch(std::function<void()> changed, std::unique_ptr<TimerSource> lookTimer);
    ~Win32FullScreenWatch();
    Win32FullScreenWatch(const Win32FullScreenWatch&) = delete;
    Win32FullScreenWatch& operator=(const Win32FullScreenWatch&) = delete;

    // The monitor the front window fills; nothing when it fills none.
    std::optional<ScreenRect> fullScreenMonitor() const { return monitor_; }

    // Reads the window in front again and tells `changed` if the answer
    // changed. The hooks and the timer call it.
    void look();
    // What an event hook heard (its event, the window, the object).
    void heard(unsigned event, std::uintptr_t window, long object);

    // The monitor a window fills, or nothing; any window, the program's own
    // included.
    static std::optional<ScreenRect> filledMonitor(std::uintptr_t window);

private:
    // Moves the front window's hooks to the thread of `window`.
    void followThread(std::uintptr_t window);

    std::function<void()> changed_;
    std::unique_ptr<TimerSource> lookTimer_;
    std::optional<ScreenRect> monitor_;
    std::uintptr_t fullScreenWindow_ = 0; // the window that fills monitor_
    // The last front window and its rectangle: a look that finds both
    // unchanged is done.
    std::uintptr_t lastFront_ = 0;
    ScreenRect lastFrame_;
    bool lookedOnce_ = false;
    // The hooks on every program (front window, minimising) and on the front
    // window's thread (moves, hiding); HWINEVENTHOOKs.
    void* foregroundHook_ = nullptr;
    void* minimizeHook_ = nullptr;
    void* moveHook_ = nullptr;
    void* hideHook_ = nullptr;
    unsigned long hookedThread_ = 0;
    bool heardForeground_ = false;
    bool heardMove_ = false;
};
