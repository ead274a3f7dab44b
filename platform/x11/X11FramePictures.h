#pragma once

#include <QRect>
#include <QRegion>

#include <cstdint>
#include <vector>

class QImage;

// The pictures and shape masks of the mascot's frames, kept on the X server
// so that a frame switch sends only their ids. Each frame is prepared once,
// the first time its outline is shown.
//
// The window that shows them covers the area every outline prepared so far
// lies in (the union of their bounding rectangles), not the whole form:
// window managers keep a window's whole rectangle inside the work area, and
// the form's empty corners would keep the character off the panel's edge.
// One area for all frames means a frame switch neither moves nor resizes the
// window, so a window manager that pushes the window away from a panel
// pushes every frame alike and the character does not bob between frames.
// The area only grows when an outline reaching beyond it is first shown;
// the pictures already made are then widened on the server.
//
// With a visual that has an alpha channel, a picture is opaque inside the
// outline and fully transparent outside it, so that a compositor that ignores
// the window's shape still shows the character alone.
//
// Declared without any Xlib type (the display and the visual are passed as
// pointers, the server's ids as integers) so that Xlib's macros stay out of
// the Qt code that includes this.
class X11FramePictures {
public:
    // `display` is the Display*, `visual` the window's Visual* of `depth`.
    X11FramePictures(void* display, void* visual, int depth, bool withAlpha);
    ~X11FramePictures();
    X11FramePictures(const X11FramePictures&) = delete;
    X11FramePictures& operator=(const X11FramePictures&) = delete;

    struct Frame {
        QRegion region;
        // The outline's bounding rectangle in the form's coordinates (1 x 1
        // at the corner for an empty outline).
        QRect bounds;
        // As large as the area, its corner at the area's corner.
        std::uintptr_t picture = 0;
        // A 1-bit mask of the outline over its bounds.
        std::uintptr_t mask = 0;
    };

    // The frame prepared for this outline, or -1.
    int find(const QRegion& region) const;
    // Prepares a frame from the whole form as painted (its corner is the
    // form's corner) and returns its index.
    int add(const QRegion& region, const QImage& painted);
    const Frame& at(int index) const { return frames_[static_cast<std::size_t>(index)]; }
    // Where the window stands in the form's coordinates; empty before the
    // first frame.
    QRect area() const { return area_; }

private:
    // Widens the pictures made so far to a larger area.
    void widen(const QRect& area);

    void* display_;
    void* visual_;
    int depth_;
    bool withAlpha_;
    // Graphics contexts for the pictures' depth and for 1-bit masks, made
    // with the first frame.
    void* pictureGc_ = nullptr;
    void* maskGc_ = nullptr;
    std::vector<Frame> frames_;
    QRect area_;
};
