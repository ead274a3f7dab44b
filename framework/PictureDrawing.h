#pragma once

#include "Picture.h"

#include <QImage>

#include <cstdint>

class QPainter;
class QRect;
class QPoint;

// Raster operations of picture-to-surface copies, by their classic codes.
enum class RasterOp : std::uint32_t {
    SRCCOPY = 0x00CC0020,      // source
    SRCAND = 0x008800C6,       // source AND destination
    SRCINVERT = 0x00660046,    // source XOR destination
    DSTANDNOTSRC = 0x00220326, // destination AND NOT source
};

// Draws a Picture with Qt. The picture is turned into a QImage once and the
// image is kept until the picture changes, so repeated painting converts
// nothing. The raster operations need a raster surface (a QImage, or a
// widget's backing store), which is what every painter here draws on.
class PictureDrawing {
public:
    explicit PictureDrawing(const Picture& picture) : picture_(picture) {}

    // The picture as an opaque 32-bit image (cached).
    const QImage& image() const;
    // The same with every pixel of the key colour (the bottom-left pixel's)
    // fully transparent (cached).
    const QImage& keyedImage() const;

    // 1:1 at a point.
    void draw(QPainter& painter, const QPoint& at) const;
    // Stretched over a rectangle (nearest pixel, as blits do).
    void drawStretched(QPainter& painter, const QRect& target) const;
    // Stretched, with the key colour see-through.
    void drawTransparent(QPainter& painter, const QRect& target) const;
    // Stretched, combined with what the surface holds by a raster operation.
    void drawRop(QPainter& painter, const QRect& target, RasterOp rop) const;

    // Uncached conversions.
    static QImage toQImage(const Picture& picture);
    static Picture fromQImage(const QImage& image); // 32 bits per pixel

private:
    const Picture& picture_;
    mutable QImage image_;
    mutable std::uint64_t imageChange_ = ~std::uint64_t{0};
    mutable QImage keyed_;
    mutable std::uint64_t keyedChange_ = ~std::uint64_t{0};
};
