#pragma once

// A periodic tick source on the user-interface thread. start() with a period
// in milliseconds (re)starts the countdown from zero (a period of 0 or less
// stops it, never a tick on every pass of the loop); stop() stops it. Ticks
// never queue up: a tick that could not be delivered in time is dropped.
class TimerSource {
public:
    virtual ~TimerSource() = default;
    virtual void start(int periodMs) = 0;
    virtual void stop() = 0;
};
