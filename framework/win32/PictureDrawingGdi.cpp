#include "PictureDrawing.h"

#include <windows.h>

#include "Canvas.h"

// On Windows the picture is a 32-bit DIB section, selected into a memory
// device context of its own, made once for each change of the picture: a
// paint is then one blit, with nothing converted.
struct PictureDrawing::Prepared {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    int width = 0, height = 0;
    COLORREF key = 0;

    explicit Prepared(const Picture& picture) : width(picture.width()), height(picture.height()) {
        if (picture.empty())
            return;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down, as the picture's rows are read here
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap == nullptr)
            return;
        auto* out = static_cast<std::uint8_t*>(bits);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Picture::Rgb c = picture.pixel(x, y);
                std::uint8_t* p = out + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                         static_cast<std::size_t>(x)) *
                                            4;
                p[0] = c.blue;
                p[1] = c.green;
                p[2] = c.red;
                p[3] = 0;
            }
        const Picture::Rgb k = picture.pixel(0, height - 1);
        key = RGB(k.red, k.green, k.blue);
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
    }
    ~Prepared() {
        if (dc) {
            SelectObject(dc, old);
            DeleteDC(dc);
        }
        if (bitmap)
            DeleteObject(bitmap);
    }
    Prepared(const Prepared&) = delete;
    Prepared& operator=(const Prepared&) = delete;
};

PictureDrawing::PictureDrawing(const Picture& picture) : picture_(picture) {}
PictureDrawing::~PictureDrawing() = default;
PictureDrawing::PictureDrawing(PictureDrawing&&) noexcept = default;

PictureDrawing::Prepared& PictureDrawing::prepared() const {
    if (!prepared_ || preparedChange_ != picture_.changeCount()) {
        prepared_ = std::make_unique<Prepared>(picture_);
        preparedChange_ = picture_.changeCount();
    }
    return *prepared_;
}

namespace {
HDC targetOf(Canvas& canvas) {
    return static_cast<HDC>(canvas.dc());
}
} // namespace

void PictureDrawing::drawStretched(Canvas& canvas, int left, int top, int width, int height) const {
    drawRop(canvas, left, top, width, height, RasterOp::sourceCopy);
}

void PictureDrawing::drawTransparent(Canvas& canvas, int left, int top, int width, int height) const {
    if (picture_.empty())
        return;
    const Prepared& p = prepared();
    if (p.dc == nullptr)
        return;
    GdiTransparentBlt(targetOf(canvas), left, top, width, height, p.dc, 0, 0, p.width, p.height, p.key);
}

void PictureDrawing::drawRop(Canvas& canvas, int left, int top, int width, int height, RasterOp rop) const {
    if (picture_.empty())
        return;
    const Prepared& p = prepared();
    if (p.dc == nullptr)
        return;
    HDC target = targetOf(canvas);
    // Nearest pixel, as the Qt side draws with smoothing off.
    SetStretchBltMode(target, COLORONCOLOR);
    StretchBlt(target, left, top, width, height, p.dc, 0, 0, p.width, p.height, static_cast<DWORD>(rop));
}
