// The main window's measured spectra: loading, the RMSE after each refresh, the curve drawn
// over the charts, bad files, and the leaf fit with its cancel, driven offscreen.
#include "app/windows/measured_panel.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <cmath>
#include <fstream>
#include <memory>

#include "app/widgets/chart_panel.h"
#include "app/windows/main_window.h"
#include "leaf/leaf_spectrum.h"
#include "support/find_child.h"
#include "support/scratch_settings.h"
#include "support/window_fixtures.h"
#include "support/work_dir.h"
#include "testing/recording_surface.h"
#include "textio/number_text.h"

namespace tulmera::app {

namespace {

const QString kExamples = QStringLiteral(TULMERA_EXAMPLES_DIR);
const QString kLeafR = kExamples + QStringLiteral("/leaf_reflectance.csv");
const QString kLeafT = kExamples + QStringLiteral("/leaf_transmittance.csv");

// A fit of R and T takes milliseconds; this only bounds a hang.
constexpr int kFitTimeoutMs = 60000;

void WriteFile(const char* name, const char* text)
{
    std::ofstream(name, std::ios::binary) << text;
}

// A file measured from 500 to 1000 nm every 10 nm, 0.4 everywhere: no data on either side.
void WritePartialFile(const char* name)
{
    std::ofstream out(name, std::ios::binary);
    out << "nm,hoja\n";
    for (int nm = 500; nm <= 1000; nm += 10) out << nm << ",0.4\n";
}

// The canopy reflectance of `state` as a measured file, in fractions.
void WriteCanopyFile(const char* name, const canopy::CanopyState& state)
{
    std::ofstream out(name, std::ios::binary);
    out << "nm,dosel\n";
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        out << spectral::WavelengthNm(i) << ','
            << textio::ShortestNumberText(state.canopyReflPct[static_cast<std::size_t>(i)] / 100.0)
            << '\n';
    }
}

bool HasColour(const QImage& image, plot::Rgb colour)
{
    const QRgb wanted = qRgb(colour.r, colour.g, colour.b);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == wanted) return true;
        }
    }
    return false;
}

bool HasBlackInColumn(const QImage& image, int column)
{
    for (int y = 0; y < image.height(); ++y) {
        if (image.pixel(column, y) == qRgb(0, 0, 0)) return true;
    }
    return false;
}

}  // namespace

class MeasuredPanelTest : public QObject {
    Q_OBJECT

private:
    testing::WindowFixture<MainWindow> fixture_;
    MeasuredPanel* panel_ = nullptr;

    QScrollBar* LeafBar(int i) const
    {
        return fixture_.Find<QScrollBar>(QStringLiteral("hsbProspect(%1)").arg(i));
    }
    void Type(const QString& box, const QString& text)
    {
        auto* edit = fixture_.Find<QLineEdit>(box);
        edit->setText(text);
        emit edit->editingFinished();
    }
    QString RmseText() const
    {
        return fixture_.Find<QLabel>(QStringLiteral("lblMedidoRmse"))->text();
    }
    QImage Chart(const char* name) const
    {
        return fixture_.Find<widgets::ChartView>(QLatin1String(name))->image();
    }

private slots:
    void initTestCase() { testing::UseScratchSettings(); }
    void init()
    {
        fixture_.Open();
        panel_ = fixture_.Find<MeasuredPanel>(QStringLiteral("dckMedido"));
    }
    void cleanup() { fixture_.Close(); }

    void eachKindHasItsChartAndDefaults_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("waterBandsLeftOut");
        QTest::addColumn<bool>("fitEnabled");
        QTest::addColumn<bool>("onLeafChart");
        QTest::newRow("leaf reflectance")
            << int(MeasuredKind::LeafReflectance) << false << true << true;
        QTest::newRow("leaf transmittance")
            << int(MeasuredKind::LeafTransmittance) << false << true << true;
        QTest::newRow("canopy reflectance")
            << int(MeasuredKind::CanopyReflectance) << true << false << false;
    }
    void eachKindHasItsChartAndDefaults()
    {
        QFETCH(int, kind);
        QFETCH(bool, waterBandsLeftOut);
        QFETCH(bool, fitEnabled);
        QFETCH(bool, onLeafChart);
        QVERIFY(panel_->isHidden());
        QVERIFY(panel_->LoadFile(kLeafR, 0, MeasuredKind(kind)));
        QVERIFY(!panel_->isHidden());
        QCOMPARE(fixture_.Find<QCheckBox>(QStringLiteral("chkMedidoBandasAgua"))->isChecked(),
                 waterBandsLeftOut);
        QCOMPARE(fixture_.Find<QPushButton>(QStringLiteral("cmdAjustarHoja"))->isEnabled(),
                 fitEnabled);
        QVERIFY(panel_->Rmse(MeasuredKind(kind)).has_value());
        QVERIFY(
            MeasuredPanel::RecentFiles().first().endsWith(QStringLiteral("leaf_reflectance.csv")));
        // Drawn over the right chart only, and still after a change of background.
        fixture_.Find<QAction>(QStringLiteral("menu211(4)"))->trigger();
        const QImage leaf = Chart("pctProspect");
        const QImage canopy = Chart("pctSailh");
        QCOMPARE(HasBlackInColumn(leaf, leaf.width() / 2), onLeafChart);
        QCOMPARE(HasBlackInColumn(canopy, canopy.width() / 2), !onLeafChart);

        fixture_.Find<QPushButton>(QStringLiteral("cmdQuitarMedido"))->click();
        QVERIFY(panel_->isHidden());
        QVERIFY(!HasBlackInColumn(Chart("pctProspect"), leaf.width() / 2));
        QVERIFY(!HasBlackInColumn(Chart("pctSailh"), canopy.width() / 2));
    }

    void rmseFollowsTheBarsAndTheWaterBandBox()
    {
        QVERIFY(panel_->LoadFile(kLeafR, 0, MeasuredKind::LeafReflectance));
        const double atStart = panel_->Rmse(MeasuredKind::LeafReflectance).value();
        const QString textAtStart = RmseText();
        QVERIFY2(textAtStart.contains(QStringLiteral("RMSE")), qPrintable(textAtStart));
        QVERIFY(
            textAtStart.contains(QStringLiteral("puntos porcentuales en 421 longitudes de onda")));
        // The first leaf's values (N 1.3, Cab 28, Cw 0.009, Cm 0.0035): the model meets the
        // measurement to within its noise (σ 0.005, 0.5 %).
        const int positions[] = {130, 2800, 90, 35};
        for (int i = 0; i < 4; ++i) LeafBar(i)->setValue(positions[i]);
        const double moved = panel_->Rmse(MeasuredKind::LeafReflectance).value();
        QVERIFY2(atStart > 3 && moved < 0.7,
                 qPrintable(QStringLiteral("%1 -> %2").arg(atStart).arg(moved)));
        QVERIFY(RmseText() != textAtStart);
        fixture_.Find<QCheckBox>(QStringLiteral("chkMedidoBandasAgua"))->setChecked(true);
        QVERIFY(panel_->Rmse(MeasuredKind::LeafReflectance).value() != moved);
        QVERIFY(!RmseText().contains(QStringLiteral("421 longitudes")));  // 23 + 33 left out
        QVERIFY(RmseText().contains(QStringLiteral("365 longitudes de onda")));
    }

    // Grid points outside the measured range are gaps: the curve starts at 500 nm, ends at
    // 1000 nm, and nothing of it lies outside.
    void partialSpectrumIsDrawnWithGaps()
    {
        WritePartialFile("partial.csv");
        QVERIFY(panel_->LoadFile(QStringLiteral("partial.csv"), 0, MeasuredKind::LeafReflectance));
        testing::RecordingSurface leaf;
        testing::RecordingSurface canopy;
        panel_->Paint(leaf, canopy);
        QVERIFY(canopy.ops().empty());
        int points = 0;
        int segments = 0;
        for (const testing::ChartOp& op : leaf.ops()) {
            if (op.kind == testing::ChartOp::Kind::PlotPoint) {
                ++points;
                QCOMPARE(op.x1, 500.0);
            } else if (op.kind == testing::ChartOp::Kind::LineTo) {
                ++segments;
                QVERIFY(op.x1 > 500 && op.x1 <= 1000);
                QCOMPARE(op.y1, 40.0);
            }
        }
        QCOMPARE(points, 1);
        QCOMPARE(segments, 100);  // 505 .. 1000 nm
        const QImage image = Chart("pctProspect");
        const int per100Nm = image.width() / 21;                   // the chart spans 400 .. 2500 nm
        QVERIFY(!HasBlackInColumn(image, per100Nm / 2));           // 450 nm
        QVERIFY(HasBlackInColumn(image, 3 * per100Nm));            // 700 nm
        QVERIFY(!HasBlackInColumn(image, image.width() * 3 / 4));  // 1975 nm
        QVERIFY(RmseText().contains(QStringLiteral("101 longitudes de onda")));
    }

    // Each measured curve drawn has its entry in its chart's legend, black as the curve; the
    // entries go with the spectra.
    void measuredCurvesHaveLegendEntries()
    {
        QVERIFY(panel_->LoadFile(QStringLiteral(TULMERA_EXAMPLES_DIR "/leaf_reflectance.csv"), 0,
                                 MeasuredKind::LeafReflectance));
        QVERIFY(panel_->LoadFile(QStringLiteral(TULMERA_EXAMPLES_DIR "/canopy_reflectance.csv"), 1,
                                 MeasuredKind::CanopyReflectance));
        const auto* leafEntry = fixture_.window()->findChild<widgets::LegendSwatch*>("lnMedidoR");
        const auto* canopyEntry =
            fixture_.window()->findChild<widgets::LegendSwatch*>("lnMedidoDosel");
        QVERIFY(leafEntry != nullptr && canopyEntry != nullptr);
        const auto panelOf = [this](const char* chart) {
            return fixture_.Find<widgets::ChartView>(QLatin1String(chart))->parentWidget();
        };
        QCOMPARE(leafEntry->parentWidget()->parentWidget(), panelOf("pctProspect"));
        QCOMPARE(canopyEntry->parentWidget()->parentWidget(), panelOf("pctSailh"));
        QCOMPARE(leafEntry->color(), QColor(Qt::black));
        QVERIFY(fixture_.window()->findChild<widgets::LegendSwatch*>("lnMedidoT") == nullptr);
        fixture_.Find<QPushButton>("cmdQuitarMedido")->click();
        QVERIFY(fixture_.window()->findChild<widgets::LegendSwatch*>("lnMedidoR") == nullptr);
        QVERIFY(fixture_.window()->findChild<widgets::LegendSwatch*>("lnMedidoDosel") == nullptr);
    }

    void badFileLeavesWhatWasLoaded_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("text");  // empty: the file is not written
        QTest::newRow("missing") << QStringLiteral("missing.csv") << QByteArray();
        QTest::newRow("one column") << QStringLiteral("one.csv") << QByteArray("400\n405\n410\n");
        QTest::newRow("not a number")
            << QStringLiteral("text.csv") << QByteArray("nm,r\n400,0.1\n405,abc\n");
        QTest::newRow("too few grid points")
            << QStringLiteral("short.csv") << QByteArray("400,0.1\n405,0.1\n410,0.1\n");
    }
    void badFileLeavesWhatWasLoaded()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, text);
        if (!text.isEmpty()) WriteFile(qPrintable(fileName), text.constData());
        QVERIFY(panel_->LoadFile(kLeafR, 1, MeasuredKind::LeafReflectance));
        const QString shown = RmseText();
        const double rmse = panel_->Rmse(MeasuredKind::LeafReflectance).value();
        QSignalSpy changed(panel_, &MeasuredPanel::SpectraChanged);
        QVERIFY(!panel_->LoadFile(fileName, 0, MeasuredKind::LeafReflectance));
        QVERIFY2(fixture_.Status().startsWith(QStringLiteral("No se pudo")),
                 qPrintable(fixture_.Status()));
        QVERIFY(fixture_.Status().contains(fileName));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(RmseText(), shown);
        QCOMPARE(panel_->Rmse(MeasuredKind::LeafReflectance).value(), rmse);
    }

    // A file the user opens that cannot be read is said in a box that opens by itself, with
    // the reader's reason naming the line and field, as the batch runner prints it.
    void anUnreadableFileOpensABoxNamingTheLine()
    {
        WritePartialFile("medida.csv");
        QVERIFY(panel_->LoadFile(QStringLiteral("medida.csv"), 0, MeasuredKind::LeafReflectance));
        WriteFile("medida.csv", "nm,r\n400,0.1\n405,abc\n");
        auto* recent = fixture_.Find<QMenu>(QStringLiteral("menuMedidoReciente"));
        QVERIFY(!recent->actions().isEmpty());
        recent->actions().first()->trigger();
        auto* box = panel_->findChild<QMessageBox*>(QStringLiteral("dlgMedidoIlegible"));
        QVERIFY(box != nullptr);
        QVERIFY(box->isVisible());
        QVERIFY2(box->text().contains(QStringLiteral("«medida.csv»")), qPrintable(box->text()));
        QVERIFY2(box->informativeText().contains(QStringLiteral("line 3")),
                 qPrintable(box->informativeText()));
        QVERIFY(box->informativeText().contains(QStringLiteral("\"abc\" is not a number")));
        QVERIFY(fixture_.Status().startsWith(QStringLiteral("No se pudo leer")));
        box->close();
    }

    void appliedFitMovesTheBarsAndLowersTheRmse()
    {
        QVERIFY(panel_->LoadFile(kLeafR, 0, MeasuredKind::LeafReflectance));
        QVERIFY(panel_->LoadFile(kLeafT, 0, MeasuredKind::LeafTransmittance));
        const double before = panel_->Rmse(MeasuredKind::LeafReflectance).value();
        QSignalSpy finished(panel_, &MeasuredPanel::FitFinished);
        fixture_.Find<QPushButton>(QStringLiteral("cmdAjustarHoja"))->click();
        QVERIFY(!fixture_.Find<QPushButton>(QStringLiteral("cmdAjustarHoja"))->isEnabled());
        QVERIFY(finished.wait(kFitTimeoutMs));
        QVERIFY2(panel_->fitResult().has_value(), qPrintable(fixture_.Status()));
        const leaf::LeafParameters fitted = panel_->fitResult()->parameters;
        // The first leaf was made with N 1.3, Cab 28, Cw 0.009, Cm 0.0035 and noise.
        QVERIFY(std::abs(fitted.N - 1.3) < 0.2);
        QVERIFY(std::abs(fitted.Cab - 28) < 4);
        QVERIFY(fixture_.Find<QLabel>(QStringLiteral("lblAjuste"))
                    ->text()
                    .contains(QStringLiteral("evaluaciones")));
        fixture_.Find<QPushButton>(QStringLiteral("cmdAplicarAjuste"))->click();
        QCOMPARE(LeafBar(0)->value(), int(std::lround(fitted.N * 100)));
        QCOMPARE(LeafBar(1)->value(), int(std::lround(fitted.Cab * 100)));
        QCOMPARE(LeafBar(2)->value(), int(std::lround(fitted.Cw * 10000)));
        QCOMPARE(LeafBar(3)->value(), int(std::lround(fitted.Cm * 10000)));
        QCOMPARE(fixture_.window()->leafParameters().Cab, LeafBar(1)->value() / 100.0);
        const double after = panel_->Rmse(MeasuredKind::LeafReflectance).value();
        QVERIFY2(after < before / 4, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
        QCOMPARE(panel_->fitResult()->parameters.Cab, fitted.Cab);  // the exact values stay
    }

    // A file loaded after a fit clears its result ("Aplicar" cannot apply a fit of other
    // spectra), and the water band box keeps what the user clicked whatever the new kind.
    void aNewFileClearsTheFitAndKeepsTheClickedOption()
    {
        QVERIFY(panel_->LoadFile(kLeafR, 0, MeasuredKind::LeafReflectance));
        QSignalSpy finished(panel_, &MeasuredPanel::FitFinished);
        fixture_.Find<QPushButton>(QStringLiteral("cmdAjustarHoja"))->click();
        QVERIFY(finished.wait(kFitTimeoutMs));
        auto* apply = fixture_.Find<QPushButton>(QStringLiteral("cmdAplicarAjuste"));
        QVERIFY(panel_->fitResult().has_value() && apply->isEnabled());
        QVERIFY(fixture_.Find<QLabel>(QStringLiteral("lblAjuste"))
                    ->text()
                    .contains(QStringLiteral("puntos porcentuales")));
        auto* waterBands = fixture_.Find<QCheckBox>(QStringLiteral("chkMedidoBandasAgua"));
        waterBands->click();  // on
        waterBands->click();  // and off again: the user's choice
        QVERIFY(panel_->LoadFile(kLeafR, 0, MeasuredKind::CanopyReflectance));
        QVERIFY(!panel_->fitResult().has_value());
        QVERIFY(!apply->isEnabled());
        QCOMPARE(fixture_.Find<QLabel>(QStringLiteral("lblAjuste"))->text(),
                 QStringLiteral("Sin ajuste."));
        QVERIFY(!waterBands->isChecked());
    }

    // The leaf fit's curves are drawn, with their legend entry, as soon as the fit ends,
    // and go once it is applied, a file is loaded or the spectra are removed.
    void theFitsCurveShowsUntilAppliedOrCleared_data()
    {
        QTest::addColumn<QString>("then");
        QTest::newRow("applied") << "apply";
        QTest::newRow("a new file") << "load";
        QTest::newRow("removed") << "remove";
    }
    void theFitsCurveShowsUntilAppliedOrCleared()
    {
        QFETCH(QString, then);
        QVERIFY(panel_->LoadFile(kLeafR, 0, MeasuredKind::LeafReflectance));
        QVERIFY(panel_->LoadFile(kLeafT, 0, MeasuredKind::LeafTransmittance));
        QVERIFY(!HasColour(Chart("pctProspect"), plot::kFittedMagenta));
        QSignalSpy finished(panel_, &MeasuredPanel::FitFinished);
        fixture_.Find<QPushButton>(QStringLiteral("cmdAjustarHoja"))->click();
        QVERIFY(finished.wait(kFitTimeoutMs));
        QVERIFY2(panel_->fitResult().has_value(), qPrintable(fixture_.Status()));
        // Not applied yet: the bars stay, the fitted R and T are drawn over the measured ones.
        const plot::FittedCurves& fitted = panel_->fittedCurves();
        QVERIFY(fitted.leafReflectance && fitted.leafTransmittance && !fitted.canopyReflectance);
        const leaf::LeafSpectrum model = leaf::ComputeLeafSpectrum(panel_->fitResult()->parameters);
        QCOMPARE(fitted.leafReflectance->at(100), model.refl[100]);
        QVERIFY(HasColour(Chart("pctProspect"), plot::kFittedMagenta));
        QVERIFY(!HasColour(Chart("pctSailh"), plot::kFittedMagenta));
        auto* swatch = fixture_.Find<widgets::LegendSwatch>(QStringLiteral("lnAjuste"));
        QVERIFY(swatch->isVisibleTo(fixture_.window()));
        QVERIFY(panel_->DrawnCurves().fittedLeaf && !panel_->DrawnCurves().fittedCanopy);

        if (then == QLatin1String("apply")) {
            fixture_.Find<QPushButton>(QStringLiteral("cmdAplicarAjuste"))->click();
        } else if (then == QLatin1String("load")) {
            QVERIFY(panel_->LoadFile(kLeafR, 0, MeasuredKind::LeafReflectance));
        } else {
            fixture_.Find<QPushButton>(QStringLiteral("cmdQuitarMedido"))->click();
            QVERIFY(!fixture_.Find<QPushButton>(QStringLiteral("cmdAplicarAjuste"))->isEnabled());
        }
        QVERIFY(!panel_->fittedCurves().leafReflectance
                && !panel_->fittedCurves().leafTransmittance);
        QVERIFY(!HasColour(Chart("pctProspect"), plot::kFittedMagenta));
        QVERIFY(fixture_.window()->findChild<widgets::LegendSwatch*>(QStringLiteral("lnAjuste"))
                == nullptr);
        QVERIFY(!panel_->DrawnCurves().fittedLeaf);
    }

    void guessesWhatAFileHolds_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("kind");
        QTest::newRow("canopy by name") << "/data/canopy_reflectance.csv"
                                        << "1" << int(MeasuredKind::CanopyReflectance);
        QTest::newRow("canopy by header") << "campo.txt"
                                          << "Dosel trigo" << int(MeasuredKind::CanopyReflectance);
        QTest::newRow("transmittance by name") << "leaf_Transmittance.csv"
                                               << "hoja" << int(MeasuredKind::LeafTransmittance);
        QTest::newRow("transmittance by header")
            << "m1.csv"
            << "T_transmisividad" << int(MeasuredKind::LeafTransmittance);
        QTest::newRow("anything else") << "leaf_reflectance.csv"
                                       << "hoja" << int(MeasuredKind::LeafReflectance);
        QTest::newRow("a folder's name does not count")
            << "/dosel/hoja_r.csv"
            << "1" << int(MeasuredKind::LeafReflectance);
    }
    void guessesWhatAFileHolds()
    {
        QFETCH(QString, file);
        QFETCH(QString, column);
        QTEST(int(MeasuredPanel::GuessKind(file, column)), "kind");
    }

    // The panel, closed, comes back from "Ver".
    void reopensFromTheViewMenu()
    {
        QVERIFY(panel_->LoadFile(kLeafR, 0, MeasuredKind::LeafReflectance));
        panel_->close();
        QVERIFY(panel_->isHidden());
        fixture_.Find<QAction>(QStringLiteral("mnuVerMedido"))->trigger();
        QVERIFY(!panel_->isHidden());
    }

    // A cancelled fit shows nothing and moves nothing, whether or not it had already ended.
    void cancelledFitChangesNothing()
    {
        QVERIFY(panel_->LoadFile(kLeafR, 0, MeasuredKind::LeafReflectance));
        const int cab = LeafBar(1)->value();
        fixture_.Find<QCheckBox>(QStringLiteral("chkSubdominios"))->setChecked(true);
        QSignalSpy finished(panel_, &MeasuredPanel::FitFinished);
        fixture_.Find<QPushButton>(QStringLiteral("cmdAjustarHoja"))->click();
        fixture_.Find<QPushButton>(QStringLiteral("cmdCancelarAjuste"))->click();
        QVERIFY(finished.wait(kFitTimeoutMs));
        QVERIFY(!panel_->fitResult().has_value());
        QVERIFY2(fixture_.Status().contains(QStringLiteral("cancelado")),
                 qPrintable(fixture_.Status()));
        QVERIFY(!fixture_.Find<QPushButton>(QStringLiteral("cmdAplicarAjuste"))->isEnabled());
        QVERIFY(fixture_.Find<QPushButton>(QStringLiteral("cmdAjustarHoja"))->isEnabled());
        QCOMPARE(LeafBar(1)->value(), cab);
    }
    // The canopy fit finds the LAI of a spectrum the model made inside the table's ranges, and
    // "Aplicar" brings the window there: the LAI box holds the fitted mean and the RMSE drops.
    void canopyFitRecoversTheLaiAndApplies()
    {
        const std::array<const char*, 4> leaf = {"1.5", "40", "0.012", "0.005"};
        for (int i = 0; i < 4; ++i) {
            Type(QStringLiteral("txtProspect(%1)").arg(i), QLatin1String(leaf[i]));
        }
        Type(QStringLiteral("txtSailh(0)"), QStringLiteral("2"));
        WriteCanopyFile("dosel.csv", fixture_.window()->canopyState());
        Type(QStringLiteral("txtSailh(0)"), QStringLiteral("6"));
        QVERIFY(panel_->LoadFile(QStringLiteral("dosel.csv"), 0, MeasuredKind::CanopyReflectance));
        const double before = panel_->Rmse(MeasuredKind::CanopyReflectance).value();
        QSignalSpy finished(panel_, &MeasuredPanel::FitFinished);
        fixture_.Find<QPushButton>(QStringLiteral("cmdAjustarDosel"))->click();
        QVERIFY(finished.wait(kFitTimeoutMs));
        QVERIFY2(panel_->canopyFitResult().has_value(), qPrintable(fixture_.Status()));
        const double lai = panel_->canopyFitResult()
                               ->refined.values[static_cast<std::size_t>(lut::Parameter::Lai)];
        QVERIFY2(std::abs(lai - 2) < 0.05, qPrintable(QString::number(lai)));
        QVERIFY(fixture_.Find<QLabel>(QStringLiteral("lblAjuste"))
                    ->text()
                    .startsWith(QStringLiteral("LAI")));
        // The fitted canopy is drawn before "Aplicar", on the canopy chart alone.
        QVERIFY(panel_->fittedCurves().canopyReflectance.has_value());
        QVERIFY(HasColour(Chart("pctSailh"), plot::kFittedMagenta));
        QVERIFY(!HasColour(Chart("pctProspect"), plot::kFittedMagenta));
        fixture_.Find<QPushButton>(QStringLiteral("cmdAplicarAjuste"))->click();
        QVERIFY(!HasColour(Chart("pctSailh"), plot::kFittedMagenta));
        QCOMPARE(fixture_.window()->canopyInputs().lai,
                 std::round(lai * 100) / 100);  // the bar's resolution
        const double after = panel_->Rmse(MeasuredKind::CanopyReflectance).value();
        QVERIFY2(after < before / 4, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
    }

    // Cancelled from its progress dialog, or refused for a sun on the horizon: no result and
    // the window's values stay.
    void canopyFitThatDoesNotRunChangesNothing()
    {
        WriteCanopyFile("dosel.csv", fixture_.window()->canopyState());
        QVERIFY(panel_->LoadFile(QStringLiteral("dosel.csv"), 0, MeasuredKind::CanopyReflectance));
        const QString lai = fixture_.Find<QLineEdit>(QStringLiteral("txtSailh(0)"))->text();
        QSignalSpy finished(panel_, &MeasuredPanel::FitFinished);
        fixture_.Find<QPushButton>(QStringLiteral("cmdAjustarDosel"))->click();
        fixture_.Find<QProgressDialog>(QStringLiteral("dlgProgresoDosel"))
            ->findChild<QPushButton*>()
            ->click();
        QVERIFY(finished.wait(kFitTimeoutMs));
        QVERIFY(!panel_->canopyFitResult().has_value());
        QVERIFY2(fixture_.Status().contains(QStringLiteral("cancelado")),
                 qPrintable(fixture_.Status()));
        QVERIFY(!fixture_.Find<QPushButton>(QStringLiteral("cmdAplicarAjuste"))->isEnabled());

        Type(QStringLiteral("txtSailh(1)"), QStringLiteral("90"));
        fixture_.Find<QPushButton>(QStringLiteral("cmdAjustarDosel"))->click();
        QVERIFY(!panel_->Fitting());
        QVERIFY2(fixture_.Status().contains(QStringLiteral("No se puede ajustar el dosel")),
                 qPrintable(fixture_.Status()));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(fixture_.Find<QLineEdit>(QStringLiteral("txtSailh(0)"))->text(), lai);
    }
};

}  // namespace tulmera::app

QTEST_MAIN(tulmera::app::MeasuredPanelTest)
#include "measured_panel_test.moc"
