#pragma once

// What a control paints on: on Windows, the device context of the form's
// back buffer, its origin moved to the control's corner and its clipping
// cut to the control, so a control paints in its own pixels.
class Canvas {
public:
    explicit Canvas(void* dc) : dc_(dc) {}
    // The HDC.
    void* dc() const { return dc_; }

private:
    void* dc_;
};
