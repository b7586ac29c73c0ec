// The canopy multiple-simulation window beside the main window, driven offscreen.
#include "app/windows/canopy_sweep_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <filesystem>
#include <memory>

#include "app/tulmera_app.h"
#include "app/widgets/chart_panel.h"
#include "multi/canopy_sweep.h"
#include "support/find_child.h"
#include "support/scratch_settings.h"
#include "support/work_dir.h"
#include "support/workbook_cells.h"
#include "textio/text_file.h"
#include "textio/working_files.h"

namespace tulmera::app {

class CanopySweepWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::ScopedWorkDir> dir_;
    std::vector<exports::Workbook> workbooks_;  // every export shown, in order
    std::unique_ptr<TulmeraApp> app_;

    void Deliver() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    template <typename T>
    T* In(QWidget* window, const char* name) const
    {
        return testing::FindChild<T>(window, QLatin1String(name));
    }
    CanopySweepWindow* Open()
    {
        In<QAction>(app_->mainWindow(), "menu122")->trigger();
        Deliver();
        return app_->canopySweepWindow();
    }
    void Type(QWidget* window, const char* box, const QString& text)
    {
        auto* edit = In<QLineEdit>(window, box);
        edit->setText(text);
        emit edit->editingFinished();
    }
    static std::string Bytes(const char* name)
    {
        return textio::ReadTextFile(name, kMaxSweepFileBytes);
    }

private slots:
    void initTestCase() { testing::UseScratchSettings(); }
    void init()
    {
        dir_ = std::make_unique<testing::ScopedWorkDir>();
        workbooks_.clear();
        app_ = std::make_unique<TulmeraApp>(
            [this](const exports::Workbook& workbook) { workbooks_.push_back(workbook); }, [] {});
        app_->Start();
        QTest::mouseClick(In<QLabel>(app_->splash(), "Image2"), Qt::LeftButton);
        Deliver();
    }
    void cleanup()
    {
        app_.reset();
        Deliver();
        dir_.reset();
    }

    // The window opens beside the main window, which stays shown, usable and unchanged by a
    // sweep; closed, it opens again.
    void opensBesideTheMainWindowAndLeavesItUsable()
    {
        MainWindow* main = app_->mainWindow();
        const std::string leafFile = Bytes(kLeafSpectrumFile);
        const std::string canopyFile = Bytes(kCanopySpectrumFile);
        CanopySweepWindow* window = Open();
        QVERIFY(window != nullptr);
        QCOMPARE(window->windowTitle(), QStringLiteral("Simulación múltiple: modelo SAILH"));
        QVERIFY(window->isVisible());
        QVERIFY(main->isVisible() && main->isEnabled());
        QVERIFY(QApplication::activeModalWidget() == nullptr);

        In<QPushButton>(window, "btok")->click();
        QVERIFY(window->result().has_value());
        QCOMPARE(window->result()->values.size(), std::size_t{16});  // LAI 0.5 to 8 by 0.5
        QCOMPARE(Bytes(kLeafSpectrumFile), leafFile);
        QCOMPARE(Bytes(kCanopySpectrumFile), canopyFile);

        // The main window still recomputes: a typed LAI runs the canopy model again.
        Type(main, "txtSailh(0)", QStringLiteral("2"));
        QVERIFY(Bytes(kCanopySpectrumFile) != canopyFile);

        window->close();
        Deliver();
        QVERIFY(app_->canopySweepWindow() == nullptr);
        QVERIFY(main->isVisible());
        CanopySweepWindow* again = Open();
        QVERIFY(again != nullptr && again->isVisible());
        QVERIFY(!again->result().has_value());
    }

    // It starts from the main window's canopy values: a principal-plane sweep at the main
    // window's sun is the core's sweep at those values.
    void startsFromTheMainWindowsValues()
    {
        Type(app_->mainWindow(), "txtSailh(1)", QStringLiteral("30"));
        Type(app_->mainWindow(), "txtSailh(0)", QStringLiteral("3"));
        CanopySweepWindow* window = Open();
        In<QComboBox>(window, "cmbParametro")->setCurrentIndex(5);  // the principal plane
        QCOMPARE(In<QLineEdit>(window, "txtLimite(0)")->text(), QStringLiteral("-80"));
        In<QPushButton>(window, "btok")->click();
        QVERIFY(window->result().has_value());

        multi::CanopySweepRequest request;
        request.swept = multi::CanopySweptParameter::Plane;
        request.leaf = app_->mainWindow()->leafParameters();
        request.canopy = app_->mainWindow()->canopyInputs();
        QCOMPARE(request.canopy.sunZenith, 30.0);
        request.limits = multi::DefaultCanopyLimits(request.swept);
        const multi::CanopySweepResult expected = multi::ComputeCanopySweep(request);
        QVERIFY(window->result()->canopyReflPct == expected.canopyReflPct);
        QCOMPARE(Bytes(kCanopySweepFile), multi::CanopySweepText(expected));
    }

    // A refused range leaves the file, the charts and the sweep as they were, and says why.
    void aRefusedRangeChangesNothing()
    {
        CanopySweepWindow* window = Open();
        In<QPushButton>(window, "btok")->click();
        const std::string file = Bytes(kCanopySweepFile);
        auto* curvesView = In<widgets::ChartView>(window, "pctMSailh");
        const QImage curves = curvesView->image();
        const QImage quantity = In<widgets::ChartView>(window, "pctMagnitud")->image();

        Type(window, "txtLimite(0)", QStringLiteral("0"));  // LAI 0 is refused
        In<QPushButton>(window, "btok")->click();
        QCOMPARE(Bytes(kCanopySweepFile), file);
        QVERIFY(curvesView->image() == curves);
        QVERIFY(In<widgets::ChartView>(window, "pctMagnitud")->image() == quantity);
        QCOMPARE(window->result()->values.front(), 0.5);
        QVERIFY(!window->statusBar()->currentMessage().isEmpty());
    }

    // Another quantity redraws the second chart from memory: no sweep runs again.
    void anotherQuantityRedrawsWithoutRunning()
    {
        CanopySweepWindow* window = Open();
        In<QPushButton>(window, "btok")->click();
        std::filesystem::remove(kCanopySweepFile);
        auto* view = In<widgets::ChartView>(window, "pctMagnitud");
        const QImage before = view->image();
        In<QComboBox>(window, "cmbMagnitud")->setCurrentText(QStringLiteral("800 nm"));
        QVERIFY(view->image() != before);
        QVERIFY(!std::filesystem::exists(kCanopySweepFile));
        QVERIFY(In<QLabel>(window, "lblEjeY")->text().startsWith(QStringLiteral("800 nm")));
    }

    // "Hoja de calculo" puts "MVS.dat" on the first sheet, one block per value (its header
    // read as a text field, as the leaf sweep's), and the quantity chart's table on the second.
    void exportFillsBothSheets()
    {
        CanopySweepWindow* window = Open();
        In<QPushButton>(window, "btok")->click();  // LAI 0.5 to 8 by 0.5, NDVI
        In<QPushButton>(window, "cmdfich")->click();
        QCOMPARE(workbooks_.size(), std::size_t{1});
        QCOMPARE(workbooks_.back().sheets.size(), std::size_t{2});
        const testing::CellMap curves = testing::CellsOf(workbooks_.back().sheets[0]);
        const testing::CellMap table = testing::CellsOf(workbooks_.back().sheets[1]);
        using Cell = std::variant<std::string, double>;
        QCOMPARE(curves.at({1, 1}), Cell(std::string("LAI = 0.5")));
        QCOMPARE(curves.at({1 + 15 * 422, 1}), Cell(std::string("LAI = 8")));
        QCOMPARE(curves.size(), std::size_t{16 * (1 + 2 * 421)});
        QCOMPARE(table.at({1, 1}), Cell(std::string("LAI")));
        QCOMPARE(table.at({1, 2}), Cell(std::string("NDVI")));
        double previous = 0;
        for (int row = 2; row <= 17; ++row) {
            QCOMPARE(std::get<double>(table.at({row, 1})), 0.5 * (row - 1));
            const double ndvi = std::get<double>(table.at({row, 2}));
            QVERIFY(ndvi >= previous);
            previous = ndvi;
        }
        QCOMPARE(table.size(), std::size_t{2 * 17});
    }
};

}  // namespace tulmera::app

QTEST_MAIN(tulmera::app::CanopySweepWindowTest)
#include "canopy_sweep_window_test.moc"
