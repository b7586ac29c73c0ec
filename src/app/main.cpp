// Tulmera: the desktop program. It starts with the splash window.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <cstdio>
#include <memory>
#include <optional>

#include "app/language.h"
#include "app/tulmera_app.h"
#include "app/widgets/pictures.h"
#include "app/widgets/settings_keys.h"
#include "textio/directory_lock.h"
#include "textio/text_file.h"
#include "tulmera_version.h"

namespace {

// What the command line asks for before any window opens.
struct CommandLine {
    bool done = false;  // --help or --version was answered, or the line was refused
    int exitCode = 0;
    QString workDirectory;                           // empty: the current directory
    std::optional<tulmera::app::Language> language;  // --lang, for this run only
    QString session;                                 // FILE.tulmera, opened at start
};

// Reads the command line without an application object, so that --help and --version work
// without a display (the manual page is made from them). Prints to standard output, errors
// to standard error, in English like the batch runner.
CommandLine ReadCommandLine(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Tulmera: leaf and canopy reflectance (PROSPECT and SAILH models) for teaching the\n"
        "optical remote sensing of vegetation. The windows write their working files\n"
        "(VP.dat, VS.dat, MVP.dat, MVPaint.dat) in the directory the program is started\n"
        "from, or in the one given with --workdir."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption workdir(
        QStringLiteral("workdir"),
        QStringLiteral("Work in DIR (created if missing) instead of the current directory."),
        QStringLiteral("DIR"));
    const QCommandLineOption dataWorkdir(
        QStringLiteral("user-data-workdir"),
        QStringLiteral("Work in the user's data folder for Tulmera (XDG data home, e.g. "
                       "~/.local/share/tulmera), created if missing; the desktop menu entry "
                       "starts the program so."));
    const QCommandLineOption lang(
        QStringLiteral("lang"),
        QStringLiteral("The windows' language for this run: es (Spanish) or en (English). By "
                       "default the one chosen in the windows, else the system's."),
        QStringLiteral("LANG"));
    parser.addOptions({help, version, workdir, dataWorkdir, lang});
    parser.addPositionalArgument(
        QStringLiteral("SESSION"),
        QStringLiteral("A session saved from the windows (FILE.tulmera), opened at start."),
        QStringLiteral("[SESSION]"));
    CommandLine line;
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "tulmera: %s\n", qPrintable(parser.errorText()));
        return {true, 2, {}, {}, {}};
    }
    if (parser.isSet(help)) {
        // Without an application object the parser does not know the program's name.
        QString text = parser.helpText();
        text.replace(QStringLiteral("<executable_name>"), QStringLiteral("tulmera"));
        std::fputs(qPrintable(text), stdout);
        return {true, 0, {}, {}, {}};
    }
    if (parser.isSet(version)) {
        std::printf("tulmera %s\n", tulmera::kVersion);
        return {true, 0, {}, {}, {}};
    }
    if (parser.isSet(lang)) {
        line.language = tulmera::app::ParseLanguage(parser.value(lang));
        if (!line.language) {
            std::fprintf(stderr, "tulmera: --lang takes es or en, not \"%s\"\n",
                         qPrintable(parser.value(lang)));
            return {true, 2, {}, {}, {}};
        }
    }
    if (parser.positionalArguments().size() > 1) {
        std::fprintf(stderr, "tulmera: one session file at most, not %lld\n",
                     static_cast<long long>(parser.positionalArguments().size()));
        return {true, 2, {}, {}, {}};
    }
    if (!parser.positionalArguments().isEmpty()) {
        // Taken before --workdir changes the current directory.
        line.session = QFileInfo(parser.positionalArguments().front()).absoluteFilePath();
    }
    if (parser.isSet(workdir)) line.workDirectory = parser.value(workdir);
    if (parser.isSet(dataWorkdir)) {
        line.workDirectory = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                             + QStringLiteral("/tulmera");
    }
    return line;
}

// Makes `directory` (created if missing) the current one. Returns the failure's text, or an
// empty text.
QString EnterWorkDirectory(const QString& directory)
{
    if (!QDir().mkpath(directory) || !QDir::setCurrent(directory)) {
        return QCoreApplication::translate("main", "No se puede trabajar en la carpeta «%1».")
            .arg(directory);
    }
    return {};
}

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
    QPushButton* quit =
        box.addButton(QCoreApplication::translate("main", "Salir"), QMessageBox::RejectRole);
    box.addButton(QCoreApplication::translate("main", "Seguir"), QMessageBox::AcceptRole);
    box.setDefaultButton(quit);
    box.exec();  // before any window: nothing else to block
    lock.reset();
    return box.clickedButton() != quit;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("Tulmera"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(tulmera::kVersion));
    const CommandLine line = ReadCommandLine(argc, argv);
    if (line.done) return line.exitCode;
    QApplication application(argc, argv);
    // The settings (~/.config/Tulmera/Tulmera.conf) are found by the organisation and the
    // application names.
    QApplication::setOrganizationName(QStringLiteral("Tulmera"));
    {
        QSettings settings;
        tulmera::widgets::MoveOldSettingsKeys(settings);  // keys of the first releases
    }
    QApplication::setDesktopFileName(QStringLiteral("tulmera"));
    // The windows' language; a translation that cannot be loaded leaves them in Spanish.
    const tulmera::app::Language language =
        tulmera::app::RunLanguage(line.language, QSettings(), QLocale::system().name());
    if (!tulmera::app::InstallTranslator(language, &application)) {
        std::fprintf(stderr, "tulmera: the English translation could not be loaded\n");
    }
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addPixmap(tulmera::widgets::PicturePixmap(tulmera::widgets::Picture::Icon, size));
    }
    QApplication::setWindowIcon(icon);
    if (!line.workDirectory.isEmpty()) {
        const QString failure = EnterWorkDirectory(line.workDirectory);
        if (!failure.isEmpty()) {
            QMessageBox::critical(nullptr, QStringLiteral("Tulmera"), failure);
            return 1;
        }
    }
    std::unique_ptr<tulmera::textio::DirectoryLock> lock;
    if (!LockWorkingDirectory(lock)) return 0;
    tulmera::app::TulmeraApp tulmera;
    tulmera.SetStartSession(line.session);
    tulmera.Start();
    return QApplication::exec();
}
