#pragma once

#include "Picture.h"

#include <cstdint>
#include <memory>

class Canvas;

// Raster operations of picture-to-surface copies, by their classic codes
// (named apart from the system's own macros for them, so that a source may
// include Windows' headers beside this one).
enum class RasterOp : std::uint32_t {
    sourceCopy = 0x00CC0020,   // source
    sourceAnd = 0x008800C6,    // source AND destination
    sourceXor = 0x00660046,    // source XOR destination
    notSourceAnd = 0x00220326, // destination AND NOT source
};

// Draws a Picture on a Canvas. The picture is turned into what the toolkit
// draws from (a QImage on Qt, a DIB section on Windows) once, and that is
// kept until the picture changes, so repeated painting converts nothing.
// Targets are rectangles in the canvas's pixels: left, top, width, height.
class PictureDrawing {
public:
    explicit PictureDrawing(const Picture& picture);
    ~PictureDrawing();
    PictureDrawing(PictureDrawing&&) noexcept;
    PictureDrawing(const PictureDrawing&) = delete;
    PictureDrawing& operator=(const PictureDrawing&) = delete;

    // Stretched over a rectangle (nearest pixel, as blits do).
    void drawStretched(Canvas& canvas, int left, int top, int width, int height) const;
    // Stretched, with the key colour (the bottom-left pixel's) see-through.
    void drawTransparent(Canvas& canvas, int left, int top, int width, int height) const;
    // Stretched, combined with what the surface holds by a raster operation.
    void drawRop(Canvas& canvas, int left, int top, int width, int height, RasterOp rop) const;

    // What the toolkit draws from, made from the picture (per toolkit).
    struct Prepared;

private:
    // The prepared form of the picture as it is now.
    Prepared& prepared() const;

    const Picture& picture_;
    mutable std::unique_ptr<Prepared> prepared_;
    mutable std::uint64_t preparedChange_ = ~std::uint64_t{0};
};
