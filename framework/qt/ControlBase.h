#pragma once

#include <QWidget>

#include <string>
#include <vector>

#include "Cursors.h"
#include "Events.h"

class Canvas;
class Component;

// The Qt side of a windowless control: a child widget without a native
// window of its own, painted on its parent's surface and given mouse events
// by it, with the few calls the shared Control makes of it in the program's
// own types. The widget's mouse and paint events come to the control as the
// pointer and paint hooks below.
class ControlBase : public QWidget {
public:
    // The held buttons and modifiers as the mouse events carry them.
    static TShiftState shiftState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                                  bool doubleClick);
    // Whether the controls lie, in this order, on top of everything of
    // their parent's that counts, with `uncounted` left out: raising each in
    // turn would change nothing anyone sees.
    static bool stackedOnTop(const std::vector<const ControlBase*>& inTurn,
                             const std::vector<const ControlBase*>& uncounted);

protected:
    ControlBase();

    // Whether the component has a surface a control can be put on.
    static bool isSurface(Component* component);
    bool onSurface() const { return parentWidget() != nullptr; }
    // Puts the control on the surface of `parent`; false when it has none or
    // the control is on it already.
    bool attachTo(Component* parent);
    void placeOnSurface(int left, int top, int width, int height);
    void showOnSurface(bool visible) { QWidget::setVisible(visible); }
    void showCursorShape(TCursor cursor);
    void showHint(const std::string& hint);
    // The control's own Enabled, whatever its parent's.
    bool ownEnabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    // A control that takes no pointer lets presses through to what lies below.
    void setTakesPointer(bool takes) { setAttribute(Qt::WA_TransparentForMouseEvents, !takes); }

    // The pointer in the control's own pixels. A double press is the second
    // press of a double click.
    virtual void pointerPressed(TMouseButton, TShiftState, int, int) {}
    virtual void pointerDoublePressed(TMouseButton, TShiftState, int, int) {}
    virtual void pointerReleased(TMouseButton, TShiftState, int, int) {}
    virtual void pointerMoved(TShiftState, int, int) {}
    // Painting on the parent's surface, clipped to the control.
    virtual void paint(Canvas& canvas);

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    // Set while the control changes parent, when Qt hides it on its own.
    bool reparenting_ = false;
};
