#pragma once

#include "Component.h"
#include "ControlBase.h"
#include "Cursors.h"
#include "Events.h"

class Canvas;

// A windowless control: painted on its parent's surface and given mouse
// events by it (ControlBase, chosen by the build: a child QWidget on Qt, a
// rectangle of the form's window on Windows). Every change
// of position or size goes through the virtual setBounds, the stored Left,
// Top, Width and Height of a layout included. Later controls paint on top of
// earlier ones and are hit first; bringToFront() moves one to the top.
class Control : public ControlBase, public Component {
public:
    // An owner that is a widget also becomes the parent widget; the stored
    // parent of a layout replaces it (setParentComponent).
    explicit Control(Component* owner);
    ~Control() override;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void setLeft(int v) { setBounds(v, top_, width_, height_); }
    void setTop(int v) { setBounds(left_, v, width_, height_); }
    void setWidth(int v) { setBounds(left_, top_, v, height_); }
    void setHeight(int v) { setBounds(left_, top_, width_, v); }
    virtual void setBounds(int left, int top, int width, int height);

    TCursor Cursor() const { return cursor_; }
    void setCursorNumber(TCursor cursor);
    const std::string& Hint() const { return hint_; }
    void setHint(const std::string& hint);
    // The Visible property: kept even while the control has no parent.
    bool Visible() const { return visible_; }
    void setVisible(bool visible) override;
    bool Enabled() const { return ownEnabled(); }

    const TNotifyEvent& OnClick() const { return onClick_; }
    void setOnClick(TNotifyEvent h) { onClick_ = std::move(h); }
    const TNotifyEvent& OnDblClick() const { return onDblClick_; }
    void setOnDblClick(TNotifyEvent h) { onDblClick_ = std::move(h); }
    const TMouseEvent& OnMouseDown() const { return onMouseDown_; }
    void setOnMouseDown(TMouseEvent h) { onMouseDown_ = std::move(h); }
    const TMouseEvent& OnMouseUp() const { return onMouseUp_; }
    void setOnMouseUp(TMouseEvent h) { onMouseUp_ = std::move(h); }
    const TMouseMoveEvent& OnMouseMove() const { return onMouseMove_; }
    void setOnMouseMove(TMouseMoveEvent h) { onMouseMove_ = std::move(h); }

    // Raise among the parent's controls and repaint.
    void bringToFront();
    void sendToBack();

    // The erase-background request: answered as done (1), nothing drawn.
    virtual int eraseBackground() { return 1; }

    // A widget parent becomes the parent widget.
    void setParentComponent(Component* parent) override;
    bool readProperty(const std::string& path, const FormValue& value) override;
    void writeProperties(PropertyWriter& writer) const override;

protected:
    // Mouse hooks; the base ones raise the events. A left press followed by
    // a left release inside the control is a click (Click before MouseUp).
    virtual void mouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void mouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void mouseMove(TShiftState shift, int x, int y);
    virtual void click();
    virtual void dblClick();

    // The pointer as the control's surface reports it.
    void pointerPressed(TMouseButton button, TShiftState shift, int x, int y) override;
    void pointerDoublePressed(TMouseButton button, TShiftState shift, int x, int y) override;
    void pointerReleased(TMouseButton button, TShiftState shift, int x, int y) override;
    void pointerMoved(TShiftState shift, int x, int y) override;

private:
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TCursor cursor_ = Cursors::crDefault;
    std::string hint_;
    bool visible_ = true;
    bool clicked_ = false;
    TNotifyEvent onClick_, onDblClick_;
    TMouseEvent onMouseDown_, onMouseUp_;
    TMouseMoveEvent onMouseMove_;
};
