// Every failure the program meets on its way, walked through in its windows: each one is
// reported in the window, leaves the window usable and loses no complete file. The suite also
// runs under a Spanish locale, whose decimal separator is a comma (see tests/CMakeLists.txt).
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <clocale>
#include <cstdlib>
#include <memory>

#include "app/tulmera_app.h"
#include "app/widgets/controls.h"
#include "support/find_child.h"
#include "support/scratch_settings.h"
#include "support/window_fixtures.h"
#include "support/work_dir.h"
#include "textio/error.h"
#include "textio/text_file.h"

namespace tulmera::app {

using testing::FileBytes;

namespace {

int LineCount(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// A complete leaf or sweep-curve file: 421 lines of three numbers with points, no commas.
bool IsCompleteLeafFile(const std::string& text)
{
    static const QRegularExpression line(
        QStringLiteral(R"(^( -?|-)[0-9.E+-]+ ( -?|-)[0-9.E+-]+ ( -?|-)[0-9.E+-]+ \r$)"));
    const QStringList lines =
        QString::fromStdString(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.size() == 421 && std::all_of(lines.begin(), lines.end(), [](const QString& l) {
               return line.match(l).hasMatch();
           });
}

// A complete canopy file: 421 lines "400,0.0338...", a comma only between the two numbers.
bool IsCompleteCanopyFile(const std::string& text)
{
    static const QRegularExpression line(QStringLiteral(R"(^[0-9]+,[0-9.E+-]+\r$)"));
    const QStringList lines =
        QString::fromStdString(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.size() == 421 && std::all_of(lines.begin(), lines.end(), [](const QString& l) {
               return line.match(l).hasMatch();
           });
}

}  // namespace

class FailureWalkTest : public QObject {
    Q_OBJECT

private:
    testing::ProgramFixture program_;

    MainWindow* Main() const { return program_.app().mainWindow(); }
    LeafSweepWindow* Sweep() const { return program_.app().multiWindow(); }
    // The status line with its details (the tooltip), where the files and causes are named.
    static QString StatusOf(const QMainWindow* window)
    {
        const QString line = window->statusBar()->currentMessage();
        return line.isEmpty() ? line : line + QLatin1Char('\n') + window->statusBar()->toolTip();
    }
    QString MainStatus() const { return StatusOf(Main()); }
    QString SweepStatus() const { return StatusOf(Sweep()); }
    void Recompute()
    {
        testing::FindChild<QAction>(Main(), QStringLiteral("menu211(1)"))->trigger();
    }
    void ExportMain() { testing::FindChild<QAction>(Main(), QStringLiteral("menu11"))->trigger(); }
    void RunSweep() { testing::FindChild<QPushButton>(Sweep(), QStringLiteral("btok"))->click(); }
    void SwitchToSweep()
    {
        testing::FindChild<QAction>(Main(), QStringLiteral("menu121"))->trigger();
        testing::DeliverDeferredDeletes();
    }
    // The main window still recomputes and writes both files completely.
    void CheckMainWindowWorks()
    {
        testing::FindChild<QScrollBar>(Main(), QStringLiteral("hsbSailh(0)"))
            ->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QVERIFY2(MainStatus().isEmpty(), qPrintable(MainStatus()));
        QVERIFY(IsCompleteLeafFile(FileBytes("VP.dat")));
        QVERIFY(IsCompleteCanopyFile(FileBytes("VS.dat")));
    }

private slots:
    // The main window keeps its dock's state in the settings: the test ones, not the user's.
    void initTestCase() { testing::UseScratchSettings(); }
    void init() { program_.Start(); }
    void cleanup() { program_.Stop(); }

    void anUnwritableWorkingDirectory()
    {
        program_.dir().MakeUnwritable();
        program_.Enter();
        QVERIFY2(MainStatus().contains(QStringLiteral("\"VP.dat\"")), qPrintable(MainStatus()));
        Recompute();
        QVERIFY(MainStatus().startsWith(QStringLiteral("No se pudo recalcular")));
        SwitchToSweep();
        QVERIFY2(SweepStatus().contains(QStringLiteral("VP.dat")), qPrintable(SweepStatus()));
        RunSweep();
        QVERIFY2(SweepStatus().contains(QStringLiteral("MVP.dat")), qPrintable(SweepStatus()));
        QVERIFY(!testing::FindChild<QPushButton>(Sweep(), QStringLiteral("cmdfich"))->isEnabled());
        testing::FindChild<QPushButton>(Sweep(), QStringLiteral("Command2"))->click();
        QCOMPARE(program_.ends(), 1);
    }

    void workingFilesSpoiledBetweenTwoRuns()
    {
        program_.Enter();
        const std::string vp = FileBytes("VP.dat");
        textio::ReplaceTextFile("VP.dat", vp.substr(0, vp.size() / 2));  // truncated
        ExportMain();  // the export reads the spoiled file: reported, nothing exported
        QVERIFY2(MainStatus().contains(QStringLiteral("\"VP.dat\"")), qPrintable(MainStatus()));
        CheckMainWindowWorks();  // the next recomputation writes both files whole again
        textio::ReplaceTextFile("VS.dat", "400,0.05\r\n405,garbage\r\n");
        ExportMain();
        QVERIFY2(MainStatus().contains(QStringLiteral("\"VS.dat\"")), qPrintable(MainStatus()));
        QVERIFY(program_.workbooks().empty());
        CheckMainWindowWorks();

        SwitchToSweep();
        RunSweep();
        textio::ReplaceTextFile("MVP.dat", FileBytes("MVP.dat").substr(0, 5000));
        testing::FindChild<QPushButton>(Sweep(), QStringLiteral("cmdfich"))->click();
        QVERIFY2(SweepStatus().contains(QStringLiteral("MVP.dat")), qPrintable(SweepStatus()));
        QVERIFY(program_.workbooks().empty());
        RunSweep();  // usable: the next sweep writes it whole
        QVERIFY(SweepStatus().isEmpty());
        QCOMPARE(LineCount(FileBytes("MVP.dat")), 31 * 426);
    }

    void textsThatAreNoNumbersInEveryBoxOfTheMainWindow()
    {
        program_.Enter();
        // A leaf text never takes effect: the leaf parameters come from the bars, whose next
        // change rewrites all four texts.
        for (int i = 0; i < 4; ++i) {
            testing::FindChild<QLineEdit>(Main(), QStringLiteral("txtProspect(%1)").arg(i))
                ->setText(QStringLiteral("abc"));
        }
        CheckMainWindowWorks();
        QCOMPARE(Main()->leafParameters().N, 1.0);
        testing::FindChild<QScrollBar>(Main(), QStringLiteral("hsbProspect(0)"))
            ->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(testing::FindChild<QLineEdit>(Main(), QStringLiteral("txtProspect(0)"))->text(),
                 QStringLiteral("1.01"));
        QCOMPARE(testing::FindChild<QLineEdit>(Main(), QStringLiteral("txtProspect(3)"))->text(),
                 QStringLiteral("0.002"));
        QVERIFY(MainStatus().isEmpty());

        for (int i = 0; i < 5; ++i) {
            QLineEdit* box =
                testing::FindChild<QLineEdit>(Main(), QStringLiteral("txtSailh(%1)").arg(i));
            const QString kept = box->text();
            box->setText(QStringLiteral("1,5"));
            Recompute();
            QVERIFY2(MainStatus().contains(QStringLiteral("«1,5» no es un número")),
                     qPrintable(MainStatus()));
            QCOMPARE(box->text(), kept);
            QVERIFY(IsCompleteCanopyFile(FileBytes("VS.dat")));
        }
        CheckMainWindowWorks();
    }

    void aLeafAreaIndexOfZero()
    {
        program_.Enter();
        const std::string vs = FileBytes("VS.dat");
        testing::FindChild<QLineEdit>(Main(), QStringLiteral("txtSailh(0)"))
            ->setText(QStringLiteral("0"));
        Recompute();
        QVERIFY2(MainStatus().contains(QStringLiteral("mayor que 0")), qPrintable(MainStatus()));
        QCOMPARE(FileBytes("VS.dat"), vs);
        CheckMainWindowWorks();
    }

    void listTextsThatMatchNothingKeepWhatWasInEffect()
    {
        program_.Enter();
        const std::string vs = FileBytes("VS.dat");
        testing::FindChild<QComboBox>(Main(), QStringLiteral("cmbSailh(0)"))
            ->setEditText(QStringLiteral("planofilo"));
        testing::FindChild<QComboBox>(Main(), QStringLiteral("cmbSailh(1)"))
            ->setEditText(QStringLiteral("S1"));
        Recompute();
        QVERIFY(MainStatus().isEmpty());  // not an error: the previous choices stay in effect
        QCOMPARE(FileBytes("VS.dat"), vs);
    }

    void texts0AndLimitsTheSweepCannotRun()
    {
        program_.Enter();
        SwitchToSweep();
        RunSweep();
        const std::string mvp = FileBytes("MVP.dat"), curve = FileBytes("MVPaint.dat");
        testing::FindChild<QRadioButton>(Sweep(), QStringLiteral("btOption(1)"))
            ->click();  // sweep Cab
        for (const char* box : {"txtN", "txtcw", "txtcm"}) {
            QLineEdit* text = testing::FindChild<QLineEdit>(Sweep(), QLatin1String(box));
            const QString kept = text->text();
            text->setText(QStringLiteral("x"));
            RunSweep();
            QVERIFY2(SweepStatus().contains(QLatin1String(box)), qPrintable(SweepStatus()));
            text->setText(kept);
        }
        testing::FindChild<QLineEdit>(Sweep(), QStringLiteral("txtN"))
            ->setText(QStringLiteral("0"));
        RunSweep();
        QVERIFY2(SweepStatus().contains(QStringLiteral("N")), qPrintable(SweepStatus()));
        testing::FindChild<QLineEdit>(Sweep(), QStringLiteral("txtN"))
            ->setText(QStringLiteral("1"));
        testing::FindChild<widgets::DescendingScrollBar>(Sweep(), QStringLiteral("vsmin"))
            ->SetDescendingValue(9000);
        testing::FindChild<widgets::DescendingScrollBar>(Sweep(), QStringLiteral("vsmax"))
            ->SetDescendingValue(2000);
        RunSweep();
        QVERIFY2(!SweepStatus().isEmpty(), "a lower limit above the upper one is reported");
        QCOMPARE(FileBytes("MVP.dat"), mvp);  // no refusal touched a file
        QCOMPARE(FileBytes("MVPaint.dat"), curve);

        testing::FindChild<widgets::DescendingScrollBar>(Sweep(), QStringLiteral("vsmax"))
            ->SetDescendingValue(9000);
        RunSweep();  // usable
        QVERIFY(SweepStatus().isEmpty());
        QVERIFY(IsCompleteLeafFile(FileBytes("MVPaint.dat")));
    }

    void aSpreadsheetProgramThatCannotBeStarted()
    {
        program_.Enter();
        program_.SetViewerMissing(true);
        ExportMain();
        QVERIFY2(MainStatus().contains(QStringLiteral("tulmera-x.xlsx")), qPrintable(MainStatus()));
        CheckMainWindowWorks();
        SwitchToSweep();
        RunSweep();
        testing::FindChild<QPushButton>(Sweep(), QStringLiteral("cmdfich"))->click();
        QVERIFY2(SweepStatus().startsWith(QStringLiteral("No se pudo pasar")),
                 qPrintable(SweepStatus()));
        RunSweep();
        QVERIFY(SweepStatus().isEmpty());
    }

    void everyFileWritesItsNumbersWithAPoint()
    {
        // Under es_ES the C library would write "0,05"; the files never do.
        const char* locale = std::getenv("LC_ALL");
        if (locale != nullptr && std::string_view(locale).starts_with("es_ES")) {
            QCOMPARE(*std::localeconv()->decimal_point, ',');  // the windows took it on
        }
        program_.Enter();
        testing::FindChild<QScrollBar>(Main(), QStringLiteral("hsbProspect(1)"))->setValue(4321);
        QVERIFY(IsCompleteLeafFile(FileBytes("VP.dat")));
        QVERIFY(IsCompleteCanopyFile(FileBytes("VS.dat")));
        SwitchToSweep();
        RunSweep();
        QVERIFY(IsCompleteLeafFile(FileBytes("MVPaint.dat")));
        QVERIFY(FileBytes("MVP.dat").find(',') == std::string::npos);
        // The sweep holds the main window's chlorophyll, printed with a point.
        QVERIFY2(FileBytes("MVP.dat").find("Ca+b = 43.21  u.g.cm-2\r\n") != std::string::npos,
                 FileBytes("MVP.dat").substr(0, 80).c_str());
    }
};

}  // namespace tulmera::app

QTEST_MAIN(tulmera::app::FailureWalkTest)
#include "failure_walk_test.moc"
