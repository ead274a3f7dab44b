#pragma once

#include <string>
#include <vector>

#include "Cursors.h"
#include "Events.h"

class Canvas;
class Component;
class FormBase;

// The Windows side of a windowless control: a rectangle of its form's
// window, painted by the form in stacking order and given the mouse
// messages that fall on it (FormBase), with the same calls the shared
// Control makes of the Qt side and the few widget calls the program makes
// of a control (setVisible, isVisible, setEnabled, isEnabled, update,
// repaint, raise, lower). A control's surface is a form.
class ControlBase {
public:
    virtual ~ControlBase();
    ControlBase(const ControlBase&) = delete;
    ControlBase& operator=(const ControlBase&) = delete;

    static bool stackedOnTop(const std::vector<const ControlBase*>& inTurn,
                             const std::vector<const ControlBase*>& uncounted);

    virtual void setVisible(bool visible) { showOnSurface(visible); }
    // Shown and on a form.
    bool isVisible() const { return surface_ != nullptr && shown_; }
    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }
    void update();
    void repaint();
    void raise();
    void lower();

    // Where the control lies on its form, and whether it takes the pointer.
    int surfaceLeft() const { return left_; }
    int surfaceTop() const { return top_; }
    int surfaceWidth() const { return width_; }
    int surfaceHeight() const { return height_; }
    bool takesPointer() const { return takesPointer_ && enabled_; }
    TCursor cursorShape() const { return cursor_; }

protected:
    ControlBase() = default;

    static bool isSurface(Component* component);
    bool onSurface() const { return surface_ != nullptr; }
    bool attachTo(Component* parent);
    void placeOnSurface(int left, int top, int width, int height);
    void showOnSurface(bool visible);
    void showCursorShape(TCursor cursor) { cursor_ = cursor; }
    // Windows has no tips for windowless controls; the hint is kept only.
    void showHint(const std::string&) {}
    bool ownEnabled() const { return enabled_; }
    void setTakesPointer(bool takes) { takesPointer_ = takes; }

    virtual void pointerPressed(TMouseButton, TShiftState, int, int) {}
    virtual void pointerDoublePressed(TMouseButton, TShiftState, int, int) {}
    virtual void pointerReleased(TMouseButton, TShiftState, int, int) {}
    virtual void pointerMoved(TShiftState, int, int) {}
    virtual void paint(Canvas&) {}

    bool reparenting_ = false;

private:
    friend class FormBase;
    FormBase* surface_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool shown_ = false;
    bool enabled_ = true;
    bool takesPointer_ = true;
    TCursor cursor_ = Cursors::crDefault;
};
