// How the windows show an export: a new workbook file in the temporary directory each time,
// opened by a program of the desktop; no program is started here.
#include "app/workbook_viewer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <filesystem>
#include <set>
#include <string>

#include "support/work_dir.h"
#include "textio/error.h"
#include "textio/text_file.h"

namespace tulmera::app {

namespace fs = std::filesystem;

namespace {

// Sets $TMPDIR, where the workbooks go, while the object lives.
class ScopedTemporaryDirectory {
public:
    explicit ScopedTemporaryDirectory(const QString& directory)
        : previous_(qgetenv("TMPDIR")), hadOne_(qEnvironmentVariableIsSet("TMPDIR"))
    {
        qputenv("TMPDIR", directory.toLocal8Bit());
    }
    ~ScopedTemporaryDirectory()
    {
        if (hadOne_) {
            qputenv("TMPDIR", previous_);
        } else {
            qunsetenv("TMPDIR");
        }
    }
    ScopedTemporaryDirectory(const ScopedTemporaryDirectory&) = delete;
    ScopedTemporaryDirectory& operator=(const ScopedTemporaryDirectory&) = delete;

private:
    QByteArray previous_;
    bool hadOne_;
};

std::set<std::string> FileNames(const fs::path& directory)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

bool IsZipFile(const QString& file)
{
    return testing::FileBytes(file.toStdString()).substr(0, 4) == "PK\x03\x04";
}

const exports::Workbook kWorkbook{{exports::Sheet{{exports::Cell(1, 1, "N = 1")}}}};

// The message of the tulmera::Error `body` throws, or "" when it throws nothing.
template <typename Body>
QString ErrorOf(Body body)
{
    try {
        body();
    } catch (const Error& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

}  // namespace

class WorkbookViewerTest : public QObject {
    Q_OBJECT

private slots:
    // Two exports, two files: each new, named "tulmera-…xlsx", complete, and shown once.
    void eachExportIsANewFileInTheTemporaryDirectory()
    {
        testing::ScopedWorkDir dir;
        const QString tmp = QString::fromStdString(dir.path().string());
        const ScopedTemporaryDirectory tmpdir(tmp);
        QStringList opened;
        const auto open = [&](const QString& path) { opened << path; };
        const QString first = ShowWorkbook(kWorkbook, open);
        const QString second = ShowWorkbook(kWorkbook, open);

        QCOMPARE(opened, (QStringList{first, second}));
        QVERIFY(first != second);
        for (const QString& path : opened) {
            const QFileInfo file(path);
            QVERIFY2(file.isAbsolute(), qPrintable(path));
            QCOMPARE(file.absolutePath(), QDir(tmp).absolutePath());
            QVERIFY2(file.fileName().startsWith(QStringLiteral("tulmera-")), qPrintable(path));
            QCOMPARE(file.suffix(), QStringLiteral("xlsx"));
            QVERIFY2(IsZipFile(path), qPrintable(path));
        }
        QCOMPARE(FileNames(dir.path()).size(), std::size_t{2});  // no temporary left over
    }

    // A workbook that cannot be written leaves no file, not even the name it had reserved, and
    // nothing is shown; one that cannot be shown stays, named in the message.
    void failuresSayWhereAndLeaveOnlyWhatTheUserCanOpen()
    {
        testing::ScopedWorkDir dir;
        const QString tmp = QString::fromStdString(dir.path().string());
        int opened = 0;
        const auto open = [&](const QString&) { ++opened; };
        {
            const ScopedTemporaryDirectory missing(tmp + QStringLiteral("/missing"));
            const QString message = ErrorOf([&] { ShowWorkbook(kWorkbook, open); });
            QVERIFY2(message.contains(QStringLiteral("temporary directory")), qPrintable(message));
            QVERIFY2(message.contains(QStringLiteral("missing\"")), qPrintable(message));
        }
        const ScopedTemporaryDirectory tmpdir(tmp);
        const exports::Workbook outside{{exports::Sheet{{exports::Cell(0, 1, 1.0f)}}}};
        const QString refused = ErrorOf([&] { ShowWorkbook(outside, open); });
        QVERIFY2(refused.contains(QStringLiteral("row 0, column 1")), qPrintable(refused));
        QVERIFY(FileNames(dir.path()).empty());
        QCOMPARE(opened, 0);

        const QString unshown = ErrorOf([&] {
            ShowWorkbook(kWorkbook, [](const QString&) { throw Error("The viewer crashed."); });
        });
        const std::set<std::string> left = FileNames(dir.path());
        QCOMPARE(left.size(), std::size_t{1});
        const QString written = tmp + QStringLiteral("/") + QString::fromStdString(*left.begin());
        QVERIFY2(unshown.contains(QStringLiteral("written to \"") + written + QStringLiteral("\"")),
                 qPrintable(unshown));
        QVERIFY2(unshown.contains(QStringLiteral("The viewer crashed.")), qPrintable(unshown));
        QVERIFY(IsZipFile(written));  // the user can still open it by hand
    }

    // LibreOffice Calc, opening the file as a new untitled document, when it is on the search
    // path and executable; else nothing, and the desktop's default program is used.
    void calcIsPreferredAsANewDocument()
    {
        testing::ScopedWorkDir dir;
        const auto program = [&](const char* directory, bool executable) {
            const fs::path folder = dir.path() / directory;
            fs::create_directories(folder);
            const fs::path file = folder / "soffice";
            textio::ReplaceTextFile(file.string(), "#!/bin/sh\nexit 1\n");  // never run
            fs::permissions(file, executable ? fs::perms::owner_all : fs::perms::owner_read);
            return QString::fromStdString(folder.string());
        };
        const QString office = program("office", true);
        const QString broken = program("broken", false);
        const QString none = QString::fromStdString((dir.path() / "none").string());
        const QString calc = office + QStringLiteral("/soffice");
        const QString path = QStringLiteral("/tmp/w.xlsx");

        const std::optional<QStringList> found = CalcCommand(path, {none, broken, office});
        QVERIFY(found.has_value());
        QCOMPARE(*found, (QStringList{calc, QStringLiteral("--calc"), QStringLiteral("-n"), path}));
        QVERIFY(!CalcCommand(path, {none, broken}).has_value());
    }
};

}  // namespace tulmera::app

QTEST_GUILESS_MAIN(tulmera::app::WorkbookViewerTest)
#include "workbook_viewer_test.moc"
