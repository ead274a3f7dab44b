#include "FloorPet.h"

#include <X11/Xlib.h>

#include <X11/extensions/shape.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace {

constexpr int kFrames = 6;

// A 24- or 32-bit uncompressed bitmap file as rows of 0xRRGGBB, top row
// first.
struct Image {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
};

std::uint32_t le32(const std::vector<unsigned char>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

Image readBmp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M')
        throw std::runtime_error(path + ": not a bitmap file");
    const std::uint32_t offset = le32(b, 10);
    const int width = static_cast<int>(le32(b, 18));
    const int rawHeight = static_cast<int>(le32(b, 22));
    const int bits = b[28] | (b[29] << 8);
    const int height = std::abs(rawHeight);
    if ((bits != 24 && bits != 32) || le32(b, 30) != 0 || width <= 0 || width > 4096 || height == 0 ||
        height > 4096)
        throw std::runtime_error(path + ": only uncompressed 24- or 32-bit bitmaps are read");
    const std::size_t stride = (static_cast<std::size_t>(width) * (bits / 8) + 3) / 4 * 4;
    if (offset + stride * height > b.size())
        throw std::runtime_error(path + ": the file is cut short");
    Image img{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    for (int y = 0; y < height; ++y) {
        // Rows run bottom-up unless the height is negative.
        const std::size_t row = offset + stride * (rawHeight > 0 ? height - 1 - y : y);
        for (int x = 0; x < width; ++x) {
            const std::size_t p = row + static_cast<std::size_t>(x) * (bits / 8);
            img.pixels[static_cast<std::size_t>(y) * width + x] = b[p] | (b[p + 1] << 8) | (b[p + 2] << 16);
        }
    }
    return img;
}

// Scales an 8-bit channel into a visual's colour mask.
unsigned long channel(std::uint32_t value8, unsigned long mask) {
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    const unsigned long max = mask >> shift;
    return ((value8 * max + 127) / 255) << shift;
}

} // namespace

struct FloorPet::State {
    Display* dpy = nullptr;
    Window window = 0;
    std::array<Pixmap, kFrames> pictures{};
    std::array<Pixmap, kFrames> shapes{};
    int width = 0, height = 0;
    int left = 0, top = 0;
    int step = 10;
    int phase = 0;
};

FloorPet::FloorPet(const std::string& artDir, int step) : state_(new State) {
    State& s = *state_;
    s.step = step;
    s.dpy = XOpenDisplay(nullptr);
    if (!s.dpy) {
        delete state_;
        throw std::runtime_error("cannot open the display");
    }
    const int screen = DefaultScreen(s.dpy);
    Visual* visual = DefaultVisual(s.dpy, screen);
    const int depth = DefaultDepth(s.dpy, screen);
    const Window root = RootWindow(s.dpy, screen);
    GC gc = nullptr;
    for (int f = 0; f < kFrames; ++f) {
        const Image img = readBmp(artDir + "/Rgn" + std::to_string(f + 1) + ".bmp");
        if (f == 0) {
            s.width = img.width;
            s.height = img.height;
        }
        // The key colour is the bottom-left pixel; every other pixel is the
        // figure and belongs to the shape.
        const std::uint32_t key = img.pixels[static_cast<std::size_t>(img.height - 1) * img.width];
        const int maskStride = (img.width + 7) / 8;
        std::vector<char> mask(static_cast<std::size_t>(maskStride) * img.height, 0);
        XImage* ximg = XCreateImage(s.dpy, visual, depth, ZPixmap, 0, nullptr, img.width, img.height, 32, 0);
        ximg->data =
            static_cast<char*>(std::malloc(static_cast<std::size_t>(ximg->bytes_per_line) * img.height));
        for (int y = 0; y < img.height; ++y)
            for (int x = 0; x < img.width; ++x) {
                const std::uint32_t c = img.pixels[static_cast<std::size_t>(y) * img.width + x];
                XPutPixel(ximg, x, y,
                          channel((c >> 16) & 0xff, visual->red_mask) |
                              channel((c >> 8) & 0xff, visual->green_mask) |
                              channel(c & 0xff, visual->blue_mask));
                if (c != key)
                    mask[static_cast<std::size_t>(y) * maskStride + x / 8] |= static_cast<char>(1 << (x % 8));
            }
        s.pictures[f] = XCreatePixmap(s.dpy, root, img.width, img.height, depth);
        if (!gc)
            gc = XCreateGC(s.dpy, s.pictures[f], 0, nullptr);
        XPutImage(s.dpy, s.pictures[f], gc, ximg, 0, 0, 0, 0, img.width, img.height);
        XDestroyImage(ximg);
        s.shapes[f] = XCreateBitmapFromData(s.dpy, root, mask.data(), img.width, img.height);
    }
    XFreeGC(s.dpy, gc);

    XSetWindowAttributes attrs{};
    attrs.background_pixmap = s.pictures[2];
    attrs.event_mask = ButtonPressMask | ButtonReleaseMask | ExposureMask | StructureNotifyMask;
    s.window = XCreateWindow(s.dpy, root, 0, 0, s.width, s.height, 0, depth, InputOutput, visual,
                             CWBackPixmap | CWEventMask, &attrs);
    XShapeCombineMask(s.dpy, s.window, ShapeBounding, 0, 0, s.shapes[2], ShapeSet);
    XStoreName(s.dpy, s.window, "kuvito floor");
    XClassHint hint{const_cast<char*>("kuvito-floor"), const_cast<char*>("KuvitoFloor")};
    XSetClassHint(s.dpy, s.window, &hint);
    // The window the mascot is: no frame, a utility window that stays on
    // top and has no taskbar button.
    const long motif[5] = {2, 0, 0, 0, 0};
    const Atom motifAtom = XInternAtom(s.dpy, "_MOTIF_WM_HINTS", False);
    XChangeProperty(s.dpy, s.window, motifAtom, motifAtom, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(motif), 5);
    const Atom type = XInternAtom(s.dpy, "_NET_WM_WINDOW_TYPE_UTILITY", False);
    XChangeProperty(s.dpy, s.window, XInternAtom(s.dpy, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&type), 1);
    const Atom states[3] = {XInternAtom(s.dpy, "_NET_WM_STATE_SKIP_TASKBAR", False),
                            XInternAtom(s.dpy, "_NET_WM_STATE_SKIP_PAGER", False),
                            XInternAtom(s.dpy, "_NET_WM_STATE_ABOVE", False)};
    XChangeProperty(s.dpy, s.window, XInternAtom(s.dpy, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(states), 3);
    XSizeHints size{};
    size.flags = PPosition | USPosition;
    XSetWMNormalHints(s.dpy, s.window, &size);
    XMapWindow(s.dpy, s.window);
    XFlush(s.dpy);
}

FloorPet::~FloorPet() {
    State& s = *state_;
    XDestroyWindow(s.dpy, s.window);
    for (int f = 0; f < kFrames; ++f) {
        XFreePixmap(s.dpy, s.pictures[f]);
        XFreePixmap(s.dpy, s.shapes[f]);
    }
    XCloseDisplay(s.dpy);
    delete state_;
}

int FloorPet::fd() const {
    return ConnectionNumber(state_->dpy);
}

void FloorPet::tick() {
    State& s = *state_;
    Window root = 0, child = 0;
    int px = 0, py = 0, wx = 0, wy = 0;
    unsigned buttons = 0;
    XQueryPointer(s.dpy, DefaultRootWindow(s.dpy), &root, &child, &px, &py, &wx, &wy, &buttons);
    // The chase rule: a step towards the pointer on each axis, landing on it
    // when within a step; the walking frames alternate, the idle ones when
    // the pointer is reached.
    int frame = 0;
    if (s.left == px && s.top == py) {
        frame = 0;
    } else {
        const int oldLeft = s.left, oldTop = s.top;
        if (s.left < px)
            s.left += s.step;
        if (s.left > px)
            s.left -= s.step;
        if (s.top < py)
            s.top += s.step;
        if (s.top > py)
            s.top -= s.step;
        if (std::abs(s.left - px) <= s.step)
            s.left = px;
        if (std::abs(s.top - py) <= s.step)
            s.top = py;
        if (s.left != oldLeft || s.top != oldTop)
            XMoveWindow(s.dpy, s.window, s.left, s.top);
        frame = s.left < px ? 4 : 2;
    }
    s.phase ^= 1;
    const int shown = frame + (s.phase ? 0 : 1);
    XSetWindowBackgroundPixmap(s.dpy, s.window, s.pictures[shown]);
    XClearWindow(s.dpy, s.window);
    XShapeCombineMask(s.dpy, s.window, ShapeBounding, 0, 0, s.shapes[shown], ShapeSet);
    XFlush(s.dpy);
}

void FloorPet::drainEvents() {
    State& s = *state_;
    // Exposure repaints itself from the background pixmap; a press would
    // start a drag in a real pet. Nothing else needs an answer.
    while (XPending(s.dpy) > 0) {
        XEvent ev;
        XNextEvent(s.dpy, &ev);
    }
}
