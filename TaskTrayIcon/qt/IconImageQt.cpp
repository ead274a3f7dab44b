#include "IconImage.h"

#include <QBuffer>
#include <QByteArray>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

#include "QtIconHandle.h"

namespace {

class QtIconImage : public IconImage {
public:
    explicit QtIconImage(QIcon icon) : icon_(std::move(icon)) {}
    IconHandle handle() const override { return handleOf(icon_); }

private:
    QIcon icon_;
};

} // namespace

std::unique_ptr<const IconImage> IconImage::decode(const std::vector<std::uint8_t>& bytes) {
    // Every image of the file, so that the desktop can pick the size it shows.
    QByteArray raw(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&raw);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    QIcon icon;
    do {
        QImage image = reader.read();
        if (image.isNull())
            break;
        icon.addPixmap(QPixmap::fromImage(image));
    } while (reader.jumpToNextImage());
    if (icon.isNull())
        return nullptr;
    return std::make_unique<QtIconImage>(std::move(icon));
}
