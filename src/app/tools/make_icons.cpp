// Writes the program's icon as PNG files of the usual desktop sizes, for installation:
// make_icons DIR  ->  DIR/<size>x<size>/apps/tulmera.png
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "app/widgets/pictures.h"

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);  // QPainter needs it for its font database
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons DIR\n");
        return 2;
    }
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString dir =
            QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        tulmera::widgets::DrawPicture(painter, tulmera::widgets::Picture::Icon,
                                      QRectF(0, 0, size, size));
        painter.end();
        if (!QDir().mkpath(dir) || !image.save(dir + QStringLiteral("/tulmera.png"))) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
