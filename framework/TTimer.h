#pragma once

#include <memory>

#include "Component.h"
#include "Events.h"

class TimerSource;

// The non-visual timer. It runs while Enabled, Interval is not 0 and OnTimer
// is assigned. Setting Interval to 0 stops it; a different non-zero value
// restarts the countdown from zero; the same value changes nothing. Ticks
// come from desktopTimers().createTimer on the user-interface thread, also inside
// modal loops, and never queue up; a tick that arrives while this timer's
// own handler is still running (in a nested loop) is dropped. An exception
// from OnTimer is shown and the timer goes on. While loading, the timer
// starts only in loaded(), once all its stored values are known.
class TTimer : public Component {
public:
    explicit TTimer(Component* owner);
    ~TTimer() override;

    std::string className() const override { return "TTimer"; }

    int Interval() const { return interval_; }
    void setInterval(int ms);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool on);
    const TNotifyEvent& OnTimer() const { return onTimer_; }
    void setOnTimer(TNotifyEvent handler);
    // Whether ticks are being delivered.
    bool isRunning() const { return running_; }

    void loaded() override;
    bool readProperty(const std::string& path, const FormValue& value) override;
    void writeProperties(PropertyWriter& writer) const override;

private:
    void updateTimer();
    void tick();

    int interval_ = 1000;
    bool enabled_ = true;
    bool running_ = false;
    bool inTick_ = false;
    TNotifyEvent onTimer_;
    std::unique_ptr<TimerSource> source_;
    std::shared_ptr<bool> alive_;
};
