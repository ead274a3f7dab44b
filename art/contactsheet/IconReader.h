#pragma once

#include <QImage>
#include <QString>

// Reads a one-image, 4-bit icon file as written for the program: colour
// bits through the 16-colour palette, and the mask's set bits see-through.
// The icon is decoded here rather than through an image plugin so the sheet
// shows exactly what the mask says, whatever plugins are installed.
class IconReader {
public:
    // Throws std::runtime_error when the file is missing or not such an icon.
    static QImage read(const QString& path);
};
