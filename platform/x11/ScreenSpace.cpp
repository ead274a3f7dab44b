#include "ScreenSpace.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

ScreenSpace::ScreenSpace(std::vector<Screen> screens, std::size_t primary)
    : screens_(std::move(screens)), primary_(primary) {
    if (screens_.empty())
        screens_.push_back({});
    if (primary_ >= screens_.size())
        primary_ = 0;
    for (Screen& s : screens_)
        if (!(s.scale > 0))
            s.scale = 1;
}

ScreenSpace ScreenSpace::current() {
    std::vector<Screen> screens;
    std::size_t primary = 0;
    const QScreen* first = QGuiApplication::primaryScreen();
    for (const QScreen* s : QGuiApplication::screens()) {
        if (s == first)
            primary = screens.size();
        screens.push_back({s->geometry(), s->devicePixelRatio()});
    }
    return ScreenSpace(std::move(screens), primary);
}

QRect ScreenSpace::deviceRect(const Screen& screen) const {
    const QSize size(static_cast<int>(std::lround(screen.logical.width() * screen.scale)),
                     static_cast<int>(std::lround(screen.logical.height() * screen.scale)));
    return QRect(screen.logical.topLeft(), size);
}

const ScreenSpace::Screen& ScreenSpace::screenAtDevice(QPoint device) const {
    // A point off every monitor (a window partly outside) is scaled as on
    // the primary one.
    for (const Screen& s : screens_)
        if (deviceRect(s).contains(device))
            return s;
    return primary();
}

QPoint ScreenSpace::scaled(const Screen& screen, QPoint p, qreal factor) {
    const QPoint o = screen.logical.topLeft();
    const QPointF d = QPointF(p - o) * factor;
    return o + QPoint(static_cast<int>(std::floor(d.x() + 0.5)), static_cast<int>(std::floor(d.y() + 0.5)));
}

QPoint ScreenSpace::deviceToLogical(QPoint device) const {
    const Screen& on = screenAtDevice(device);
    return scaled(on, device, 1 / on.scale);
}

const ScreenSpace::Screen& ScreenSpace::screenAtLogical(QPoint logical) const {
    for (const Screen& s : screens_)
        if (s.logical.contains(logical))
            return s;
    return primary();
}

QPoint ScreenSpace::logicalToDevice(QPoint logical) const {
    const Screen& on = screenAtLogical(logical);
    return scaled(on, logical, on.scale);
}

ScreenSpace::Placement ScreenSpace::dragCorner(QPoint pointer, QPoint press) const {
    const auto cornerAt = [&](qreal scale) {
        return pointer - QPoint(static_cast<int>(std::lround(press.x() * scale)),
                                static_cast<int>(std::lround(press.y() * scale)));
    };
    // Drawn at the pointer's scale the corner may land on a monitor of
    // another scale (the pointer just past a border, the corner still
    // before it): then it is drawn at that monitor's scale, if its corner
    // stays there. Where neither scale keeps the corner on its own monitor
    // (a border between the press point and the corner at both), the
    // pointer's scale keeps the pressed point under the pointer.
    qreal scale = screenAtDevice(pointer).scale;
    QPoint corner = cornerAt(scale);
    if (const qreal there = screenAtDevice(corner).scale; there != scale) {
        const QPoint other = cornerAt(there);
        if (screenAtDevice(other).scale == there) {
            scale = there;
            corner = other;
        }
    }
    return {corner, scale};
}

QRegion ScreenSpace::scaledRegion(const QRegion& logical, qreal scale) {
    if (scale == 1)
        return logical;
    const auto at = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
    QRegion out;
    for (const QRect& r : logical)
        out +=
            QRect(QPoint(at(r.left()), at(r.top())), QPoint(at(r.right() + 1) - 1, at(r.bottom() + 1) - 1));
    return out;
}

ScreenRect ScreenSpace::deviceToProgram(const ScreenRect& device) const {
    // Both corners are scaled on the monitor of the top-left one, so that a
    // window across two monitors keeps its shape.
    const Screen& on = screenAtDevice({device.left, device.top});
    const QPoint a = toProgram(scaled(on, {device.left, device.top}, 1 / on.scale));
    const QPoint b = toProgram(scaled(on, {device.right, device.bottom}, 1 / on.scale));
    return {a.x(), a.y(), b.x(), b.y()};
}

ScreenRect ScreenSpace::logicalToProgram(const QRect& logical) const {
    const QPoint a = toProgram(logical.topLeft());
    return {a.x(), a.y(), a.x() + logical.width(), a.y() + logical.height()};
}

ScreenRect ScreenSpace::allDevice() const {
    QRect all;
    for (const Screen& s : screens_)
        all |= deviceRect(s);
    return {all.left(), all.top(), all.left() + all.width(), all.top() + all.height()};
}

ScreenRect ScreenSpace::primaryDevice() const {
    const QRect r = deviceRect(primary());
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
