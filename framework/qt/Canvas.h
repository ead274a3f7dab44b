#pragma once

class QPainter;

// What a control paints on: on Qt, the painter of the widget being painted,
// which is clipped to the control and draws on the parent's surface.
class Canvas {
public:
    explicit Canvas(QPainter& painter) : painter_(painter) {}
    QPainter& painter() const { return painter_; }

private:
    QPainter& painter_;
};
