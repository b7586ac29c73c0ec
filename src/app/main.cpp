// Tulmera: the desktop program. It starts with the splash window.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <memory>

#include "app/tulmera_app.h"
#include "app/widgets/pictures.h"
#include "textio/directory_lock.h"
#include "textio/text_file.h"

namespace {

// The lock of the working directory, held for the program's life so that batch runs wait and
// a second window knows. When another Tulmera holds it, the user may quit (returns false) or
// go on without it. A directory where no lock file can be made has nobody to protect it from:
// the program goes on, and its runs report what they cannot write.
bool LockWorkingDirectory(std::unique_ptr<tulmera::textio::DirectoryLock>& lock)
{
    try {
        lock = std::make_unique<tulmera::textio::DirectoryLock>(".");
        if (lock->TryLock()) {
            tulmera::textio::RemoveStrayTemporaries(".");
            return true;
        }
    } catch (const std::exception&) {
        return true;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tulmera"),
                    tulmera::app::TulmeraApp::BusyDirectoryText(lock->HolderPid()));
    QPushButton* quit = box.addButton(QStringLiteral("Salir"), QMessageBox::RejectRole);
    box.addButton(QStringLiteral("Seguir"), QMessageBox::AcceptRole);
    box.setDefaultButton(quit);
    box.exec();  // before any window: nothing else to block
    lock.reset();
    return box.clickedButton() != quit;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The settings (~/.config/Tulmera/Tulmera.conf) are found by these two names.
    QApplication::setOrganizationName(QStringLiteral("Tulmera"));
    QApplication::setApplicationName(QStringLiteral("Tulmera"));
    QApplication::setDesktopFileName(QStringLiteral("tulmera"));
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addPixmap(tulmera::widgets::PicturePixmap(tulmera::widgets::Picture::Icon, size));
    }
    QApplication::setWindowIcon(icon);
    std::unique_ptr<tulmera::textio::DirectoryLock> lock;
    if (!LockWorkingDirectory(lock)) return 0;
    tulmera::app::TulmeraApp tulmera;
    tulmera.Start();
    return QApplication::exec();
}
