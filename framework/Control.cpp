#include "Control.h"

#include <QMouseEvent>
#include <QPainter>

#include "PlacementProperties.h"
#include "PropertyWriter.h"

Control::Control(Component* owner) : QWidget(nullptr), Component(owner) {
    // Windowless: drawn on the parent's surface, which shows through
    // wherever the control paints nothing.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
    if (owner && dynamic_cast<QWidget*>(owner))
        setParentComponent(owner);
}

Control::~Control() {
    beginDestruction();
    destroyComponents();
}

void Control::setBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    QWidget::setGeometry(left, top, std::max(width, 0), std::max(height, 0));
}

void Control::setCursorNumber(TCursor cursor) {
    cursor_ = cursor;
    QWidget::setCursor(QCursor(Cursors::toQt(cursor)));
}

void Control::setHint(const std::string& hint) {
    hint_ = hint;
    setToolTip(QString::fromStdString(hint));
}

void Control::setVisible(bool visible) {
    // Qt hides a widget itself when it changes parent; that is not a change
    // of the Visible property.
    if (!reparenting_)
        visible_ = visible;
    // Without a parent, showing would open a top-level window.
    if (parentWidget() || !visible)
        QWidget::setVisible(visible);
}

void Control::bringToFront() {
    raise();
    update();
}

void Control::sendToBack() {
    lower();
    update();
}

TShiftState Control::shiftState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, bool doubleClick) {
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

void Control::setParentComponent(Component* parent) {
    Component::setParentComponent(parent);
    auto* widget = dynamic_cast<QWidget*>(parent);
    if (!widget || widget == parentWidget())
        return;
    reparenting_ = true;
    setParent(widget);
    reparenting_ = false;
    QWidget::setGeometry(left_, top_, std::max(width_, 0), std::max(height_, 0));
    if (visible_)
        QWidget::setVisible(true);
}

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

void Control::mouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    fire(onMouseDown_, this, button, shift, x, y);
}

void Control::mouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    fire(onMouseUp_, this, button, shift, x, y);
}

void Control::mouseMove(TShiftState shift, int x, int y) {
    fire(onMouseMove_, this, shift, x, y);
}

void Control::click() {
    fire(onClick_, this);
}

void Control::dblClick() {
    fire(onDblClick_, this);
}

void Control::paint(QPainter&) {}

void Control::mousePressEvent(QMouseEvent* event) {
    TMouseButton button;
    if (!buttonOf(event->button(), button))
        return;
    if (button == TMouseButton::mbLeft)
        clicked_ = true;
    const QPoint p = event->position().toPoint();
    mouseDown(button, shiftState(event->buttons(), event->modifiers(), false), p.x(), p.y());
}

void Control::mouseReleaseEvent(QMouseEvent* event) {
    TMouseButton button;
    if (!buttonOf(event->button(), button))
        return;
    const QPoint p = event->position().toPoint();
    if (button == TMouseButton::mbLeft && clicked_) {
        clicked_ = false;
        if (rect().contains(p))
            click();
    }
    mouseUp(button, shiftState(event->buttons(), event->modifiers(), false), p.x(), p.y());
}

void Control::mouseDoubleClickEvent(QMouseEvent* event) {
    TMouseButton button;
    if (!buttonOf(event->button(), button))
        return;
    // The second press of a double click: the double-click event first,
    // then the press itself, marked as double.
    if (button == TMouseButton::mbLeft) {
        clicked_ = true;
        dblClick();
    }
    const QPoint p = event->position().toPoint();
    mouseDown(button, shiftState(event->buttons(), event->modifiers(), true), p.x(), p.y());
}

void Control::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    mouseMove(shiftState(event->buttons(), event->modifiers(), false), p.x(), p.y());
}

void Control::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    paint(canvas);
}

bool Control::readProperty(const std::string& path, const FormValue& value) {
    if (readPlacementProperty(*this, path, value))
        return true;
    if (path == "Hint") {
        setHint(value.asString());
    } else if (path == "Visible") {
        setVisible(value.asBool());
    } else if (path == "Enabled") {
        setEnabled(value.asBool());
    } else if (path == "OnClick") {
        readEvent(path, value, onClick_);
    } else if (path == "OnDblClick") {
        readEvent(path, value, onDblClick_);
    } else if (path == "OnMouseDown") {
        readEvent(path, value, onMouseDown_);
    } else if (path == "OnMouseUp") {
        readEvent(path, value, onMouseUp_);
    } else if (path == "OnMouseMove") {
        readEvent(path, value, onMouseMove_);
    } else {
        return Component::readProperty(path, value);
    }
    return true;
}

void Control::writeProperties(PropertyWriter& writer) const {
    writer.write("Left", FormValue::fromInt(left_));
    writer.write("Top", FormValue::fromInt(top_));
    writer.write("Width", FormValue::fromInt(width_));
    writer.write("Height", FormValue::fromInt(height_));
    if (cursor_ != Cursors::crDefault) {
        const std::string name = Cursors::toName(cursor_);
        writer.write("Cursor", name.empty() ? FormValue::fromInt(cursor_) : FormValue::fromIdent(name));
    }
    if (!hint_.empty())
        writer.write("Hint", FormValue::fromString(hint_));
    if (!Enabled())
        writer.write("Enabled", FormValue::fromBool(false));
    if (!visible_)
        writer.write("Visible", FormValue::fromBool(false));
    Component::writeProperties(writer);
}
