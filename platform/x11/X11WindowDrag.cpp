#include "X11WindowDrag.h"

#include "X11EventRelay.h"

#include <QEventLoop>
#include <QTimer>

namespace {

// Often enough to keep up with a hand, rare enough to cost nothing; the
// pointer's own motion events move the window in between.
constexpr int kDragPollMs = 30;

} // namespace

void X11WindowDrag::run(const std::function<void(QPoint)>& follow) {
    // The button may already be up (a very short click): nothing to drag.
    const auto start = events_.pointer();
    if (!start || !start->leftDown || events_.pointerHeld())
        return;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(kDragPollMs);
    events_.holdPointer(follow, [&](QPoint released) {
        follow(released);
        loop.quit();
    });
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        const auto now = events_.pointer();
        if (!now) {
            loop.quit();
            return;
        }
        follow(now->pos);
        if (!now->leftDown)
            loop.quit();
    });
    poll.start();
    loop.exec();
    poll.stop();
    events_.holdPointer(nullptr, nullptr);
    events_.forgetPress();
}
