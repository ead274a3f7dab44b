#include "PictureDrawing.h"

#include <QPainter>

namespace {

QPainter::CompositionMode compositionFor(RasterOp rop) {
    switch (rop) {
    case RasterOp::SRCAND:
        return QPainter::RasterOp_SourceAndDestination;
    case RasterOp::SRCINVERT:
        return QPainter::RasterOp_SourceXorDestination;
    case RasterOp::DSTANDNOTSRC:
        return QPainter::RasterOp_NotSourceAndDestination;
    case RasterOp::SRCCOPY:
    default:
        return QPainter::CompositionMode_Source;
    }
}

} // namespace

QImage PictureDrawing::toQImage(const Picture& picture) {
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

Picture PictureDrawing::fromQImage(const QImage& image) {
    if (image.isNull())
        return Picture();
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    Picture picture(rgb.width(), rgb.height(), Picture::PixelFormat::pf32bit);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::uint8_t* row = picture.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            row[4 * x] = static_cast<std::uint8_t>(qBlue(in[x]));
            row[4 * x + 1] = static_cast<std::uint8_t>(qGreen(in[x]));
            row[4 * x + 2] = static_cast<std::uint8_t>(qRed(in[x]));
            row[4 * x + 3] = 0;
        }
    }
    return picture;
}

const QImage& PictureDrawing::image() const {
    if (imageChange_ != picture_.changeCount()) {
        image_ = toQImage(picture_);
        imageChange_ = picture_.changeCount();
    }
    return image_;
}

const QImage& PictureDrawing::keyedImage() const {
    if (keyedChange_ != picture_.changeCount()) {
        const QImage& opaque = image();
        if (opaque.isNull()) {
            keyed_ = QImage();
        } else {
            keyed_ = opaque.convertToFormat(QImage::Format_ARGB32);
            const QRgb key = keyed_.pixel(0, keyed_.height() - 1);
            for (int y = 0; y < keyed_.height(); ++y) {
                auto* row = reinterpret_cast<QRgb*>(keyed_.scanLine(y));
                for (int x = 0; x < keyed_.width(); ++x)
                    if (row[x] == key)
                        row[x] = 0;
            }
        }
        keyedChange_ = picture_.changeCount();
    }
    return keyed_;
}

void PictureDrawing::draw(QPainter& painter, const QPoint& at) const {
    if (!picture_.empty())
        painter.drawImage(at, image());
}

void PictureDrawing::drawStretched(QPainter& painter, const QRect& target) const {
    if (!picture_.empty())
        painter.drawImage(target, image());
}

void PictureDrawing::drawTransparent(QPainter& painter, const QRect& target) const {
    if (picture_.empty())
        return;
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(target, keyedImage());
    painter.restore();
}

void PictureDrawing::drawRop(QPainter& painter, const QRect& target, RasterOp rop) const {
    if (picture_.empty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setCompositionMode(compositionFor(rop));
    painter.drawImage(target, image());
    painter.restore();
}
