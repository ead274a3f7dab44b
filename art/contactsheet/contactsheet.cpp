// Draws a review sheet of the six frames and the icon:
//   contactsheet <art folder> <output.png>
#include "IconReader.h"
#include "SheetLayout.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <exception>
#include <iostream>
#include <vector>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::cerr << "usage: contactsheet <art folder> <output.png>\n";
        return 2;
    }
    try {
        const QDir art(QString::fromLocal8Bit(argv[1]));
        std::vector<QImage> pictures;
        QStringList labels;
        for (int i = 1; i <= 6; ++i) {
            const QString name = QString("Rgn%1").arg(i);
            QImage frame(art.filePath(name + ".bmp"), "BMP");
            if (frame.isNull()) {
                throw std::runtime_error("cannot read " + art.filePath(name + ".bmp").toStdString());
            }
            pictures.push_back(frame.convertToFormat(QImage::Format_RGB32));
            labels << name;
        }
        pictures.push_back(IconReader::read(art.filePath("kuvito.ico")));
        labels << "icon";
        const QImage sheet = SheetLayout(std::move(pictures), labels).render();
        if (!sheet.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
            throw std::runtime_error(std::string("cannot write ") + argv[2]);
        }
    } catch (const std::exception& e) {
        std::cerr << "contactsheet: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
