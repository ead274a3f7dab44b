#pragma once

#include <functional>
#include <memory>

#include "TimerSource.h"

// Where the program's timers come from, so that a simulated desktop can run
// them on a clock of its own.
class DesktopTimers {
public:
    virtual ~DesktopTimers() = default;

    virtual std::unique_ptr<TimerSource> createTimer(std::function<void()> onTick) = 0;
};
