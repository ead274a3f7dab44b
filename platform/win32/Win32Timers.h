#pragma once

#include "DesktopTimers.h"

#include <memory>

// The program's timers on Windows: SetTimer on a message-only window of
// their own, so they tick in every loop that dispatches messages (the
// program's, a modal dialog's, a popup menu's). Windows makes WM_TIMER only
// when the queue is otherwise empty and never holds more than one per
// timer, so ticks do not queue up.
class Win32Timers : public DesktopTimers {
public:
    // Throws KuvitoError when the message window cannot be made.
    Win32Timers();
    ~Win32Timers() override;

    std::unique_ptr<TimerSource> createTimer(std::function<void()> onTick) override;

private:
    class Source;
    struct Shared;
    // Kept by every timer too, so that one outliving its desktop is
    // harmless.
    std::shared_ptr<Shared> shared_;
};
