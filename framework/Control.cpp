#include "Control.h"

#include <algorithm>

#include "PlacementProperties.h"
#include "PropertyWriter.h"

Control::Control(Component* owner) : Component(owner) {
    if (owner && isSurface(owner))
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
    placeOnSurface(left, top, width, height);
}

void Control::setCursorNumber(TCursor cursor) {
    cursor_ = cursor;
    showCursorShape(cursor);
}

void Control::setHint(const std::string& hint) {
    hint_ = hint;
    showHint(hint);
}

void Control::setVisible(bool visible) {
    // A toolkit may hide a control itself when it changes parent; that is
    // not a change of the Visible property.
    if (!reparenting_)
        visible_ = visible;
    // Without a parent, showing would open a top-level window.
    if (onSurface() || !visible)
        showOnSurface(visible);
}

void Control::bringToFront() {
    raise();
    update();
}

void Control::sendToBack() {
    lower();
    update();
}

void Control::setParentComponent(Component* parent) {
    Component::setParentComponent(parent);
    if (!attachTo(parent))
        return;
    placeOnSurface(left_, top_, width_, height_);
    if (visible_)
        showOnSurface(true);
}

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

void Control::pointerPressed(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft)
        clicked_ = true;
    mouseDown(button, shift, x, y);
}

void Control::pointerReleased(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft && clicked_) {
        clicked_ = false;
        if (0 <= x && x < std::max(width_, 0) && 0 <= y && y < std::max(height_, 0))
            click();
    }
    mouseUp(button, shift, x, y);
}

void Control::pointerDoublePressed(TMouseButton button, TShiftState shift, int x, int y) {
    // The second press of a double click: the double-click event first,
    // then the press itself, marked as double.
    if (button == TMouseButton::mbLeft) {
        clicked_ = true;
        dblClick();
    }
    mouseDown(button, shift | Shift::ssDouble, x, y);
}

void Control::pointerMoved(TShiftState shift, int x, int y) {
    mouseMove(shift, x, y);
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
