#include "MouseRelay.h"

#include <QApplication>
#include <QMouseEvent>
#include <QToolTip>
#include <QWidget>

namespace {

// How long the pointer rests on the character before its hint shows, as
// Qt's own hints wait.
constexpr int kHintDelayMs = 700;

} // namespace

MouseRelay::MouseRelay(QWidget& widget) : widget_(&widget) {
    hintTimer_.setSingleShot(true);
    hintTimer_.setInterval(kHintDelayMs);
    connect(&hintTimer_, &QTimer::timeout, this, [this] { showHint(); });
}

QWidget* MouseRelay::targetAt(QPoint local) const {
    QWidget* child = widget_->childAt(local);
    return child ? child : widget_.data();
}

void MouseRelay::showHint() {
    if (hintTarget_ && widget_ && widget_->isVisible())
        QToolTip::showText(hintAt_, hintTarget_->toolTip(), hintTarget_);
}

void MouseRelay::hideHint() {
    hintTimer_.stop();
    if (hintTarget_) {
        QToolTip::hideText();
        hintTarget_ = nullptr;
    }
}

void MouseRelay::button(bool press, Qt::MouseButton which, Qt::MouseButtons held,
                        Qt::KeyboardModifiers modifiers, QPoint local, QPoint global, unsigned long time) {
    if (which == Qt::NoButton || !widget_)
        return;
    hideHint();
    // X reports the buttons held before the event; Qt reports them after.
    Qt::MouseButtons buttons = held;
    if (press)
        buttons |= which;
    else
        buttons &= ~Qt::MouseButtons(which);
    QWidget* target = pressed_;
    if (press || !target)
        target = targetAt(local);
    QEvent::Type type = press ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease;
    if (press) {
        // A second press of the same button soon after the first and near it
        // is a double click, which Qt delivers in place of the second press.
        const bool again =
            lastPressButton_ == which && lastPressTime_ != 0 &&
            time - lastPressTime_ <= static_cast<unsigned long>(QApplication::doubleClickInterval()) &&
            (global - lastPressPos_).manhattanLength() <= QApplication::startDragDistance();
        if (again)
            type = QEvent::MouseButtonDblClick;
        // A third press starts counting again.
        lastPressTime_ = again ? 0 : time;
        lastPressButton_ = which;
        lastPressPos_ = global;
        pressed_ = target;
    } else if (buttons == Qt::NoButton) {
        pressed_ = nullptr;
    }
    const QPointF at = target->mapFrom(widget_.data(), QPointF(local));
    QMouseEvent event(type, at, QPointF(local), QPointF(global), which, buttons, modifiers);
    QApplication::sendEvent(target, &event);
}

void MouseRelay::motion(Qt::MouseButtons held, Qt::KeyboardModifiers modifiers, QPoint local, QPoint global) {
    if (!widget_)
        return;
    QWidget* target = pressed_ ? pressed_.data() : targetAt(local);
    // Qt shows a widget's hint only for the window system's own mouse
    // events, so the pause before it is kept here.
    if (held == Qt::NoButton && !target->toolTip().isEmpty()) {
        hintTarget_ = target;
        hintAt_ = global;
        hintTimer_.start();
    } else {
        hideHint();
    }
    const QPointF at = target->mapFrom(widget_.data(), QPointF(local));
    QMouseEvent event(QEvent::MouseMove, at, QPointF(local), QPointF(global), Qt::NoButton, held, modifiers);
    QApplication::sendEvent(target, &event);
}
