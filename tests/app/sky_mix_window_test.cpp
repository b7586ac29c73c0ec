// The main window's sky mix, the canopy fluxes of its sensor dock and the hemispherical view,
// driven offscreen: the choice switches the canopy run and is remembered, the canopy chart and
// its figures say when the physical mix is on, the dock's fluxes are the canopy's, and the
// hemispherical view follows the main window's bars with the exact path's values.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/widgets/chart_panel.h"
#include "app/widgets/controls.h"
#include "app/widgets/settings_keys.h"
#include "app/windows/hemisphere_window.h"
#include "app/windows/main_window.h"
#include "app/windows/sensor_dock.h"
#include "canopy/canopy_fluxes.h"
#include "multi/sweep_quantity.h"
#include "support/scratch_settings.h"
#include "support/window_fixtures.h"
#include "textio/number_text.h"

namespace tulmera::app {
namespace {

std::string FileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The exact path's canopy reflectance (fraction) of the main window's last run, seen from
// another direction at one grid point.
double ExactReflectance(const MainWindow& window, double viewZenith, double relAzimuth, int index)
{
    canopy::CanopyInputs inputs = window.canopyInputs();
    inputs.viewAngle = viewZenith;
    inputs.relAzimuth = relAzimuth;
    const canopy::CanopyState& state = window.canopyState();
    return canopy::ComputeCanopySpectrum(inputs, state.leafReflPct, state.leafTransPct, state)
               .canopyReflPct[static_cast<std::size_t>(index)]
           / 100.0;
}

// How many pixels of `image` have exactly the colour `rgb`.
int PixelsOf(const QImage& image, QRgb rgb)
{
    int count = 0;
    const QImage plain = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x)
            count += (plain.pixel(x, y) & 0xffffff) == (rgb & 0xffffff);
    }
    return count;
}

}  // namespace

class SkyMixWindowTest : public QObject {
    Q_OBJECT

private:
    testing::WindowFixture<MainWindow> fixture_;

    QAction* Action(const QString& name) const { return fixture_.Find<QAction>(name); }
    QAction* MixEntry(const char* key) const
    {
        return Action(QStringLiteral("menu25(%1)").arg(QLatin1String(key)));
    }
    QScrollBar* Bar(const char* name, int i) const
    {
        return fixture_.Find<QScrollBar>(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i));
    }
    widgets::ChartView* CanopyView() const
    {
        return fixture_.Find<widgets::ChartView>(QStringLiteral("pctSailh"));
    }
    // A canopy with a visible hot spot: LAI 3, sun 40, view 40 at azimuth 0, hot spot 0.2.
    void SetHotSpotCanopy() const
    {
        Bar("hsbSailh", 0)->setValue(300);  // the bars count hundredths
        Bar("hsbSailh", 1)->setValue(4000);
        Bar("hsbSailh", 2)->setValue(4000);
        Bar("hsbSailh", 4)->setValue(20);
    }
    QTableWidget* FluxTable() const
    {
        return fixture_.Find<QTableWidget>(QStringLiteral("fluxTable"));
    }

private slots:
    void initTestCase()
    {
        testing::UseScratchSettings();
        QApplication::setApplicationName(QStringLiteral("tulmera-sky-mix-test"));
    }
    void init()
    {
        QSettings().clear();
        fixture_.Open();
    }
    void cleanup() { fixture_.Close(); }

    // Classic at first; each entry recomputes with its mix, the checks, the chart's note and
    // the remembered value follow, and a new window starts with the last choice.
    void switchesTheCanopyRunAndIsRemembered()
    {
        QVERIFY(MixEntry("classic")->isChecked());
        QCOMPARE(fixture_.window()->canopyInputs().skyMix, canopy::SkyMix::Classic);
        QVERIFY(CanopyView()->note().isEmpty());
        SetHotSpotCanopy();
        const spectral::Spectrum classic = fixture_.window()->canopyState().canopyReflPct;

        MixEntry("physical")->trigger();
        QCOMPARE(fixture_.window()->canopyInputs().skyMix, canopy::SkyMix::Physical);
        QVERIFY(MixEntry("physical")->isChecked() && !MixEntry("classic")->isChecked());
        QCOMPARE(CanopyView()->note(), QStringLiteral("Mezcla de cielo física"));
        QCOMPARE(QSettings().value(QLatin1String(widgets::kSkyMixKey)).toString(),
                 QStringLiteral("physical"));
        const spectral::Spectrum physical = fixture_.window()->canopyState().canopyReflPct;
        // At 670 nm the hot spot is the direct light's: far brighter once the sky weighs less.
        QVERIFY2(physical[54] > 1.5 * classic[54],
                 qPrintable(QStringLiteral("%1 vs %2").arg(physical[54]).arg(classic[54])));
        // The run is the exact path's with that mix.
        const canopy::CanopyState& state = fixture_.window()->canopyState();
        QCOMPARE(canopy::ComputeCanopySpectrum(fixture_.window()->canopyInputs(), state.leafReflPct,
                                               state.leafTransPct, state)
                     .canopyReflPct,
                 physical);

        fixture_.Reopen();
        QVERIFY(MixEntry("physical")->isChecked());
        QCOMPARE(fixture_.window()->canopyInputs().skyMix, canopy::SkyMix::Physical);
        QCOMPARE(CanopyView()->note(), QStringLiteral("Mezcla de cielo física"));
        MixEntry("classic")->trigger();
        QVERIFY(CanopyView()->note().isEmpty());
        QCOMPARE(QSettings().value(QLatin1String(widgets::kSkyMixKey)).toString(),
                 QStringLiteral("classic"));
    }

    // A remembered value that is neither name starts classic, as a first start does.
    void anUnknownRememberedMixStartsClassic()
    {
        QSettings().setValue(QLatin1String(widgets::kSkyMixKey), QStringLiteral("cloudy"));
        fixture_.Reopen();
        QVERIFY(MixEntry("classic")->isChecked());
        QCOMPARE(fixture_.window()->canopyInputs().skyMix, canopy::SkyMix::Classic);
    }

    // The saved canopy figure carries the note only with the physical mix, in both formats.
    void savedFiguresNameThePhysicalMix_data()
    {
        QTest::addColumn<QString>("mix");
        QTest::addColumn<bool>("svg");
        QTest::addColumn<bool>("noted");
        QTest::newRow("classic svg") << "classic" << true << false;
        QTest::newRow("physical svg") << "physical" << true << true;
        QTest::newRow("classic png") << "classic" << false << false;
        QTest::newRow("physical png") << "physical" << false << true;
    }
    void savedFiguresNameThePhysicalMix()
    {
        QFETCH(QString, mix);
        QFETCH(bool, svg);
        QFETCH(bool, noted);
        MixEntry(qPrintable(mix))->trigger();
        widgets::ChartImageFormat format;
        format.figure = true;
        format.svg = svg;
        const std::filesystem::path base = fixture_.dir().path() / (svg ? "f.svg" : "f.png");
        QVERIFY(fixture_.window()->SaveChartImages(QString::fromStdString(base.string()), format));
        const std::filesystem::path canopy =
            fixture_.dir().path() / (svg ? "f-cubierta.svg" : "f-cubierta.png");
        const std::filesystem::path leaf =
            fixture_.dir().path() / (svg ? "f-hoja.svg" : "f-hoja.png");
        if (svg) {
            const std::string note = "Mezcla de cielo física";
            QCOMPARE(FileText(canopy).find(note) != std::string::npos, noted);
            QVERIFY(FileText(leaf).find(note) == std::string::npos);  // the leaf knows no sky
        } else {
            // The note takes a row above the plot area: the picture grows by it.
            static int classicHeight = 0;
            const QImage image(QString::fromStdString(canopy.string()));
            QVERIFY(!image.isNull());
            if (!noted) classicHeight = image.height();
            if (noted) QVERIFY(image.height() > classicHeight && classicHeight > 0);
        }
    }

    // The saved spectra name the physical mix in their settings; the classic file stays as it
    // always was.
    void savedSpectraNameThePhysicalMix()
    {
        const std::filesystem::path file = fixture_.dir().path() / "s.csv";
        for (const char* mix : {"classic", "physical"}) {
            MixEntry(mix)->trigger();
            QVERIFY(fixture_.window()->SaveSpectraCsv(QString::fromStdString(file.string())));
            const bool named = FileText(file).find("# sky_mix = physical\n") != std::string::npos;
            QCOMPARE(named, std::string_view(mix) == "physical");
            QVERIFY(FileText(file).find("sky_mix") == std::string::npos || named);
        }
    }

    // The dock's fluxes are canopy::ComputeCanopyFluxes of the run with the window's mix, to
    // the shown digits, for both mixes.
    void dockShowsTheCanopyFluxes_data()
    {
        QTest::addColumn<QString>("mix");
        QTest::newRow("classic") << "classic";
        QTest::newRow("physical") << "physical";
    }
    void dockShowsTheCanopyFluxes()
    {
        QFETCH(QString, mix);
        Action(QStringLiteral("viewSensorDock"))->trigger();
        MixEntry(qPrintable(mix))->trigger();
        SetHotSpotCanopy();
        const canopy::CanopyFluxes expected = canopy::ComputeCanopyFluxes(
            fixture_.window()->canopyState(), fixture_.window()->canopyInputs().skyMix);
        const std::array<double, 5> values = {expected.fAPAR, expected.fCover, expected.albedoPar,
                                              expected.albedoNir, expected.albedoShortwave};
        QCOMPARE(FluxTable()->rowCount(), 5);
        for (int row = 0; row < 5; ++row) {
            QCOMPARE(FluxTable()->item(row, 1)->text(),
                     QString::fromStdString(
                         textio::FixedText(values[static_cast<std::size_t>(row)], 4)));
        }
        QVERIFY(expected.fAPAR > 0.5 && expected.fAPAR < 1.0);  // LAI 3 absorbs most PAR
    }

    // Fluxes that cannot be computed show "—" and say why; the band values are shown all the
    // same and nothing leaves the dock.
    void dockShowsADashWhenTheFluxesFail()
    {
        QMainWindow host;
        auto* dock = new SensorDock(&host, host.statusBar());
        dock->show();
        canopy::CanopyState state = fixture_.window()->canopyState();
        // A fault no run would let through, at 405 nm: in no band of Sentinel-2 MSI.
        state.leafReflPct[1] = std::nan("");
        dock->Show(state, 9, canopy::SkyMix::Physical);
        const auto* fluxes = dock->findChild<QTableWidget*>(QStringLiteral("fluxTable"));
        for (int row = 0; row < fluxes->rowCount(); ++row) {
            QCOMPARE(fluxes->item(row, 1)->text(), QStringLiteral("—"));
        }
        QVERIFY(host.statusBar()->currentMessage().contains(QStringLiteral("flujos")));
        const auto* bands = dock->findChild<QTableWidget*>(QStringLiteral("bandTable"));
        QVERIFY(bands->item(0, 4)->text() != QStringLiteral("—"));

        // A good canopy afterwards shows numbers again.
        dock->Show(fixture_.window()->canopyState(), 9, canopy::SkyMix::Physical);
        QVERIFY(fluxes->item(0, 1)->text() != QStringLiteral("—"));
    }

    // The hemispherical view follows a bar of the main window: its value at a direction
    // changes and is the exact path's canopy reflectance for that direction, with the mix.
    void hemisphericalViewFollowsTheMainWindow()
    {
        MixEntry("physical")->trigger();
        SetHotSpotCanopy();
        Action(QStringLiteral("mnuVistaHemisferica"))->trigger();
        auto* view =
            fixture_.window()->findChild<HemisphereWindow*>(QStringLiteral("frmHemisferio"));
        QVERIFY(view != nullptr && view->isVisible());
        const int index = (670 - 400) / 5;
        struct Direction {
            int zenith, azimuth;  // grid positions: 5° steps
        };
        const std::array<Direction, 4> directions = {{{0, 0}, {8, 0}, {8, 36}, {16, 13}}};
        const auto check = [&](const char* when) {
            const plot::HemisphereValues& values = view->values();
            QVERIFY2(!values.values.empty(), qPrintable(view->statusBar()->currentMessage()
                                                        + view->statusBar()->toolTip()));
            QCOMPARE(values.ZenithCount(), 17);
            QCOMPARE(values.AzimuthCount(), 72);
            for (const Direction& d : directions) {
                const std::optional<double>& shown = values.At(d.zenith, d.azimuth);
                QVERIFY2(shown.has_value(), when);
                const double exact =
                    ExactReflectance(*fixture_.window(), d.zenith * 5.0, d.azimuth * 5.0, index);
                QVERIFY2(std::abs(*shown - exact) <= 1e-12 * std::abs(exact),
                         qPrintable(QStringLiteral("%1 at %2/%3: %4 vs %5")
                                        .arg(QLatin1String(when))
                                        .arg(d.zenith * 5)
                                        .arg(d.azimuth * 5)
                                        .arg(*shown, 0, 'g', 17)
                                        .arg(exact, 0, 'g', 17)));
            }
        };
        check("at first");
        // The hot spot (view = sun at azimuth 0) outshines the backward direction.
        QVERIFY2(*view->values().At(8, 0) > 1.5 * *view->values().At(8, 36),
                 qPrintable(QStringLiteral("%1 vs %2")
                                .arg(*view->values().At(8, 0))
                                .arg(*view->values().At(8, 36))));
        const double before = *view->values().At(8, 0);
        Bar("hsbSailh", 0)->setValue(100);  // LAI 1
        QVERIFY(*view->values().At(8, 0) != before);
        check("after the LAI bar");
        Bar("hsbProspect", 1)->setValue(Bar("hsbProspect", 1)->value() / 2);  // less chlorophyll
        check("after the Cab bar");

        // An index and a band value over the hemisphere: the exact path's spectrum of each
        // direction, through the canopy sweep's quantities.
        auto* chooser = view->findChild<QComboBox*>(QStringLiteral("cmbMagnitudHemisferio"));
        for (const char* name : {"NDVI", "Landsat-TM band 3"}) {
            chooser->setCurrentIndex(chooser->findData(QLatin1String(name)));
            QVERIFY(chooser->currentText().startsWith(QLatin1String(name)));
            const multi::SweepQuantity quantity = *multi::ParseSweepQuantity(name);
            for (const Direction& d : directions) {
                canopy::CanopyInputs inputs = fixture_.window()->canopyInputs();
                inputs.viewAngle = d.zenith * 5.0;
                inputs.relAzimuth = d.azimuth * 5.0;
                const canopy::CanopyState& state = fixture_.window()->canopyState();
                const double exact = *multi::QuantityValue(
                    quantity, canopy::ComputeCanopySpectrum(inputs, state.leafReflPct,
                                                            state.leafTransPct, state)
                                  .canopyReflPct);
                const std::optional<double>& shown = view->values().At(d.zenith, d.azimuth);
                QVERIFY2(shown && std::abs(*shown - exact) <= 1e-10 * std::abs(exact), name);
            }
        }
        chooser->setCurrentIndex(0);

        // Another wavelength, and the files.
        view->findChild<QSpinBox*>(QStringLiteral("spnLongitudOnda"))->setValue(800);
        QVERIFY(*view->values().At(8, 0) > 0.2);  // the near infrared
        const std::filesystem::path csv = fixture_.dir().path() / "h.csv";
        QVERIFY(view->SaveValues(QString::fromStdString(csv.string())));
        const std::string text = FileText(csv);
        QVERIFY(text.starts_with("view_zenith,azimuth,value\n0,0,"));
        QCOMPARE(std::count(text.begin(), text.end(), '\n'), 1 + 17 * 72);
        QVERIFY(view->SaveFigure(QString::fromStdString((fixture_.dir().path() / "h.svg").string()),
                                 true));
        QVERIFY(FileText(fixture_.dir().path() / "h.svg").find("Mezcla de cielo física")
                != std::string::npos);
        QVERIFY(view->SaveFigure(QString::fromStdString((fixture_.dir().path() / "h.png").string()),
                                 false));
        QCOMPARE(QImage(QString::fromStdString((fixture_.dir().path() / "h.png").string())).width(),
                 1600);
    }

    // "Ver › Modo presentación" here too, sharing the main window's choice: a thicker cut and
    // larger texts on screen and in the saved figure; switched off, the usual figure pixel for
    // pixel.
    void hemisphericalViewTakesPresentationMode()
    {
        Action(QStringLiteral("mnuVistaHemisferica"))->trigger();
        auto* view =
            fixture_.window()->findChild<HemisphereWindow*>(QStringLiteral("frmHemisferio"));
        QVERIFY(view != nullptr && view->isVisible());
        const QImage usual = view->figureImage();
        const auto png = [&](const char* name) {
            const QString file = QString::fromStdString((fixture_.dir().path() / name).string());
            return view->SaveFigure(file, false) ? QImage(file) : QImage();
        };
        const QImage usualSaved = png("usual.png");
        const QRgb curve = qRgb(20, 60, 160);  // the cut's pen
        auto* mode = view->findChild<QAction*>(QStringLiteral("mnuModoPresentacion"));
        QVERIFY(mode != nullptr && !mode->isChecked());
        QCOMPARE(mode->shortcut(), Action(QStringLiteral("mnuModoPresentacion"))->shortcut());

        mode->trigger();
        QVERIFY(QSettings().value(QStringLiteral("view/presentationMode")).toBool());
        QVERIFY(view->figureImage() != usual);
        QVERIFY2(PixelsOf(view->figureImage(), curve) > 3 * PixelsOf(usual, curve) / 2,
                 qPrintable(QStringLiteral("%1 vs %2")
                                .arg(PixelsOf(view->figureImage(), curve))
                                .arg(PixelsOf(usual, curve))));
        const QImage saved = png("presenting.png");
        QCOMPARE(saved.width(), usualSaved.width());
        QVERIFY(PixelsOf(saved, curve) > 3 * PixelsOf(usualSaved, curve) / 2);
        QVERIFY(PixelsOf(saved, qRgb(0, 0, 0))
                > PixelsOf(usualSaved, qRgb(0, 0, 0)));  // texts, axes
        mode->trigger();
        QCOMPARE(view->figureImage(), usual);
        QCOMPARE(png("again.png"), usualSaved);

        // Switched on in the main window, the view takes it when it shows again.
        view->hide();
        Action(QStringLiteral("mnuModoPresentacion"))->trigger();
        view->show();
        QVERIFY(mode->isChecked());
        QVERIFY(view->figureImage() != usual);
    }
};

}  // namespace tulmera::app

QTEST_MAIN(tulmera::app::SkyMixWindowTest)
#include "sky_mix_window_test.moc"
