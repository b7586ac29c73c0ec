// The program's window flow, exits and exports, driven offscreen.
#include "app/tulmera_app.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <filesystem>
#include <memory>

#include "support/find_child.h"
#include "support/scratch_settings.h"
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
    std::unique_ptr<testing::ScopedWorkDir> dir_;
    std::vector<exports::Workbook> workbooks_;  // every export shown, in order
    int ends_ = 0;
    std::unique_ptr<TulmeraApp> app_;

    void Deliver() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    template <typename T>
    T* In(QWidget* window, const char* name) const
    {
        return testing::FindChild<T>(window, QLatin1String(name));
    }
    void ClickEntry()
    {
        QTest::mouseClick(In<QLabel>(app_->splash(), "Image2"), Qt::LeftButton);
        Deliver();
    }
    void SwitchToSweep()
    {
        ClickEntry();
        In<QAction>(app_->mainWindow(), "menu121")->trigger();
        Deliver();
    }

private slots:
    // The main window keeps its dock's state in the settings: the test ones, not the user's.
    void initTestCase() { testing::UseScratchSettings(); }
    void init()
    {
        dir_ = std::make_unique<testing::ScopedWorkDir>();
        ends_ = 0;
        workbooks_.clear();
        app_ = std::make_unique<TulmeraApp>(
            [this](const exports::Workbook& workbook) { workbooks_.push_back(workbook); },
            [this] { ++ends_; });
        app_->Start();
    }
    void cleanup()
    {
        app_.reset();
        Deliver();
        dir_.reset();
    }

    void theProgramStartsWithTheSplashAlone()
    {
        QVERIFY(app_->splash()->isVisible());
        QVERIFY(app_->splash()->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(app_->mainWindow() == nullptr);
        QVERIFY(!std::filesystem::exists("VP.dat"));
        QCOMPARE(In<QLabel>(app_->splash(), "Label2")->text(), QStringLiteral("ENTRAR"));
        QVERIFY(In<QLabel>(app_->splash(), "lblModelProspect")
                    ->text()
                    .startsWith(QStringLiteral("Aplicación del Modelo PROSPECT (")));
        QVERIFY(In<QLabel>(app_->splash(), "lblModelSailh")
                    ->text()
                    .startsWith(QStringLiteral("Aplicación del Modelo SAILH (")));
    }

    void onlyTheEntryPictureReactsOnTheSplash()
    {
        app_->splash()->show();
        for (const char* name : {"lblProductName", "Image1", "Image3", "Image4", "lblModelProspect",
                                 "lblInstitution1"}) {
            QTest::mouseClick(In<QWidget>(app_->splash(), name), Qt::LeftButton);
        }
        QTest::mouseClick(app_->splash(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(app_->mainWindow() == nullptr);
        QTest::keyClick(app_->splash(), Qt::Key_Escape);  // Escape ends the program
        QCOMPARE(ends_, 1);
        QVERIFY(app_->mainWindow() == nullptr);
        QVERIFY(app_->splash()->isVisible());

        QLabel* entry = In<QLabel>(app_->splash(), "Image2");
        QCOMPARE(entry->focusPolicy(), Qt::StrongFocus);
        QTest::keyClick(entry, Qt::Key_Space);  // the keyboard reaches it too
        QVERIFY(app_->mainWindow() != nullptr);
    }

    void theWordEntrarEntersToo()
    {
        app_->splash()->show();
        QTest::mouseClick(In<QLabel>(app_->splash(), "Label2"), Qt::LeftButton);
        Deliver();
        QVERIFY(app_->splash() == nullptr);
        QVERIFY(app_->mainWindow()->isVisible());
    }

    void theEntryPictureOpensTheMainWindow()
    {
        ClickEntry();
        QVERIFY(app_->splash() == nullptr);
        QVERIFY(app_->mainWindow()->isVisible());
        QCOMPARE(FileBytes("VP.dat").size() > 0, true);
        QCOMPARE(FileBytes("VS.dat").size() > 0, true);
    }

    void theMainExitEmptiesItsFilesAndEndsAtOnce()
    {
        ClickEntry();
        In<QAction>(app_->mainWindow(), "menu13")->trigger();
        QVERIFY(IsEmptyFile("VP.dat"));
        QVERIFY(IsEmptyFile("VS.dat"));
        QCOMPARE(ends_, 1);
    }

    void theSwitchEmptiesTheMainFilesAndNeverShowsTheMainWindowAgain()
    {
        SwitchToSweep();
        QVERIFY(IsEmptyFile("VP.dat"));
        QVERIFY(IsEmptyFile("VS.dat"));
        QVERIFY(app_->mainWindow() == nullptr);
        QVERIFY(app_->multiWindow()->isVisible());
        QCOMPARE(ends_, 0);
        const auto windows = QApplication::topLevelWidgets();
        QVERIFY(std::none_of(windows.begin(), windows.end(), [](QWidget* w) {
            return w->objectName() == QStringLiteral("frmTulmera");
        }));
    }

    void leavingTheSweepEmptiesOnlyTheSweepFiles()
    {
        SwitchToSweep();
        In<QPushButton>(app_->multiWindow(), "btok")->click();
        textio::ReplaceTextFile("VP.dat", "left alone\r\n");
        In<QPushButton>(app_->multiWindow(), "Command2")->click();
        QVERIFY(IsEmptyFile("MVP.dat"));
        QVERIFY(IsEmptyFile("MVPaint.dat"));
        QCOMPARE(FileBytes("VP.dat"), std::string("left alone\r\n"));
        QCOMPARE(ends_, 1);
    }

    void theMainExportFillsANewWorkbookUnderTheHourglass()
    {
        ClickEntry();
        In<QAction>(app_->mainWindow(), "menu11")->trigger();
        QCOMPARE(workbooks_.size(), std::size_t{1});
        QCOMPARE(workbooks_.back().sheets.size(), std::size_t{1});
        const testing::CellMap cells = testing::CellsOf(workbooks_.back().sheets.front());
        QCOMPARE(cells.size(), std::size_t{13 + 4 + 421 * 4});  // header texts, titles, numbers
        QCOMPARE(std::get<std::string>(cells.at({9, 1})),
                 std::string("Suelo:  S1:61% arena 24% limo 15% arcilla"));
        QCOMPARE(std::get<double>(cells.at({435, 1})), 2500.0);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(app_->mainWindow()->statusBar()->currentMessage().isEmpty());
    }

    void theSweepExportWritesEveryBlockOfTheLastSweep()
    {
        SwitchToSweep();
        In<QPushButton>(app_->multiWindow(), "btok")->click();
        In<QPushButton>(app_->multiWindow(), "cmdfich")->click();
        QCOMPARE(workbooks_.size(), std::size_t{1});
        const testing::CellMap cells = testing::CellsOf(workbooks_.back().sheets.front());
        QCOMPARE(cells.rbegin()->first.first, 31 * 426);
        QCOMPARE(std::get<std::string>(cells.at({427, 1})), std::string("N = 1.1"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }
};

}  // namespace tulmera::app

QTEST_MAIN(tulmera::app::TulmeraAppTest)
#include "tulmera_app_test.moc"
