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

QString SuggestedFileName(const QString& folder, const QString& stem, const QString& suffix,
                          const QString& kind)
{
    QString base = stem;
    if (base.isEmpty()) {
        if (kind == QLatin1String(kSpectraFolder)) {
            base = QCoreApplication::translate("FileSaving", "tulmera-espectros");
        } else if (kind == QLatin1String(kSessionsFolder)) {
            base = QCoreApplication::translate("FileSaving", "tulmera-sesion");
        } else {
            base = QCoreApplication::translate("FileSaving", "tulmera-grafico");
        }
    }
    const QDir dir(folder);
    const QString ending = suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix;
    QString name = base + ending;
    // A chart is saved as several files beside the name ("-hoja", "-dosel"...): any file that
    // begins with the name counts as taken.
    const auto taken = [&dir](const QString& candidate) {
        const QString stemOf = QFileInfo(candidate).completeBaseName();
        return dir.exists(candidate)
               || !dir.entryList({stemOf + QStringLiteral("-*")}, QDir::Files).isEmpty();
    };
    for (int n = 2; taken(name) && n < 1000; ++n) {
        name = base + QLatin1Char('-') + QString::number(n) + ending;
    }
    return dir.filePath(name);
}

QString RememberedFolder(const QString& kind, const QString& fallback)
{
    const QString start = fallback.isEmpty() ? QDir::currentPath() : fallback;
    const QString folder = QSettings().value(FolderKey(kind), start).toString();
    return QDir(folder).exists() ? folder : start;
}

void ChooseFileToSave(QWidget* parent, const QString& caption, const QString& filter,
                      const QString& defaultSuffix, const QString& folderKey,
                      const std::function<void(const QString&)>& onChosen, const QString& stem)
{
    const QString folder = RememberedFolder(folderKey);
    auto* dialog = new QFileDialog(parent, caption, folder, filter);
    dialog->setObjectName(QStringLiteral("dlgGuardarArchivo"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(defaultSuffix);
    dialog->selectFile(SuggestedFileName(folder, stem, defaultSuffix, folderKey));
    QObject::connect(
        dialog, &QFileDialog::fileSelected, parent, [folderKey, onChosen](const QString& fileName) {
            QSettings().setValue(FolderKey(folderKey), QFileInfo(fileName).absolutePath());
            onChosen(fileName);
        });
    dialog->open();
}

void ChooseFileToOpen(QWidget* parent, const QString& caption, const QString& filter,
                      const QString& folderKey, const std::function<void(const QString&)>& onChosen,
                      const QString& fallbackFolder)
{
    auto* dialog =
        new QFileDialog(parent, caption, RememberedFolder(folderKey, fallbackFolder), filter);
    dialog->setObjectName(QStringLiteral("dlgAbrirArchivo"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    QObject::connect(
        dialog, &QFileDialog::fileSelected, parent, [folderKey, onChosen](const QString& fileName) {
            QSettings().setValue(FolderKey(folderKey), QFileInfo(fileName).absolutePath());
            onChosen(fileName);
        });
    dialog->open();
}

}  // namespace tulmera::widgets
