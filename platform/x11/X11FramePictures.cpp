#include "X11FramePictures.h"

#include <QImage>

// Xlib after Qt: its macros (None, Bool, Status, ...) would clash with Qt's
// names in Qt's headers.
#include <X11/Xlib.h>

#include <X11/Xutil.h>

#include <cstdlib>

namespace {

Display* dpyOf(void* display) {
    return static_cast<Display*>(display);
}

// Scales an 8-bit channel into a visual's colour mask.
unsigned long channel(unsigned value8, unsigned long mask) {
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    return ((static_cast<unsigned long>(value8) * (mask >> shift) + 127) / 255) << shift;
}

} // namespace

X11FramePictures::X11FramePictures(void* display, void* visual, int depth, bool withAlpha)
    : display_(display), visual_(visual), depth_(depth), withAlpha_(withAlpha) {}

X11FramePictures::~X11FramePictures() {
    Display* dpy = dpyOf(display_);
    for (const Frame& f : frames_) {
        XFreePixmap(dpy, f.picture);
        XFreePixmap(dpy, f.mask);
    }
    if (pictureGc_)
        XFreeGC(dpy, static_cast<GC>(pictureGc_));
    if (maskGc_)
        XFreeGC(dpy, static_cast<GC>(maskGc_));
}

int X11FramePictures::find(const QRegion& region) const {
    for (std::size_t i = 0; i < frames_.size(); ++i)
        if (frames_[i].region == region)
            return static_cast<int>(i);
    return -1;
}

int X11FramePictures::add(const QRegion& region, const QImage& painted) {
    Display* dpy = dpyOf(display_);
    auto* visual = static_cast<Visual*>(visual_);
    const Window root = DefaultRootWindow(dpy);
    Frame frame;
    frame.region = region;
    frame.bounds = region.isEmpty() ? QRect(0, 0, 1, 1) : region.boundingRect();
    const QRect& b = frame.bounds;
    if (!pictureGc_) {
        // A graphics context serves drawables of its own depth only.
        const Pixmap picture = XCreatePixmap(dpy, root, 1, 1, depth_);
        const Pixmap mask = XCreatePixmap(dpy, root, 1, 1, 1);
        pictureGc_ = XCreateGC(dpy, picture, 0, nullptr);
        maskGc_ = XCreateGC(dpy, mask, 0, nullptr);
        XFreePixmap(dpy, picture);
        XFreePixmap(dpy, mask);
    }
    GC pictureGc = static_cast<GC>(pictureGc_);
    GC maskGc = static_cast<GC>(maskGc_);
    if (frames_.empty())
        area_ = b;
    else if (!area_.contains(b))
        widen(area_.united(b));
    const QRect& a = area_;

    // Which pixels of the bounds the outline covers: only those are opaque
    // on a visual with alpha.
    std::vector<unsigned char> inside(static_cast<std::size_t>(b.width()) * b.height(), 0);
    for (const QRect& r : region)
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                inside[static_cast<std::size_t>(y - b.y()) * b.width() + (x - b.x())] = 1;

    // Whatever bits of a pixel the colours leave free are its alpha.
    const unsigned long depthBits = depth_ >= 32 ? 0xffffffffUL : (1UL << depth_) - 1;
    const unsigned long alphaMask =
        withAlpha_ ? depthBits & ~(visual->red_mask | visual->green_mask | visual->blue_mask) : 0;
    // Transparent outside the outline: colour and alpha both zero, as
    // compositors expect premultiplied pixels.
    XImage* ximage = XCreateImage(dpy, visual, depth_, ZPixmap, 0, nullptr, a.width(), a.height(), 32, 0);
    ximage->data =
        static_cast<char*>(std::calloc(static_cast<std::size_t>(ximage->bytes_per_line) * a.height(), 1));
    for (int y = b.top(); y <= b.bottom(); ++y) {
        const auto* row = y >= 0 && y < painted.height()
                              ? reinterpret_cast<const QRgb*>(painted.constScanLine(y))
                              : nullptr;
        for (int x = b.left(); x <= b.right(); ++x) {
            if (!inside[static_cast<std::size_t>(y - b.y()) * b.width() + (x - b.x())])
                continue;
            const QRgb c = row && x >= 0 && x < painted.width() ? row[x] : qRgb(0, 0, 0);
            XPutPixel(ximage, x - a.x(), y - a.y(),
                      channel(qRed(c), visual->red_mask) | channel(qGreen(c), visual->green_mask) |
                          channel(qBlue(c), visual->blue_mask) | alphaMask);
        }
    }
    frame.picture = XCreatePixmap(dpy, root, a.width(), a.height(), depth_);
    XPutImage(dpy, frame.picture, pictureGc, ximage, 0, 0, 0, 0, a.width(), a.height());
    XDestroyImage(ximage);

    frame.mask = XCreatePixmap(dpy, root, b.width(), b.height(), 1);
    XSetForeground(dpy, maskGc, 0);
    XFillRectangle(dpy, frame.mask, maskGc, 0, 0, b.width(), b.height());
    XSetForeground(dpy, maskGc, 1);
    std::vector<XRectangle> rects;
    for (const QRect& r : region)
        rects.push_back({static_cast<short>(r.x() - b.x()), static_cast<short>(r.y() - b.y()),
                         static_cast<unsigned short>(r.width()), static_cast<unsigned short>(r.height())});
    if (!rects.empty())
        XFillRectangles(dpy, frame.mask, maskGc, rects.data(), static_cast<int>(rects.size()));
    frames_.push_back(frame);
    return static_cast<int>(frames_.size()) - 1;
}

void X11FramePictures::widen(const QRect& area) {
    Display* dpy = dpyOf(display_);
    GC gc = static_cast<GC>(pictureGc_);
    XSetForeground(dpy, gc, 0);
    for (Frame& f : frames_) {
        const Pixmap wider = XCreatePixmap(dpy, DefaultRootWindow(dpy), area.width(), area.height(), depth_);
        // Transparent (and, without alpha, outside every shape) where the
        // old picture did not reach.
        XFillRectangle(dpy, wider, gc, 0, 0, area.width(), area.height());
        XCopyArea(dpy, f.picture, wider, gc, 0, 0, area_.width(), area_.height(), area_.x() - area.x(),
                  area_.y() - area.y());
        XFreePixmap(dpy, f.picture);
        f.picture = wider;
    }
    area_ = area;
}
