#include "ControlBase.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "Canvas.h"
#include "Component.h"
#include "QtCursors.h"

ControlBase::ControlBase() : QWidget(nullptr) {
    // Windowless: drawn on the parent's surface, which shows through
    // wherever the control paints nothing.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
}

TShiftState ControlBase::shiftState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                                    bool doubleClick) {
    TShiftState s = 0;
    if (modifiers & Qt::ShiftModifier)
        s |= Shift::ssShift;
    if (modifiers & Qt::AltModifier)
        s |= Shift::ssAlt;
    if (modifiers & Qt::ControlModifier)
        s |= Shift::ssCtrl;
    if (buttons & Qt::LeftButton)
        s |= Shift::ssLeft;
    if (buttons & Qt::RightButton)
        s |= Shift::ssRight;
    if (buttons & Qt::MiddleButton)
        s |= Shift::ssMiddle;
    if (doubleClick)
        s |= Shift::ssDouble;
    return s;
}

bool ControlBase::stackedOnTop(const std::vector<const ControlBase*>& inTurn,
                               const std::vector<const ControlBase*>& uncounted) {
    if (inTurn.empty())
        return true;
    const QWidget* parent = inTurn.front()->parentWidget();
    if (parent == nullptr)
        return false;
    std::vector<const QWidget*> showing;
    for (const QObject* child : parent->children()) {
        const auto* widget = child->isWidgetType() ? static_cast<const QWidget*>(child) : nullptr;
        if (widget && std::find(uncounted.begin(), uncounted.end(), widget) == uncounted.end())
            showing.push_back(widget);
    }
    return showing.size() >= inTurn.size() &&
           std::equal(inTurn.begin(), inTurn.end(), showing.end() - static_cast<long>(inTurn.size()));
}

bool ControlBase::isSurface(Component* component) {
    return dynamic_cast<QWidget*>(component) != nullptr;
}

bool ControlBase::attachTo(Component* parent) {
    auto* widget = dynamic_cast<QWidget*>(parent);
    if (!widget || widget == parentWidget())
        return false;
    reparenting_ = true;
    setParent(widget);
    reparenting_ = false;
    return true;
}

void ControlBase::placeOnSurface(int left, int top, int width, int height) {
    QWidget::setGeometry(left, top, std::max(width, 0), std::max(height, 0));
}

void ControlBase::showCursorShape(TCursor cursor) {
    QWidget::setCursor(QCursor(toQtCursor(cursor)));
}

void ControlBase::showHint(const std::string& hint) {
    setToolTip(QString::fromStdString(hint));
}

void ControlBase::paint(Canvas&) {}

namespace {
bool buttonOf(Qt::MouseButton qt, TMouseButton& out) {
    switch (qt) {
    case Qt::LeftButton:
        out = TMouseButton::mbLeft;
        return true;
    case Qt::RightButton:
        out = TMouseButton::mbRight;
        return true;
    case Qt::MiddleButton:
        out = TMouseButton::mbMiddle;
        return true;
    default:
        return false;
    }
}
} // namespace

void ControlBase::mousePressEvent(QMouseEvent* event) {
    TMouseButton button;
    if (!buttonOf(event->button(), button))
        return;
    const QPoint p = event->position().toPoint();
    pointerPressed(button, shiftState(event->buttons(), event->modifiers(), false), p.x(), p.y());
}

void ControlBase::mouseReleaseEvent(QMouseEvent* event) {
    TMouseButton button;
    if (!buttonOf(event->button(), button))
        return;
    const QPoint p = event->position().toPoint();
    pointerReleased(button, shiftState(event->buttons(), event->modifiers(), false), p.x(), p.y());
}

void ControlBase::mouseDoubleClickEvent(QMouseEvent* event) {
    TMouseButton button;
    if (!buttonOf(event->button(), button))
        return;
    const QPoint p = event->position().toPoint();
    pointerDoublePressed(button, shiftState(event->buttons(), event->modifiers(), false), p.x(), p.y());
}

void ControlBase::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    pointerMoved(shiftState(event->buttons(), event->modifiers(), false), p.x(), p.y());
}

void ControlBase::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Canvas canvas(painter);
    paint(canvas);
}
