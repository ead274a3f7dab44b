#include "IconReader.h"

#include <QFile>

#include <cstdint>
#include <stdexcept>

namespace {

std::uint32_t le32(const QByteArray& d, qsizetype at) {
    if (at + 4 > d.size()) {
        throw std::runtime_error("icon file is cut short");
    }
    const auto b = [&](qsizetype i) { return std::uint32_t(std::uint8_t(d[at + i])); };
    return b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
}

std::uint16_t le16(const QByteArray& d, qsizetype at) {
    return std::uint16_t(le32(d, at) & 0xFFFF);
}

} // namespace

QImage IconReader::read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("cannot open " + path.toStdString());
    }
    const QByteArray d = file.readAll();
    if (d.size() < 22 || le16(d, 2) != 1 || le16(d, 4) != 1) {
        throw std::runtime_error(path.toStdString() + " is not a one-image icon");
    }
    const qsizetype image = qsizetype(le32(d, 18));
    const int width = int(le32(d, image + 4));
    const int height = int(le32(d, image + 8)) / 2;
    if (le16(d, image + 14) != 4 || width != 32 || height != 32) {
        throw std::runtime_error(path.toStdString() + " is not a 32 x 32, 4-bit icon");
    }
    const qsizetype palette = image + qsizetype(le32(d, image));
    const qsizetype colourBits = palette + 16 * 4;
    const qsizetype colourRow = width / 2;
    const qsizetype maskBits = colourBits + colourRow * height;
    const qsizetype maskRow = 4;
    if (maskBits + maskRow * height > d.size()) {
        throw std::runtime_error("icon file is cut short");
    }
    QImage out(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        const int stored = height - 1 - y; // rows are stored bottom first
        for (int x = 0; x < width; ++x) {
            const std::uint8_t pair = std::uint8_t(d[colourBits + stored * colourRow + x / 2]);
            const int index = x % 2 == 0 ? pair >> 4 : pair & 0x0F;
            const std::uint8_t maskByte = std::uint8_t(d[maskBits + stored * maskRow + x / 8]);
            const bool clear = (maskByte >> (7 - x % 8)) & 1;
            const qsizetype entry = palette + index * 4;
            const QRgb colour =
                qRgb(std::uint8_t(d[entry + 2]), std::uint8_t(d[entry + 1]), std::uint8_t(d[entry]));
            out.setPixel(x, y, clear ? qRgba(0, 0, 0, 0) : colour);
        }
    }
    return out;
}
