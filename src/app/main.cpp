// Tulmera: the desktop program. It starts with the splash window.
#include <QApplication>

#include "app/tulmera_app.h"
#include "app/widgets/pictures.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tulmera"));
    QApplication::setDesktopFileName(QStringLiteral("tulmera"));
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addPixmap(tulmera::widgets::PicturePixmap(tulmera::widgets::Picture::Icon, size));
    }
    QApplication::setWindowIcon(icon);
    tulmera::app::TulmeraApp tulmera;
    tulmera.Start();
    return QApplication::exec();
}
