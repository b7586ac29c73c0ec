// The canopy multiple-simulation window beside the main window, driven offscreen.
#include "app/windows/canopy_sweep_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTranslator>
#include <algorithm>
#include <filesystem>
#include <memory>

#include "app/tulmera_app.h"
#include "app/widgets/chart_panel.h"
#include "app/widgets/refusal_marks.h"
#include "multi/canopy_sweep.h"
#include "plot/chart_geometry.h"
#include "support/find_child.h"
#include "support/scratch_settings.h"
#include "support/window_fixtures.h"
#include "support/work_dir.h"
#include "support/workbook_cells.h"
#include "textio/text_file.h"
#include "textio/working_files.h"

namespace tulmera::app {

class CanopySweepWindowTest : public QObject {
    Q_OBJECT

private:
    testing::ProgramFixture program_;

    CanopySweepWindow* Open()
    {
        testing::FindChild<QAction>(program_.app().mainWindow(), "menu122")->trigger();
        testing::DeliverDeferredDeletes();
        return program_.app().canopySweepWindow();
    }
    void Type(QWidget* window, const char* box, const QString& text)
    {
        auto* edit = testing::FindChild<QLineEdit>(window, box);
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
        program_.Start();
        program_.Enter();
    }
    void cleanup() { program_.Stop(); }

    // The window opens beside the main window, which stays shown, usable and unchanged by a
    // sweep; closed, it opens again.
    void opensBesideTheMainWindowAndLeavesItUsable()
    {
        MainWindow* main = program_.app().mainWindow();
        const std::string leafFile = Bytes(kLeafSpectrumFile);
        const std::string canopyFile = Bytes(kCanopySpectrumFile);
        CanopySweepWindow* window = Open();
        QVERIFY(window != nullptr);
        QCOMPARE(window->windowTitle(), QStringLiteral("Simulación múltiple: modelo SAILH"));
        QVERIFY(window->isVisible());
        QVERIFY(main->isVisible() && main->isEnabled());
        QVERIFY(QApplication::activeModalWidget() == nullptr);

        testing::FindChild<QPushButton>(window, "btok")->click();
        QVERIFY(window->result().has_value());
        QCOMPARE(window->result()->values.size(), std::size_t{16});  // LAI 0.5 to 8 by 0.5
        QCOMPARE(Bytes(kLeafSpectrumFile), leafFile);
        QCOMPARE(Bytes(kCanopySpectrumFile), canopyFile);

        // The main window still recomputes: a typed LAI runs the canopy model again.
        Type(main, "txtSailh(0)", QStringLiteral("2"));
        QVERIFY(Bytes(kCanopySpectrumFile) != canopyFile);

        window->close();
        testing::DeliverDeferredDeletes();
        QVERIFY(program_.app().canopySweepWindow() == nullptr);
        QVERIFY(main->isVisible());
        CanopySweepWindow* again = Open();
        QVERIFY(again != nullptr && again->isVisible());
        QVERIFY(!again->result().has_value());
    }

    // It starts from the main window's canopy values: a principal-plane sweep at the main
    // window's sun is the core's sweep at those values.
    void startsFromTheMainWindowsValues()
    {
        Type(program_.app().mainWindow(), "txtSailh(1)", QStringLiteral("30"));
        Type(program_.app().mainWindow(), "txtSailh(0)", QStringLiteral("3"));
        CanopySweepWindow* window = Open();
        testing::FindChild<QComboBox>(window, "cmbParametro")
            ->setCurrentIndex(5);  // the principal plane
        QCOMPARE(testing::FindChild<QLineEdit>(window, "txtLimite(0)")->text(),
                 QStringLiteral("-80"));
        testing::FindChild<QPushButton>(window, "btok")->click();
        QVERIFY(window->result().has_value());

        multi::CanopySweepRequest request;
        request.swept = multi::CanopySweptParameter::Plane;
        request.leaf = program_.app().mainWindow()->leafParameters();
        request.canopy = program_.app().mainWindow()->canopyInputs();
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
        testing::FindChild<QPushButton>(window, "btok")->click();
        const std::string file = Bytes(kCanopySweepFile);
        auto* curvesView = testing::FindChild<widgets::ChartView>(window, "pctMSailh");
        const QImage curves = curvesView->image();
        const QImage quantity =
            testing::FindChild<widgets::ChartView>(window, "pctMagnitud")->image();

        Type(window, "txtLimite(0)", QStringLiteral("0"));  // LAI 0 is refused
        testing::FindChild<QPushButton>(window, "btok")->click();
        QCOMPARE(Bytes(kCanopySweepFile), file);
        QVERIFY(curvesView->image() == curves);
        QVERIFY(testing::FindChild<widgets::ChartView>(window, "pctMagnitud")->image() == quantity);
        QCOMPARE(window->result()->values.front(), 0.5);
        QVERIFY(!window->statusBar()->currentMessage().isEmpty());
    }

    // A refused limit is marked and said in full beside the limits (not in a tooltip), and
    // nothing runs; good limits take the marks away at the next run.
    void aRefusedLimitIsMarkedAndSaid_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no number") << "txtLimite(1)"
                                   << "ocho"
                                   << "Límite superior: «ocho» no es un número.";
        QTest::newRow("decimal comma")
            << "txtLimite(2)"
            << "0,5"
            << "Intervalo: «0,5» no es un número; escriba el decimal con punto: 0.5.";
        QTest::newRow("no interval") << "txtLimite(2)"
                                     << "0"
                                     << "Intervalo: 0 no se admite; debe ser mayor que 0.";
        QTest::newRow("lower above upper")
            << "txtLimite(0)"
            << "9"
            << "Límite inferior: 9 está por encima del límite superior 8.";
        QTest::newRow("outside the model")
            << "txtLimite(0)"
            << "0"
            << "Límite inferior: 0 no se admite; debe ser mayor que 0 y hasta 100.";
    }
    void aRefusedLimitIsMarkedAndSaid()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, reason);
        CanopySweepWindow* window = Open();
        auto* edit = testing::FindChild<QLineEdit>(window, qPrintable(box));
        auto* note = testing::FindChild<QLabel>(window, "lblRechazo");
        const QString good = edit->text();
        Type(window, qPrintable(box), typed);
        testing::FindChild<QPushButton>(window, "btok")->click();
        QVERIFY(!window->result().has_value());
        QVERIFY(widgets::IsMarkedRefused(edit));
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(), reason);
        QCOMPARE(window->statusBar()->currentMessage(), reason);

        Type(window, qPrintable(box), good);  // the mark goes as soon as the box is good
        QVERIFY(!widgets::IsMarkedRefused(edit));
        QVERIFY(!note->isVisible());
        testing::FindChild<QPushButton>(window, "btok")->click();
        QVERIFY(window->result().has_value());
    }

    // Beside 670 and 800 nm the list offers any grid wavelength: the box's value, a value
    // between two grid wavelengths going to the nearer one; the chart and the export use it.
    // Bands are listed with their region.
    void anyWavelengthIsAQuantity()
    {
        CanopySweepWindow* window = Open();
        testing::FindChild<QPushButton>(window, "btok")->click();
        auto* list = testing::FindChild<QComboBox>(window, "cmbMagnitud");
        auto* nm = testing::FindChild<QSpinBox>(window, "spnLongitudOnda");
        nm->setValue(1652);
        QCOMPARE(nm->value(), 1650);
        QCOMPARE(list->currentText(), QStringLiteral("Otra longitud de onda"));
        QVERIFY(testing::FindChild<QLabel>(window, "lblEjeY")
                    ->text()
                    .startsWith(QStringLiteral("1650 nm:")));
        std::optional<exports::QuantityTable> exported;
        connect(window, &CanopySweepWindow::ExportRequested, this,
                [&exported](const exports::QuantityTable& table) { exported = table; });
        testing::FindChild<QPushButton>(window, "cmdfich")->click();
        QVERIFY(exported.has_value());
        QCOMPARE(exported->quantityName, std::string("1650 nm"));
        const std::size_t at = (1650 - 400) / 5;
        for (std::size_t i = 0; i < exported->values.size(); ++i) {
            QCOMPARE(exported->quantity[i].value(), window->result()->canopyReflPct[i][at] / 100);
        }
        const int b5 = list->findData(QStringLiteral("Sentinel-2 MSI band B5"));
        QVERIFY(b5 >= 0);
        QCOMPARE(list->itemText(b5), QStringLiteral("Sentinel-2 MSI band B5 (borde rojo)"));
    }

    // Another quantity redraws the second chart from memory: no sweep runs again.
    void anotherQuantityRedrawsWithoutRunning()
    {
        CanopySweepWindow* window = Open();
        testing::FindChild<QPushButton>(window, "btok")->click();
        std::filesystem::remove(kCanopySweepFile);
        auto* view = testing::FindChild<widgets::ChartView>(window, "pctMagnitud");
        const QImage before = view->image();
        testing::FindChild<QComboBox>(window, "cmbMagnitud")
            ->setCurrentText(QStringLiteral("800 nm"));
        QVERIFY(view->image() != before);
        QVERIFY(!std::filesystem::exists(kCanopySweepFile));
        QVERIFY(testing::FindChild<QLabel>(window, "lblEjeY")
                    ->text()
                    .startsWith(QStringLiteral("800 nm")));
    }

    // The quantity chart is numbered at its saved figure's ticks, across over the swept values
    // and up from 0 for a reflectance unless zoomed in on its data, titled in the window's
    // language; each redraw numbers it again.
    void theQuantityChartIsNumberedOverItsRange_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<bool>("zoom");
        QTest::addColumn<QString>("across");
        QTest::newRow("Spanish") << false << false << "Indice de área foliar (LAI)";
        QTest::newRow("Spanish, zoomed") << false << true << "Indice de área foliar (LAI)";
        QTest::newRow("English, zoomed") << true << true << "Leaf area index (LAI)";
    }
    void theQuantityChartIsNumberedOverItsRange()
    {
        QFETCH(bool, english);
        QFETCH(bool, zoom);
        QTranslator translator;
        if (english) {
            QVERIFY(translator.load(QStringLiteral(":/i18n/tulmera_en.qm")));
            QCoreApplication::installTranslator(&translator);
        }
        CanopySweepWindow* window = Open();
        testing::FindChild<QComboBox>(window, "cmbMagnitud")->setCurrentText("670 nm");
        testing::FindChild<QPushButton>(window, "btok")->click();  // LAI 0.5 to 8 by 0.5
        testing::FindChild<QCheckBox>(window, "chkAmpliar")->setChecked(zoom);
        QCoreApplication::removeTranslator(&translator);
        double low = 1, high = 0;
        for (const spectral::Spectrum& refl : window->result()->canopyReflPct) {
            low = std::min(low, refl[(670 - 400) / 5] / 100);
            high = std::max(high, refl[(670 - 400) / 5] / 100);
        }
        const auto* view = testing::FindChild<widgets::ChartView>(window, "pctMagnitud");
        std::vector<double> up, across;
        for (const QLabel* label : view->parentWidget()->findChildren<QLabel*>(
                 QRegularExpression(QStringLiteral("^lblGrid")))) {
            bool number = false;
            const double value = label->text().toDouble(&number);
            QVERIFY2(number, qPrintable(label->text()));
            (label->geometry().right() < view->x() ? up : across).push_back(value);
        }
        std::sort(up.begin(), up.end());
        std::sort(across.begin(), across.end());
        QVERIFY(up.size() >= 3 && across.size() >= 3);
        // Every number within the range, the first and the last less than a step from its ends.
        const auto spans = [](const std::vector<double>& ticks, double from, double to) {
            const double step = ticks[1] - ticks[0];
            return ticks.front() >= from - 1e-9 && ticks.front() - from < step
                   && ticks.back() <= to + 1e-9 && to - ticks.back() < step;
        };
        QVERIFY(spans(across, 0.5, 8));
        QVERIFY(spans(up, zoom ? low : 0.0, high));
        QCOMPARE(up.front() == 0.0, !zoom);
        QCOMPARE(testing::FindChild<QLabel>(window, "lblEjeMagnitud")->text(), "670 nm");
        QTEST(testing::FindChild<QLabel>(window, "lblEjeParametro")->text(), "across");
    }

    // A larger window draws both charts afresh at their shown size from the sweep in memory,
    // not stretched, and without running it again.
    void resizingRedrawsTheChartsAtTheirShownSize()
    {
        CanopySweepWindow* window = Open();
        testing::FindChild<QPushButton>(window, "btok")->click();
        std::filesystem::remove(kCanopySweepFile);
        window->show();
        window->resize(2000, 1200);
        QCoreApplication::processEvents();
        for (const char* name : {"pctMSailh", "pctlegend", "pctMagnitud"}) {
            const auto* view = testing::FindChild<widgets::ChartView>(window, QLatin1String(name));
            const plot::ChartScale shown = view->DisplayedScale();
            QCOMPARE(view->image().size(),
                     QSize(shown.widthPx, shown.heightPx) * view->SurfacePixelScale());
        }
        QVERIFY(
            testing::FindChild<widgets::ChartView>(window, "pctMSailh")->DisplayedScale().widthPx
            > plot::kSweepChartScale.widthPx);
        QVERIFY(!std::filesystem::exists(kCanopySweepFile));
    }

    // "Hoja de calculo" puts "MVS.dat" on the first sheet, one block per value (its header
    // read as a text field, as the leaf sweep's), and the quantity chart's table on the second.
    void exportFillsBothSheets()
    {
        CanopySweepWindow* window = Open();
        testing::FindChild<QPushButton>(window, "btok")->click();  // LAI 0.5 to 8 by 0.5, NDVI
        testing::FindChild<QPushButton>(window, "cmdfich")->click();
        QCOMPARE(program_.workbooks().size(), std::size_t{1});
        QCOMPARE(program_.workbooks().back().sheets.size(), std::size_t{2});
        const testing::CellMap curves = testing::CellsOf(program_.workbooks().back().sheets[0]);
        const testing::CellMap table = testing::CellsOf(program_.workbooks().back().sheets[1]);
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
