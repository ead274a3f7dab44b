// Writes the program's icon for the desktop's icon theme, enlarged from the
// checked-in 32 x 32 icon pixel for pixel:
//   appicons <kuvito.ico> <output folder> <size>...
// Each size must be a whole multiple of 32, so that every icon pixel becomes
// a square block; the result goes to <folder>/<size>x<size>/apps/kuvito.png.
#include "IconReader.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <exception>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        std::cerr << "usage: appicons <kuvito.ico> <output folder> <size>...\n";
        return 2;
    }
    try {
        const QImage icon = IconReader::read(QString::fromLocal8Bit(argv[1]));
        for (int i = 3; i < argc; ++i) {
            const int size = std::stoi(argv[i]);
            if (size <= 0 || size % icon.width() != 0 || icon.width() != icon.height())
                throw std::runtime_error("size " + std::string(argv[i]) +
                                         " is not a whole multiple of the icon");
            // Fast transformation is nearest-neighbour: pixel art stays sharp,
            // no colour appears that the icon does not have.
            const QImage large = icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            const QString folder = QString("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
            if (!QDir().mkpath(folder) || !large.save(folder + "/kuvito.png", "PNG"))
                throw std::runtime_error("cannot write " + folder.toStdString() + "/kuvito.png");
        }
    } catch (const std::exception& e) {
        std::cerr << "appicons: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
