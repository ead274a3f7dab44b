#include "QtTimerSource.h"

QtTimerSource::QtTimerSource(std::function<void()> onTick) : onTick_(std::move(onTick)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (onTick_)
            onTick_();
    });
}

void QtTimerSource::start(int periodMs) {
    // A zero-period QTimer would fire on every pass of the event loop and
    // keep a core busy; the program's period 0 means "stopped".
    if (periodMs <= 0) {
        timer_.stop();
        return;
    }
    timer_.start(periodMs);
}

void QtTimerSource::stop() {
    timer_.stop();
}
