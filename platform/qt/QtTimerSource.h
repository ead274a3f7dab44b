#pragma once

#include "DesktopServices.h"

#include <QTimer>

#include <functional>

// A TimerSource on a QTimer. QTimer already has the wanted semantics: ticks
// come from the event loop (nested loops included), a late tick is not
// repeated, and start() restarts the countdown from zero.
class QtTimerSource : public TimerSource {
public:
    explicit QtTimerSource(std::function<void()> onTick);
    void start(int periodMs) override; // a period of 0 or less stops
    void stop() override;

private:
    QTimer timer_;
    std::function<void()> onTick_;
};
