// The program's window flow, exits and exports, driven offscreen.
#include "app/tulmera_app.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <QTranslator>
#include <filesystem>
#include <memory>

#include "support/find_child.h"
#include "support/scratch_settings.h"
#include "support/window_fixtures.h"
#include "support/work_dir.h"
#include "support/workbook_cells.h"
#include "textio/text_file.h"

namespace tulmera::app {

using testing::FileBytes;

namespace {

bool IsEmptyFile(const char* name)
{
    return std::filesystem::exists(name) && std::filesystem::file_size(name) == 0;
}

}  // namespace

class TulmeraAppTest : public QObject {
    Q_OBJECT

private:
    testing::ProgramFixture program_;

    void SwitchToSweep()
    {
        program_.Enter();
        testing::FindChild<QAction>(program_.app().mainWindow(), "menu121")->trigger();
        testing::DeliverDeferredDeletes();
    }

private slots:
    // The main window keeps its dock's state in the settings: the test ones, not the user's.
    void initTestCase() { testing::UseScratchSettings(); }
    void init() { program_.Start(); }
    void cleanup() { program_.Stop(); }

    void theProgramStartsWithTheSplashAlone()
    {
        QVERIFY(program_.app().splash()->isVisible());
        QVERIFY(program_.app().splash()->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(program_.app().mainWindow() == nullptr);
        QVERIFY(!std::filesystem::exists("VP.dat"));
        QCOMPARE(testing::FindChild<QLabel>(program_.app().splash(), "Label2")->text(),
                 QStringLiteral("ENTRAR"));
        QVERIFY(testing::FindChild<QLabel>(program_.app().splash(), "lblModelProspect")
                    ->text()
                    .startsWith(QStringLiteral("Aplicación del Modelo PROSPECT (")));
        QVERIFY(testing::FindChild<QLabel>(program_.app().splash(), "lblModelSailh")
                    ->text()
                    .startsWith(QStringLiteral("Aplicación del Modelo SAILH (")));
    }

    void onlyTheEntryPictureReactsOnTheSplash()
    {
        program_.app().splash()->show();
        for (const char* name : {"lblProductName", "Image1", "Image3", "Image4", "lblModelProspect",
                                 "lblInstitution1"}) {
            QTest::mouseClick(testing::FindChild<QWidget>(program_.app().splash(), name),
                              Qt::LeftButton);
        }
        QTest::mouseClick(program_.app().splash(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(program_.app().mainWindow() == nullptr);
        QTest::keyClick(program_.app().splash(), Qt::Key_Escape);  // Escape ends the program
        QCOMPARE(program_.ends(), 1);
        QVERIFY(program_.app().mainWindow() == nullptr);
        QVERIFY(program_.app().splash()->isVisible());

        QLabel* entry = testing::FindChild<QLabel>(program_.app().splash(), "Image2");
        QCOMPARE(entry->focusPolicy(), Qt::StrongFocus);
        QTest::keyClick(entry, Qt::Key_Space);  // the keyboard reaches it too
        QVERIFY(program_.app().mainWindow() != nullptr);
    }

    void theWordEntrarEntersToo()
    {
        program_.app().splash()->show();
        QTest::mouseClick(testing::FindChild<QLabel>(program_.app().splash(), "Label2"),
                          Qt::LeftButton);
        testing::DeliverDeferredDeletes();
        QVERIFY(program_.app().splash() == nullptr);
        QVERIFY(program_.app().mainWindow()->isVisible());
    }

    void theEntryPictureOpensTheMainWindow()
    {
        program_.Enter();
        QVERIFY(program_.app().splash() == nullptr);
        QVERIFY(program_.app().mainWindow()->isVisible());
        QCOMPARE(FileBytes("VP.dat").size() > 0, true);
        QCOMPARE(FileBytes("VS.dat").size() > 0, true);
    }

    void theMainExitEmptiesItsFilesAndEndsAtOnce()
    {
        program_.Enter();
        testing::FindChild<QAction>(program_.app().mainWindow(), "menu13")->trigger();
        QVERIFY(IsEmptyFile("VP.dat"));
        QVERIFY(IsEmptyFile("VS.dat"));
        QCOMPARE(program_.ends(), 1);
    }

    void theSwitchEmptiesTheMainFilesAndNeverShowsTheMainWindowAgain()
    {
        SwitchToSweep();
        QVERIFY(IsEmptyFile("VP.dat"));
        QVERIFY(IsEmptyFile("VS.dat"));
        QVERIFY(program_.app().mainWindow() == nullptr);
        QVERIFY(program_.app().multiWindow()->isVisible());
        QCOMPARE(program_.ends(), 0);
        const auto windows = QApplication::topLevelWidgets();
        QVERIFY(std::none_of(windows.begin(), windows.end(), [](QWidget* w) {
            return w->objectName() == QStringLiteral("frmTulmera");
        }));
    }

    void leavingTheSweepEmptiesOnlyTheSweepFiles()
    {
        SwitchToSweep();
        testing::FindChild<QPushButton>(program_.app().multiWindow(), "btok")->click();
        textio::ReplaceTextFile("VP.dat", "left alone\r\n");
        testing::FindChild<QPushButton>(program_.app().multiWindow(), "Command2")->click();
        QVERIFY(IsEmptyFile("MVP.dat"));
        QVERIFY(IsEmptyFile("MVPaint.dat"));
        QCOMPARE(FileBytes("VP.dat"), std::string("left alone\r\n"));
        QCOMPARE(program_.ends(), 1);
    }

    void theMainExportFillsANewWorkbookUnderTheHourglass()
    {
        program_.Enter();
        testing::FindChild<QAction>(program_.app().mainWindow(), "menu11")->trigger();
        QCOMPARE(program_.workbooks().size(), std::size_t{1});
        QCOMPARE(program_.workbooks().back().sheets.size(), std::size_t{1});
        const testing::CellMap cells = testing::CellsOf(program_.workbooks().back().sheets.front());
        QCOMPARE(cells.size(), std::size_t{13 + 4 + 421 * 4});  // header texts, titles, numbers
        QCOMPARE(std::get<std::string>(cells.at({9, 1})),
                 std::string("Suelo:  S1:61% arena 24% limo 15% arcilla"));
        QCOMPARE(std::get<double>(cells.at({435, 1})), 2500.0);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(program_.app().mainWindow()->statusBar()->currentMessage().isEmpty());
    }

    // The workbooks speak the windows' language; in Spanish they hold the texts they always
    // held, letter for letter.
    void theWorkbooksSpeakTheWindowsLanguage_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QStringList>("main");   // rows 1, 8, 9, 13 and 14 of column 1
        QTest::addColumn<QStringList>("sweep");  // rows 2, 4 and 5
        QTest::newRow("Spanish") << false
                                 << QStringList{"Parametros modelo PROSPECT",
                                                "Arquitectura Dosel: Planofilo",
                                                "Suelo:  S1:61% arena 24% limo 15% arcilla",
                                                "Hot Spot = 0", "Long. Onda"}
                                 << QStringList{"Ca+b = 15  u.g.cm-2", "Cm = 0.002  g.cm-2",
                                                "Lon.onda    Reflectividad     Transmisividad"};
        QTest::newRow("English") << true
                                 << QStringList{"PROSPECT model parameters",
                                                "Canopy architecture: Planophile",
                                                "Soil: S1: 61% sand 24% silt 15% clay",
                                                "Hot spot = 0", "Wavelength"}
                                 << QStringList{"Ca+b = 15  µg/cm²", "Cm = 0.002  g/cm²",
                                                "Wavelength    Reflectance     Transmittance"};
    }
    void theWorkbooksSpeakTheWindowsLanguage()
    {
        QFETCH(bool, english);
        QFETCH(QStringList, main);
        QFETCH(QStringList, sweep);
        QTranslator translator;
        if (english) {
            QVERIFY(translator.load(QStringLiteral(":/i18n/tulmera_en.qm")));
            QVERIFY(QCoreApplication::installTranslator(&translator));
        }
        const auto text = [this](int row) {
            const testing::CellMap cells =
                testing::CellsOf(program_.workbooks().back().sheets.front());
            return QString::fromStdString(std::get<std::string>(cells.at({row, 1})));
        };
        program_.Enter();
        testing::FindChild<QAction>(program_.app().mainWindow(), "menu11")->trigger();
        QCOMPARE((QStringList{text(1), text(8), text(9), text(13), text(14)}), main);
        QCOMPARE(text(2), QStringLiteral("N = 1"));  // the symbols in every language
        testing::FindChild<QAction>(program_.app().mainWindow(), "menu121")->trigger();
        testing::DeliverDeferredDeletes();
        testing::FindChild<QPushButton>(program_.app().multiWindow(), "btok")->click();
        testing::FindChild<QPushButton>(program_.app().multiWindow(), "cmdfich")->click();
        QCOMPARE(program_.workbooks().size(), std::size_t{2});
        QCOMPARE((QStringList{text(2), text(4), text(5)}), sweep);
        QCOMPARE(text(427), QStringLiteral("N = 1.1"));
        QCoreApplication::removeTranslator(&translator);
    }

    void theSweepExportWritesEveryBlockOfTheLastSweep()
    {
        SwitchToSweep();
        testing::FindChild<QPushButton>(program_.app().multiWindow(), "btok")->click();
        testing::FindChild<QPushButton>(program_.app().multiWindow(), "cmdfich")->click();
        QCOMPARE(program_.workbooks().size(), std::size_t{1});
        const testing::CellMap cells = testing::CellsOf(program_.workbooks().back().sheets.front());
        QCOMPARE(cells.rbegin()->first.first, 31 * 426);
        QCOMPARE(std::get<std::string>(cells.at({427, 1})), std::string("N = 1.1"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }
};

}  // namespace tulmera::app

QTEST_MAIN(tulmera::app::TulmeraAppTest)
#include "tulmera_app_test.moc"
