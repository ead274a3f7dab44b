#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

// Lays the frames and the icon out for review: enlarged six times with
// square pixels, once on the key colour and once on a desktop colour with
// the key colour see-through, then all of them at their real size.
class SheetLayout {
public:
    SheetLayout(std::vector<QImage> pictures, QStringList labels);

    QImage render() const;

private:
    // The picture with its key colour (bottom-left pixel) made see-through;
    // the icon, which carries its own mask, is returned unchanged.
    static QImage keyedOut(const QImage& picture);
    void drawRow(class QPainter& painter, int top, int scale, const QColor& ground, bool keyed) const;
    int rowHeight(int scale) const;
    int rowWidth(int scale) const;

    std::vector<QImage> pictures_;
    QStringList labels_;
};
