#include "PictureDrawing.h"

#include <QImage>
#include <QPainter>

#include "Canvas.h"

// On Qt the picture is an opaque 32-bit image, and for transparent drawing
// the same with every key-colour pixel fully transparent. The raster
// operations need a raster surface (a QImage, or a widget's backing store),
// which is what every painter here draws on.
struct PictureDrawing::Prepared {
    QImage image;
    QImage keyed;
};

namespace {

QPainter::CompositionMode compositionFor(RasterOp rop) {
    switch (rop) {
    case RasterOp::sourceAnd:
        return QPainter::RasterOp_SourceAndDestination;
    case RasterOp::sourceXor:
        return QPainter::RasterOp_SourceXorDestination;
    case RasterOp::notSourceAnd:
        return QPainter::RasterOp_NotSourceAndDestination;
    case RasterOp::sourceCopy:
    default:
        return QPainter::CompositionMode_Source;
    }
}

QImage toQImage(const Picture& picture) {
    if (picture.empty())
        return QImage();
    QImage image(picture.width(), picture.height(), QImage::Format_RGB32);
    const bool direct24 = picture.pixelFormat() == Picture::PixelFormat::pf24bit;
    const bool direct32 = picture.bitsPerPixel() == 32;
    for (int y = 0; y < picture.height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        const std::uint8_t* row = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x) {
            if (direct24) {
                out[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
            } else if (direct32) {
                out[x] = qRgb(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
            } else {
                const Picture::Rgb c = picture.pixel(x, y);
                out[x] = qRgb(c.red, c.green, c.blue);
            }
        }
    }
    return image;
}

QImage keyedOf(const QImage& opaque) {
    if (opaque.isNull())
        return QImage();
    QImage keyed = opaque.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = keyed.pixel(0, keyed.height() - 1);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x)
            if (row[x] == key)
                row[x] = 0;
    }
    return keyed;
}

} // namespace

PictureDrawing::PictureDrawing(const Picture& picture) : picture_(picture) {}
PictureDrawing::~PictureDrawing() = default;
PictureDrawing::PictureDrawing(PictureDrawing&&) noexcept = default;

PictureDrawing::Prepared& PictureDrawing::prepared() const {
    if (!prepared_ || preparedChange_ != picture_.changeCount()) {
        prepared_ = std::make_unique<Prepared>();
        prepared_->image = toQImage(picture_);
        preparedChange_ = picture_.changeCount();
    }
    return *prepared_;
}

void PictureDrawing::drawStretched(Canvas& canvas, int left, int top, int width, int height) const {
    if (!picture_.empty())
        canvas.painter().drawImage(QRect(left, top, width, height), prepared().image);
}

void PictureDrawing::drawTransparent(Canvas& canvas, int left, int top, int width, int height) const {
    if (picture_.empty())
        return;
    Prepared& p = prepared();
    // The keyed image is made the first time it is asked for.
    if (p.keyed.isNull())
        p.keyed = keyedOf(p.image);
    QPainter& painter = canvas.painter();
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(QRect(left, top, width, height), p.keyed);
    painter.restore();
}

void PictureDrawing::drawRop(Canvas& canvas, int left, int top, int width, int height, RasterOp rop) const {
    if (picture_.empty())
        return;
    QPainter& painter = canvas.painter();
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setCompositionMode(compositionFor(rop));
    painter.drawImage(QRect(left, top, width, height), prepared().image);
    painter.restore();
}
