#include "SheetLayout.h"

#include <QFont>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int margin = 16;
constexpr int labelHeight = 26;
constexpr int headingHeight = 30;
const QColor paper(246, 244, 238);
const QColor keyColour(0, 128, 192);
// A plain desktop colour of the kind the mascot usually walks over.
const QColor desktop(58, 110, 165);

} // namespace

SheetLayout::SheetLayout(std::vector<QImage> pictures, QStringList labels)
    : pictures_(std::move(pictures)), labels_(std::move(labels)) {}

QImage SheetLayout::keyedOut(const QImage& picture) {
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    if (picture.hasAlphaChannel()) {
        return out;
    }
    const QRgb key = out.pixel(0, out.height() - 1);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            if (out.pixel(x, y) == key) {
                out.setPixel(x, y, qRgba(0, 0, 0, 0));
            }
        }
    }
    return out;
}

int SheetLayout::rowHeight(int scale) const {
    int tallest = 0;
    for (const QImage& p : pictures_) {
        tallest = std::max(tallest, p.height());
    }
    return headingHeight + tallest * scale + labelHeight;
}

int SheetLayout::rowWidth(int scale) const {
    int width = margin;
    for (const QImage& p : pictures_) {
        width += p.width() * scale + margin;
    }
    return width;
}

void SheetLayout::drawRow(QPainter& painter, int top, int scale, const QColor& ground, bool keyed) const {
    int left = margin;
    const int pictureTop = top + headingHeight;
    for (std::size_t i = 0; i < pictures_.size(); ++i) {
        const QImage& source = pictures_[i];
        const QRect target(left, pictureTop, source.width() * scale, source.height() * scale);
        painter.fillRect(target, ground);
        // The icon's see-through pixels show the ground colour in both rows.
        const QImage shown = keyed || source.hasAlphaChannel() ? keyedOut(source) : source;
        painter.drawImage(target, shown);
        painter.setPen(Qt::black);
        painter.drawText(QRect(left, target.bottom() + 1, target.width(), labelHeight), Qt::AlignCenter,
                         labels_[qsizetype(i)]);
        left += target.width() + margin;
    }
}

QImage SheetLayout::render() const {
    constexpr int big = 6;
    const int width = std::max(rowWidth(big), rowWidth(1) * 2);
    const int height = 2 * rowHeight(big) + rowHeight(1) + margin;
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(paper);
    QPainter painter(&sheet);
    // Square, unsmoothed pixels: the enlargement must show the real pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    QFont font = painter.font();
    font.setPixelSize(16);
    painter.setFont(font);

    int top = 0;
    painter.drawText(QRect(margin, top, width, headingHeight), Qt::AlignVCenter, "x6 on the key colour");
    drawRow(painter, top, big, keyColour, false);
    top += rowHeight(big);
    painter.drawText(QRect(margin, top, width, headingHeight), Qt::AlignVCenter,
                     "x6 on a desktop, key colour see-through");
    drawRow(painter, top, big, desktop, true);
    top += rowHeight(big);
    painter.drawText(QRect(margin, top, width, headingHeight), Qt::AlignVCenter,
                     "actual size: on the key colour, then on a desktop");
    drawRow(painter, top, 1, keyColour, false);
    painter.translate(rowWidth(1), 0);
    drawRow(painter, top, 1, desktop, true);
    return sheet;
}
