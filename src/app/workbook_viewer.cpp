#include "app/workbook_viewer.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>
#include <exception>

#include "export/xlsx_writer.h"
#include "textio/error.h"

namespace tulmera::app {

std::optional<QStringList> CalcCommand(const QString& path, const QStringList& searchPaths)
{
    const QString calc = QStandardPaths::findExecutable(QStringLiteral("soffice"), searchPaths);
    if (calc.isEmpty()) return std::nullopt;
    return QStringList{calc, QStringLiteral("--calc"), QStringLiteral("-n"), path};
}

void OpenInSpreadsheetProgram(const QString& path)
{
    if (const std::optional<QStringList> command = CalcCommand(path)) {
        QProcess calc;
        calc.setProgram(command->front());
        calc.setArguments(command->mid(1));
        calc.setStandardInputFile(QProcess::nullDevice());
        calc.setStandardOutputFile(QProcess::nullDevice());
        calc.setStandardErrorFile(QProcess::nullDevice());
        if (calc.startDetached()) return;
        throw Error("Cannot start \"" + command->front().toStdString()
                    + "\": " + calc.errorString().toStdString() + ".");
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        throw Error(
            "No spreadsheet program was found to show it: LibreOffice (\"soffice\") is not on "
            "the PATH and the desktop opens no program for .xlsx files.");
    }
}

QString ShowWorkbook(const exports::Workbook& workbook, const WorkbookOpener& open)
{
    // As given: QDir::tempPath() makes a missing directory an empty name, which would put the
    // workbook into the root directory.
    const QString directory = QString::fromStdString(exports::UserTemporaryDirectory());
    QTemporaryFile reserved(directory + QStringLiteral("/tulmera-XXXXXX.xlsx"));
    if (!reserved.open()) {
        throw Error("Cannot create a workbook file in the temporary directory \""
                    + directory.toStdString() + "\": " + reserved.errorString().toStdString()
                    + ".");
    }
    const QString path = QFileInfo(reserved.fileName()).absoluteFilePath();
    reserved.close();  // the name stays reserved until WriteWorkbook puts the workbook there
    exports::WriteWorkbook(workbook, path.toStdString());
    reserved.setAutoRemove(false);  // written: the file is the user's now
    try {
        open(path);
    } catch (const std::exception& e) {
        throw Error("The workbook was written to \"" + path.toStdString()
                    + "\" but cannot be shown. " + e.what());
    }
    return path;
}

}  // namespace tulmera::app
