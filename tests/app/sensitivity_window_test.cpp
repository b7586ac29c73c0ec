// The sensitivity analysis window, driven offscreen: a tiny analysis drawn with one area per
// varied parameter, a refused range, a cancelled run that keeps the last good one, and its files.
#include "app/windows/sensitivity_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTranslator>
#include <memory>

#include "app/widgets/chart_panel.h"
#include "gsa/gsa_files.h"
#include "gsa/sensitivity_charts.h"
#include "leaf/leaf_models.h"
#include "support/find_child.h"
#include "support/work_dir.h"

namespace tulmera::app {

class SensitivityWindowTest : public QObject {
    Q_OBJECT

private:
    template <typename T>
    static T* In(QWidget* window, const QString& name)
    {
        return testing::FindChild<T>(window, name);
    }
    // Varies exactly the inputs `varied` (gsa input order) at their shown ranges.
    static void VaryOnly(QWidget* window, const std::vector<int>& varied)
    {
        for (int p = 0; p < static_cast<int>(gsa::kInputCount); ++p) {
            const bool on = std::ranges::find(varied, p) != varied.end();
            auto* box = window->findChild<QCheckBox*>(QStringLiteral("chkVariar(%1)").arg(p));
            if (box) box->setChecked(on);
        }
    }
    static bool RunAndWait(SensitivityWindow& window)
    {
        QSignalSpy finished(&window, &SensitivityWindow::AnalysisFinished);
        In<QPushButton>(&window, QStringLiteral("btok"))->click();
        return finished.wait(120000);
    }
    // How many pixels of `image` have exactly colour `c`.
    static int PixelsOf(const QImage& image, plot::Rgb c)
    {
        int count = 0;
        const QRgb wanted = qRgb(c.r, c.g, c.b);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += (image.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF);
        return count;
    }

private slots:
    void ShowsOneAreaPerVariedParameter()
    {
        testing::ScopedWorkDir dir;
        SensitivityWindow window(leaf::kStartLeafParameters, canopy::StartCanopyInputs());
        window.show();
        VaryOnly(&window, {0, 1, 4});                                               // N, Cab, LAI
        In<QComboBox>(&window, QStringLiteral("cmbMuestras"))->setCurrentIndex(0);  // 64
        QVERIFY(RunAndWait(window));
        QVERIFY(window.result().has_value());
        QCOMPARE(window.result()->parameters, (std::vector<std::string>{"N", "Cab", "LAI"}));
        const QImage areas = In<widgets::ChartView>(&window, QStringLiteral("pctAreas"))->image();
        for (std::size_t i = 0; i < 3; ++i) QVERIFY(PixelsOf(areas, gsa::ParameterColor(i)) > 0);
        QCOMPARE(PixelsOf(areas, gsa::ParameterColor(3)), 0);
        auto* quantity = In<QComboBox>(&window, QStringLiteral("cmbMagnitud"));
        QCOMPARE(quantity->itemText(0), QStringLiteral("NDVI"));
        QVERIFY(quantity->findText(QStringLiteral("fAPAR")) >= 0);

        QVERIFY(window.SaveIndicesCsv(QStringLiteral("indices.csv")));
        const gsa::IndicesFile file = gsa::ReadIndicesCsv("indices.csv");
        QCOMPARE(file.lines.size(), window.result()->quantities.size() * 3);
        const auto settingsSay = [](const char* text) {
            return testing::FileBytes("indices.csv").find(text) != std::string::npos;
        };
        QVERIFY(settingsSay("; lidf=Planofilo; soil=S1:61% arena 24% limo 15% arcilla;"));
        QTranslator english;  // in English, the same file names them in English
        QVERIFY(english.load(QStringLiteral(":/i18n/tulmera_en.qm")));
        QCoreApplication::installTranslator(&english);
        QVERIFY(window.SaveIndicesCsv(QStringLiteral("indices.csv")));
        QCoreApplication::removeTranslator(&english);
        QVERIFY(settingsSay("; lidf=Planophile; soil=S1: 61% sand 24% silt 15% clay;"));
        QCOMPARE(gsa::ReadIndicesCsv("indices.csv").lines.size(), file.lines.size());
        QVERIFY(window.SaveChartImages(QStringLiteral("gsa.png"), {1, false}));
        QVERIFY(std::filesystem::exists("gsa-areas.png"));
        QVERIFY(std::filesystem::exists("gsa-barras.png"));
        QVERIFY(window.SaveChartImages(QStringLiteral("gsa.svg"), {1, true}));
        QVERIFY(std::filesystem::exists("gsa-barras.svg"));
    }

    // PROSPECT-PRO's window lists its proteins and carbon-based constituents and not Cm; the
    // first-order lines appear over the areas only when asked for, and in the saved figure.
    void VariesTheLeafModelsParametersAndDrawsFirstOrderLinesOnRequest()
    {
        testing::ScopedWorkDir dir;
        SensitivityWindow window(leaf::StartLeafParameters(leaf::LeafModel::ProspectPro),
                                 canopy::StartCanopyInputs());
        QVERIFY(!window.findChild<QCheckBox*>(QStringLiteral("chkVariar(3)")));         // Cm
        QVERIFY(In<QCheckBox>(&window, QStringLiteral("chkVariar(13)"))->isChecked());  // CBC
        VaryOnly(&window, {1, 12, 13});  // Cab, Prot, CBC
        In<QLineEdit>(&window, QStringLiteral("txtRango(12,0)"))->setText(QStringLiteral("0.0005"));
        In<QLineEdit>(&window, QStringLiteral("txtRango(12,1)"))->setText(QStringLiteral("0.003"));
        In<QComboBox>(&window, QStringLiteral("cmbMuestras"))->setCurrentIndex(0);  // 64
        QVERIFY(RunAndWait(window));
        QCOMPARE(window.result()->parameters, (std::vector<std::string>{"Cab", "Prot", "CBC"}));
        auto* view = In<widgets::ChartView>(&window, QStringLiteral("pctAreas"));
        for (std::size_t i = 0; i < 3; ++i)
            QCOMPARE(PixelsOf(view->image(), gsa::FirstOrderColor(i)), 0);
        In<QCheckBox>(&window, QStringLiteral("chkPrimerOrden"))->setChecked(true);
        for (std::size_t i = 0; i < 3; ++i)
            QVERIFY(PixelsOf(view->image(), gsa::FirstOrderColor(i)) > 0);
        QVERIFY(window.SaveChartImages(QStringLiteral("gsa.png"), {1, false}));
        const QImage saved(QStringLiteral("gsa-areas.png"));
        QVERIFY(PixelsOf(saved, gsa::FirstOrderColor(0)) > 0);

        // Presentation mode draws the lines thicker; switched off, as before.
        const int thin = PixelsOf(view->image(), gsa::FirstOrderColor(0));
        QAction* mode = In<QAction>(&window, QStringLiteral("mnuModoPresentacion"));
        mode->trigger();
        QVERIFY(PixelsOf(view->image(), gsa::FirstOrderColor(0)) > thin);
        mode->trigger();
        QCOMPARE(PixelsOf(view->image(), gsa::FirstOrderColor(0)), thin);
    }

    void RefusesBadRangesAndKeepsTheLastAnalysisWhenCancelled()
    {
        SensitivityWindow window(leaf::kStartLeafParameters, canopy::StartCanopyInputs());
        VaryOnly(&window, {4});  // LAI alone
        In<QPushButton>(&window, QStringLiteral("btok"))->click();
        QVERIFY(window.statusBar()->currentMessage().contains(QStringLiteral("al menos dos")));
        VaryOnly(&window, {1, 4});
        In<QLineEdit>(&window, QStringLiteral("txtRango(4,0)"))->setText(QStringLiteral("7"));
        In<QPushButton>(&window, QStringLiteral("btok"))->click();
        QVERIFY(window.statusBar()->currentMessage().contains(QStringLiteral("menor que")));
        QVERIFY(!window.result().has_value());

        In<QLineEdit>(&window, QStringLiteral("txtRango(4,0)"))->setText(QStringLiteral("0.5"));
        In<QComboBox>(&window, QStringLiteral("cmbMuestras"))->setCurrentIndex(0);
        QVERIFY(RunAndWait(window));
        QVERIFY(window.result().has_value());
        const std::vector<std::string> first = window.result()->parameters;

        VaryOnly(&window, {0, 1, 2, 3, 4});
        In<QComboBox>(&window, QStringLiteral("cmbMuestras"))->setCurrentIndex(6);  // 4096
        QSignalSpy finished(&window, &SensitivityWindow::AnalysisFinished);
        In<QPushButton>(&window, QStringLiteral("btok"))->click();
        In<QPushButton>(&window, QStringLiteral("cmdCancelar"))->click();
        QVERIFY(finished.wait(120000));
        QVERIFY(window.statusBar()->currentMessage().contains(QStringLiteral("cancelado")));
        QCOMPARE(window.result()->parameters, first);
    }

    // Closing the window while its worker runs stops the worker first: no crash, no hang.
    void ClosingDuringAnAnalysisStopsIt()
    {
        auto window = std::make_unique<SensitivityWindow>(leaf::kStartLeafParameters,
                                                          canopy::StartCanopyInputs());
        In<QComboBox>(window.get(), QStringLiteral("cmbMuestras"))->setCurrentIndex(6);  // 4096
        In<QPushButton>(window.get(), QStringLiteral("btok"))->click();
        QVERIFY(!In<QPushButton>(window.get(), QStringLiteral("btok"))->isEnabled());
        window.reset();
        QCoreApplication::processEvents();
    }
};

}  // namespace tulmera::app

QTEST_MAIN(tulmera::app::SensitivityWindowTest)
#include "sensitivity_window_test.moc"
