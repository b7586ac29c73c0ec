#include "app/widgets/file_saving.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStatusBar>

#include "app/widgets/controls.h"
#include "app/widgets/settings_keys.h"
#include "textio/staged_files.h"

namespace tulmera::widgets {
void SaveWholeFile(const QString& fileName, std::string_view content)
{
    textio::StagedFiles staged;
    staged.Stage(QFile::encodeName(fileName).toStdString(), content);
    staged.Publish();
}

bool SaveSpectraFile(QStatusBar* status, const QString& fileName,
                     const std::function<std::string()>& content)
{
    const bool saved =
        Guarded(status,
                QCoreApplication::translate(
                    "FileSaving", "No se pudo guardar «%1»; el archivo anterior no cambió")
                    .arg(fileName),
                [&] { SaveWholeFile(fileName, content()); });
    if (saved) {
        status->showMessage(
            QCoreApplication::translate("FileSaving", "Espectros guardados en «%1».")
                .arg(fileName));
    }
    return saved;
}

void ChooseFileToSave(QWidget* parent, const QString& caption, const QString& filter,
                      const QString& defaultSuffix, const QString& folderKey,
                      const std::function<void(const QString&)>& onChosen)
{
    const QString folder = QSettings().value(FolderKey(folderKey), QDir::currentPath()).toString();
    auto* dialog = new QFileDialog(parent, caption, folder, filter);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(defaultSuffix);
    QObject::connect(
        dialog, &QFileDialog::fileSelected, parent, [folderKey, onChosen](const QString& fileName) {
            QSettings().setValue(FolderKey(folderKey), QFileInfo(fileName).absolutePath());
            onChosen(fileName);
        });
    dialog->open();
}

}  // namespace tulmera::widgets
