#include "TTimer.h"

#include "DesktopServices.h"
#include "ErrorDisplay.h"
#include "PropertyWriter.h"

TTimer::TTimer(Component* owner) : Component(owner), alive_(std::make_shared<bool>(true)) {}

TTimer::~TTimer() {
    beginDestruction();
    *alive_ = false;
    source_.reset();
}

void TTimer::setInterval(int ms) {
    if (ms == interval_)
        return;
    interval_ = ms;
    updateTimer();
}

void TTimer::setEnabled(bool on) {
    if (on == enabled_)
        return;
    enabled_ = on;
    updateTimer();
}

void TTimer::setOnTimer(TNotifyEvent handler) {
    onTimer_ = std::move(handler);
    updateTimer();
}

void TTimer::loaded() {
    Component::loaded();
    updateTimer();
}

// Stops and, when it should run, starts again: the countdown begins from
// zero. Nothing runs while the stored values are still being read.
void TTimer::updateTimer() {
    if (source_)
        source_->stop();
    running_ = false;
    if (isLoading() || isDesigning() || !enabled_ || interval_ <= 0 || !onTimer_)
        return;
    if (!source_)
        source_ = desktopTimers().createTimer([this, alive = std::weak_ptr<bool>(alive_)] {
            if (auto a = alive.lock(); a && *a)
                tick();
        });
    source_->start(interval_);
    running_ = true;
}

void TTimer::tick() {
    // A tick that comes while the handler still runs (it opened a dialog or
    // a menu) is dropped: ticks never pile up or overlap.
    if (inTick_ || !running_ || !onTimer_)
        return;
    inTick_ = true;
    std::shared_ptr<bool> alive = alive_;
    TNotifyEvent handler = onTimer_; // the handler may replace itself
    ErrorDisplay::guarded([&] { handler(this); });
    // The handler may have destroyed this timer.
    if (*alive)
        inTick_ = false;
}

bool TTimer::readProperty(const std::string& path, const FormValue& value) {
    if (path == "Interval") {
        setInterval(value.asInt32());
        return true;
    }
    if (path == "Enabled") {
        setEnabled(value.asBool());
        return true;
    }
    if (path == "OnTimer") {
        TNotifyEvent handler;
        readEvent(path, value, handler);
        setOnTimer(std::move(handler));
        return true;
    }
    return Component::readProperty(path, value);
}

void TTimer::writeProperties(PropertyWriter& writer) const {
    if (!enabled_)
        writer.write("Enabled", FormValue::fromBool(false));
    if (interval_ != 1000)
        writer.write("Interval", FormValue::fromInt(interval_));
    Component::writeProperties(writer);
}
