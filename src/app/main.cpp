// Tulmera: the desktop program.
#include <QApplication>
#include <cstdio>

#include "app/frm_tulmera.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    tulmera::app::FrmTulmera window;
    QObject::connect(&window, &tulmera::app::FrmTulmera::ExitRequested, &application, [&] {
        const QString failure = tulmera::app::FrmTulmera::EmptyWorkingFiles();
        if (!failure.isEmpty()) std::fprintf(stderr, "tulmera: %s\n", qPrintable(failure));
        QApplication::exit(0);
    });
    window.show();
    return QApplication::exec();
}
