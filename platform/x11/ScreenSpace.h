#pragma once

#include "DesktopServices.h"

#include <QPoint>
#include <QRect>
#include <QRegion>

#include <vector>

// The program's coordinates and the two spaces the X11 desktop speaks. The
// program's space has the primary monitor's top-left corner at 0, 0 (as on
// the classic platform) and counts Qt's logical pixels. Qt places windows in
// its own logical space, where the primary monitor may lie anywhere (to the
// right of another, say); the X server and Xlib count device pixels, which
// differ from logical ones when Qt scales (QT_SCALE_FACTOR, Xft.dpi). Every
// value the desktop hands to the program or takes from it passes through
// here, so that the program sees one space only.
class ScreenSpace {
public:
    struct Screen {
        QRect logical;   // Qt's geometry of the monitor
        qreal scale = 1; // device pixels per logical pixel
    };

    // screens[primary] is the primary monitor; an empty list is one
    // unscaled monitor at 0, 0.
    ScreenSpace(std::vector<Screen> screens, std::size_t primary);
    // The monitors Qt knows right now.
    static ScreenSpace current();

    // Qt's logical coordinates <-> the program's.
    QPoint toProgram(QPoint logical) const { return logical - origin(); }
    QPoint toLogical(QPoint program) const { return program + origin(); }

    // Device pixels (as Xlib reports them) to logical ones and back. Qt keeps
    // each monitor's top-left corner where the device has it and scales the
    // rest of the monitor from there.
    QPoint deviceToLogical(QPoint device) const;
    QPoint logicalToDevice(QPoint logical) const;
    QPoint deviceToProgram(QPoint device) const { return toProgram(deviceToLogical(device)); }
    ScreenRect deviceToProgram(const ScreenRect& device) const;
    ScreenRect logicalToProgram(const QRect& logical) const;

    // The primary monitor in device pixels.
    ScreenRect primaryDevice() const;
    // The smallest rectangle holding every monitor, in device pixels: where
    // anything the program can see or reach lies.
    ScreenRect allDevice() const;

    // Device pixels per logical pixel where a window's corner lies: the
    // monitor the point is on, or the primary one off every monitor, as the
    // conversions above count it.
    qreal scaleAtLogical(QPoint logical) const { return screenAtLogical(logical).scale; }
    // Where a window dragged by its pressed point (logical, in the window)
    // puts its corner with the pointer at `pointer` (device pixels), and at
    // which scale it is drawn there: the scale of the monitor the corner
    // lands on wherever that keeps it there, so that a later move to that
    // corner draws it the same way, and the pressed point stays under the
    // pointer across a border between scales.
    struct Placement {
        QPoint device;
        qreal scale = 1;
    };
    Placement dragCorner(QPoint pointer, QPoint press) const;
    // An outline in logical pixels as drawn at `scale`: each rectangle's
    // edges scaled and rounded, so that neighbouring rectangles still meet.
    static QRegion scaledRegion(const QRegion& logical, qreal scale);

private:
    QPoint origin() const { return primary().logical.topLeft(); }
    const Screen& primary() const { return screens_[primary_]; }
    QRect deviceRect(const Screen& screen) const;
    const Screen& screenAtDevice(QPoint device) const;
    const Screen& screenAtLogical(QPoint logical) const;
    // The point moved away from the monitor's top-left corner by factor.
    static QPoint scaled(const Screen& screen, QPoint p, qreal factor);

    std::vector<Screen> screens_;
    std::size_t primary_ = 0;
};
