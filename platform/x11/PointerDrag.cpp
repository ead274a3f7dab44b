#include "PointerDrag.h"

#include "ScreenSpace.h"
#include "XlibBridge.h"

#include <QApplication>
#include <QEventLoop>
#include <QMouseEvent>
#include <QWidget>

namespace {
// Often enough to keep up with a hand, rare enough to cost nothing.
constexpr int kPollMs = 30;
} // namespace

PointerDrag::PointerDrag(QWidget& window, QPoint pressPoint) : window_(&window), press_(pressPoint) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, [this] {
        const auto state = XlibBridge::pointer();
        if (!state || !window_) {
            finish();
            return;
        }
        // The server counts device pixels, the window moves in Qt's.
        follow(ScreenSpace::current().deviceToLogical(state->pos));
        if (!state->leftDown)
            finish();
    });
}

void PointerDrag::run() {
    if (!window_)
        return;
    // The button may already be up (a very short click): nothing to drag.
    const auto state = XlibBridge::pointer();
    if (!state || !state->leftDown)
        return;

    QEventLoop loop;
    loop_ = &loop;
    window_->grabMouse();
    qApp->installEventFilter(this);
    poll_.start();
    if (!done_)
        loop.exec();
    poll_.stop();
    qApp->removeEventFilter(this);
    if (window_)
        window_->releaseMouse();
    loop_ = nullptr;
}

bool PointerDrag::concerns(QObject* watched) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget && window_ && (widget == window_ || window_->isAncestorOf(widget));
}

bool PointerDrag::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        break;
    default:
        return false;
    }
    if (!concerns(watched))
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    follow(mouse->globalPosition().toPoint());
    if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton)
        finish();
    // The drag owns the mouse: the window's own handlers do not see it.
    return true;
}

void PointerDrag::follow(QPoint global) {
    if (window_ && !done_ && window_->pos() != global - press_)
        window_->move(global - press_);
}

void PointerDrag::finish() {
    done_ = true;
    if (loop_)
        loop_->quit();
}
