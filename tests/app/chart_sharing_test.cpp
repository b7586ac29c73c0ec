// Reading and sharing the main window's charts, driven offscreen: the spectra file, the values
// under the pointer, charts that follow a dragged thumb, and the chart images.
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/widgets/chart_panel.h"
#include "app/widgets/chart_readout.h"
#include "app/widgets/settings_keys.h"
#include "app/windows/main_window.h"
#include "app/windows/measured_panel.h"
#include "plot/chart_geometry.h"
#include "plot/chart_readout.h"
#include "plot/raster_surface.h"
#include "refresh/refresh.h"
#include "support/file_replacements.h"
#include "support/find_child.h"
#include "support/scratch_settings.h"
#include "support/window_fixtures.h"
#include "support/work_dir.h"
#include "textio/number_text.h"
#include "textio/text_file.h"

namespace tulmera::app {

namespace fs = std::filesystem;

class ChartSharingTest : public QObject {
    Q_OBJECT

private:
    testing::WindowFixture<MainWindow> fixture_;

    static std::string Text(const fs::path& file) { return textio::ReadTextFile(file.string()); }
    static void Write(const fs::path& file, const std::string& text)
    {
        std::ofstream(file, std::ios::binary) << text;
    }

private slots:
    // Settings of their own: the es_ES variant may run at the same time.
    void initTestCase() { testing::UseScratchSettings(); }

    void init()
    {
        fixture_.Open();
        fixture_.window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(fixture_.window()));
    }

    void cleanup() { fixture_.Close(); }

    // The saved numbers are the charts' own, whatever the locale the window adopted (the
    // es_ES variant of this test writes "0,05" with the C library).
    void savedSpectraReadBackAsTheShownValues()
    {
        fixture_.Find<QScrollBar>("hsbProspect(1)")->setValue(4000);  // Cab 40
        fixture_.Find<QScrollBar>("hsbSailh(0)")->setValue(350);      // LAI 3.5
        const fs::path file = fixture_.dir().path() / "espectros.csv";
        QVERIFY(fixture_.window()->SaveSpectraCsv(QString::fromStdString(file.string())));
        QVERIFY2(fixture_.Status().startsWith(QStringLiteral("Espectros guardados")),
                 qPrintable(fixture_.Status()));

        const canopy::CanopyState& state = fixture_.window()->canopyState();
        QCOMPARE(state.lai, 3.5);
        std::istringstream in(Text(file));
        std::string line;
        std::size_t row = 0;
        bool sawParameters = false;
        while (std::getline(in, line)) {
            if (line.starts_with('#')) {
                sawParameters = sawParameters || line == "# Cab_ug_per_cm2 = 40";
                continue;
            }
            if (line.starts_with("wavelength_nm")) continue;
            QVERIFY2(row < spectral::kWavelengthCount, line.c_str());
            std::vector<double> fields;
            std::istringstream cells(line);
            std::string cell;
            while (std::getline(cells, cell, ',')) {
                const auto value = textio::ParseNumberText(cell);
                QVERIFY2(value.has_value(), line.c_str());
                fields.push_back(*value);
            }
            QCOMPARE(fields.size(), std::size_t{5});
            QCOMPARE(fields[0], static_cast<double>(spectral::WavelengthNm(static_cast<int>(row))));
            QCOMPARE(fields[1], state.leafReflPct[row] / 100.0);
            QCOMPARE(fields[2], state.leafTransPct[row] / 100.0);
            QCOMPARE(fields[3], state.canopyReflPct[row] / 100.0);
            QCOMPARE(fields[4], state.soilRefl[row] / 100.0);
            ++row;
        }
        QCOMPARE(row, std::size_t{spectral::kWavelengthCount});
        QVERIFY(sawParameters);
    }

    // The save dialog suggests a name that replaces nothing, in the folder used last, and
    // remembers the folder of the file saved; the next start goes there again.
    void theSaveDialogSuggestsANameInTheFolderUsedLast()
    {
        const fs::path folder = fixture_.dir().path() / "lecciones";
        fs::create_directory(folder);
        const QString folderName = QString::fromStdString(folder.string());
        QSettings().setValue(widgets::FolderKey(QLatin1String(widgets::kSpectraFolder)),
                             folderName);
        Write(folder / "tulmera-espectros.csv", "taken");
        fixture_.Find<QAction>("mnuGuardarEspectros")->trigger();
        auto* dialog =
            fixture_.window()->findChild<QFileDialog*>(QStringLiteral("dlgGuardarArchivo"));
        QVERIFY(dialog != nullptr);
        QCOMPARE(QDir(dialog->directory()).absolutePath(), QDir(folderName).absolutePath());
        QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).fileName(),
                 QStringLiteral("tulmera-espectros-2.csv"));
        const fs::path other = fixture_.dir().path() / "otra";
        fs::create_directory(other);
        dialog->selectFile(QString::fromStdString((other / "mis-espectros.csv").string()));
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);  // as Save does
        QVERIFY(fs::exists(other / "mis-espectros.csv"));
        QCOMPARE(QDir(QSettings()
                          .value(widgets::FolderKey(QLatin1String(widgets::kSpectraFolder)))
                          .toString())
                     .absolutePath(),
                 QDir(QString::fromStdString(other.string())).absolutePath());
    }

    // A save that fails says so in Spanish and leaves the file that was there.
    void aFailedSaveKeepsThePreviousFile_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("folder that cannot be written") << "folder";
        QTest::newRow("full disk") << "disk";
    }
    void aFailedSaveKeepsThePreviousFile()
    {
        QFETCH(QString, how);
        fs::path file = fixture_.dir().path() / "previo.csv";
        std::unique_ptr<testing::ScopedFileSizeLimit> limit;
        if (how == "folder") {
            const fs::path folder = fixture_.dir().path() / "cerrada";
            fs::create_directory(folder);
            file = folder / "previo.csv";
            Write(file, "previous\n");
            if (::geteuid() == 0) {
                // root writes into any folder: a name under a plain file fails the same way
                file = fixture_.dir().path() / "previo.csv" / "x.csv";
                Write(fixture_.dir().path() / "previo.csv", "previous\n");
            } else {
                fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
            }
        } else {
            Write(file, "previous\n");
            limit = std::make_unique<testing::ScopedFileSizeLimit>(4096);
        }
        QVERIFY(!fixture_.window()->SaveSpectraCsv(QString::fromStdString(file.string())));
        limit.reset();
        QVERIFY2(fixture_.Status().startsWith(QStringLiteral("No se pudo guardar")),
                 qPrintable(fixture_.Status()));
        if (how == "folder" && ::geteuid() == 0) file = fixture_.dir().path() / "previo.csv";
        QCOMPARE(Text(file), std::string("previous\n"));
        if (how == "folder" && ::geteuid() != 0) {
            fs::permissions(fixture_.dir().path() / "cerrada", fs::perms::owner_all);
        }
    }

    // The pointer over a known pixel reads out that sample's wavelength and the curves' values
    // there; the arrow keys move the cursor; where a curve has no data nothing is read out.
    void readoutAtAKnownPixel()
    {
        auto* leafView = fixture_.Find<widgets::ChartView>("pctProspect");
        auto* readout = leafView->findChild<widgets::ChartReadout*>();
        QVERIFY(readout != nullptr);
        const plot::ChartScale shown = leafView->DisplayedScale();
        const double X = plot::PixelXOf(shown, 80);  // 800 nm
        QMouseEvent move(
            QEvent::MouseMove, QPointF(X + leafView->frameWidth(), 20 + leafView->frameWidth()),
            leafView->mapToGlobal(QPointF(X, 20)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(leafView, &move);
        QCOMPARE(readout->index(), std::optional<int>(80));
        const canopy::CanopyState& state = fixture_.window()->canopyState();
        const auto percent = [](double value) {
            return QString::fromStdString(textio::NumberText(value, 4)) + QStringLiteral(" %");
        };
        QVERIFY2(readout->text().startsWith(QStringLiteral("800 nm")), qPrintable(readout->text()));
        QVERIFY(readout->text().contains(percent(state.leafReflPct[80])));
        QVERIFY(readout->text().contains(percent(state.leafTransPct[80])));
        QVERIFY(leafView->cursorX().has_value());

        leafView->setFocus();
        QTest::keyClick(leafView, Qt::Key_Right);
        QCOMPARE(readout->index(), std::optional<int>(81));
        QVERIFY(readout->text().startsWith(QStringLiteral("805 nm")));
        QTest::keyClick(leafView, Qt::Key_End);
        QCOMPARE(readout->index(), std::optional<int>(420));

        auto* canopyView = fixture_.Find<widgets::ChartView>("pctSailh");
        auto* canopyReadout = canopyView->findChild<widgets::ChartReadout*>();
        canopyReadout->ShowAtPixel(canopyView->DisplayedScale().widthPx - 1, 10);  // 2500 nm
        QVERIFY(!canopyReadout->index().has_value());
        QVERIFY(canopyReadout->text().isEmpty());
        QVERIFY(!canopyView->cursorX().has_value());
        canopyReadout->ShowSample(419);
        QVERIFY(canopyReadout->text().contains(percent(state.canopyReflPct[419])));
        QVERIFY(canopyReadout->text().contains(percent(state.soilRefl[419])));
    }

    // Off (the default) a dragged thumb changes nothing until released; on, moves refresh,
    // coalesced so that the last position wins, and the charts show it.
    void chartsFollowADraggedThumb()
    {
        auto* follow = fixture_.Find<QAction>("mnuActualizarAlArrastrar");
        QVERIFY(!follow->isChecked());
        testing::FileReplacements replacements;  // each recomputation publishes "VP.dat"
        const auto refreshes = [&] { return replacements.Count("VP.dat"); };
        auto* bar = fixture_.Find<QScrollBar>("hsbProspect(1)");  // Cab, hundredths
        bar->setSliderDown(true);
        bar->setSliderPosition(3000);
        QCoreApplication::processEvents();
        QCOMPARE(refreshes(), 0);
        bar->setSliderDown(false);  // release: the usual refresh
        QCOMPARE(refreshes(), 1);

        follow->trigger();
        QVERIFY(QSettings().value(QLatin1String(widgets::kFollowThumbKey)).toBool());
        const QImage before = fixture_.Find<widgets::ChartView>("pctProspect")->image();
        bar->setSliderDown(true);
        for (const int position : {3500, 5000, 7250}) bar->setSliderPosition(position);
        QCoreApplication::processEvents();
        QCOMPARE(refreshes(), 2);  // three moves, one refresh: the latest
        QCOMPARE(fixture_.window()->leafParameters().Cab, 72.5);
        QVERIFY(fixture_.Find<widgets::ChartView>("pctProspect")->image() != before);
        bar->setSliderPosition(7300);
        QCoreApplication::processEvents();
        QCOMPARE(refreshes(), 3);
        bar->setSliderDown(false);  // the release sets the value already shown
        QCoreApplication::processEvents();
        QCOMPARE(refreshes(), 3);
        QCOMPARE(fixture_.window()->leafParameters().Cab, 73.0);
        follow->trigger();  // back to the default for the other tests
    }

    // "Guardar gráficos…" at 3×: both charts, redrawn at three image pixels per chart pixel,
    // showing what the window shows (the same picture as the 1× chart, scaled).
    void chartImagesAtAScale()
    {
        fixture_.Find<QScrollBar>("hsbSailh(0)")->setValue(350);
        const fs::path file = fixture_.dir().path() / "graficos.png";
        QVERIFY(fixture_.window()->SaveChartImages(QString::fromStdString(file.string()), {3}));
        QVERIFY2(fixture_.Status().startsWith(QStringLiteral("Gráficos guardados")),
                 qPrintable(fixture_.Status()));
        const QImage leaf(
            QString::fromStdString((fixture_.dir().path() / "graficos-hoja.png").string()));
        const QImage canopy(
            QString::fromStdString((fixture_.dir().path() / "graficos-cubierta.png").string()));
        QCOMPARE(leaf.size(), QSize(317 * 3, 165 * 3));
        QCOMPARE(canopy.size(), QSize(317 * 3, 165 * 3));
        QVERIFY(!fs::exists(fixture_.dir().path() / "graficos.png"));
        plot::RasterSurface expected(plot::kCanopyChartScale, 3);
        plot::RasterSurface leafChart(plot::kLeafChartScale, 3);
        canopy::CanopyState state;
        canopy::CanopyInputs inputs = canopy::StartCanopyInputs();
        inputs.lai = 3.5;
        refresh::Recompute(leaf::kStartLeafParameters, inputs, state, {leafChart, expected}, {});
        QVERIFY(canopy.convertToFormat(QImage::Format_RGB32) == expected.image());
    }

    // "SVG…": both charts as vector pictures of the charts' size, named as the PNG files.
    void chartPicturesAsSvg()
    {
        fixture_.Find<QAction>("mnuGuardarGraficosSvg");
        const fs::path file = fixture_.dir().path() / "graficos.svg";
        QVERIFY(
            fixture_.window()->SaveChartImages(QString::fromStdString(file.string()), {1, true}));
        for (const char* name : {"graficos-hoja.svg", "graficos-cubierta.svg"}) {
            const std::string svg = Text(fixture_.dir().path() / name);
            QVERIFY2(svg.find("<svg width=\"317\" height=\"165\"") != std::string::npos, name);
            QVERIFY2(svg.find("<path") != std::string::npos, name);
        }
        QVERIFY(!fs::exists(file));
    }

    // A saved chart shows what the window shows: a loaded measured spectrum too, not only the
    // model curves.
    void savedChartsShowTheMeasuredSpectrum()
    {
        std::ofstream("medido.csv", std::ios::binary) << "nm,hoja\n500,0.3\n600,0.35\n700,0.5\n";
        auto* panel = fixture_.window()->findChild<MeasuredPanel*>(QStringLiteral("dckMedido"));
        QVERIFY(panel->LoadFile(QStringLiteral("medido.csv"), 0, MeasuredKind::LeafReflectance));
        const fs::path file = fixture_.dir().path() / "graficos.png";
        QVERIFY(fixture_.window()->SaveChartImages(QString::fromStdString(file.string()), {1}));
        const QImage leaf(
            QString::fromStdString((fixture_.dir().path() / "graficos-hoja.png").string()));
        QImage shown = fixture_.Find<widgets::ChartView>("pctProspect")->image();
        shown.setDevicePixelRatio(1.0);
        QVERIFY(leaf.convertToFormat(QImage::Format_RGB32) == shown);
    }

    // "Figura PNG…" and "Figura SVG…": complete figures in the window's language, the PNG as
    // wide as chosen with numbers in its margins, the SVG with its texts and the legend of the
    // measured curve as well.
    void figuresInTheWindowsLanguage()
    {
        QVERIFY(fixture_.Find<QAction>("mnuGuardarGraficosFiguraPng(1600)") != nullptr);
        QVERIFY(fixture_.Find<QAction>("mnuGuardarGraficosFiguraSvg") != nullptr);
        std::ofstream("medido.csv", std::ios::binary) << "nm,dosel\n500,0.1\n600,0.12\n";
        auto* panel = fixture_.window()->findChild<MeasuredPanel*>(QStringLiteral("dckMedido"));
        QVERIFY(panel->LoadFile(QStringLiteral("medido.csv"), 0, MeasuredKind::CanopyReflectance));
        widgets::ChartImageFormat png;
        png.figure = true;
        QVERIFY(fixture_.window()->SaveChartImages(
            QString::fromStdString((fixture_.dir().path() / "figura.png").string()), png));
        const QImage leaf(
            QString::fromStdString((fixture_.dir().path() / "figura-hoja.png").string()));
        QCOMPARE(leaf.width(), 1600);
        QVERIFY(leaf.height() > 2 * 165);
        int ink = 0;  // the numbers left of the plot area
        for (int y = 0; y < leaf.height(); ++y) {
            for (int x = 0; x < 60; ++x) ink += leaf.pixel(x, y) != qRgb(255, 255, 255);
        }
        QVERIFY(ink > 100);

        widgets::ChartImageFormat svg = png;
        svg.svg = true;
        QVERIFY(fixture_.window()->SaveChartImages(
            QString::fromStdString((fixture_.dir().path() / "figura.svg").string()), svg));
        const std::string canopy = Text(fixture_.dir().path() / "figura-cubierta.svg");
        for (const char* text :
             {">Longitud de onda (nm)<", ">Reflectividad<", ">0.7<", ">Reflectividad del suelo<",
              ">Reflectividad medida de la cubierta<"}) {
            QVERIFY2(canopy.find(text) != std::string::npos, text);
        }
        QVERIFY(Text(fixture_.dir().path() / "figura-hoja.svg").find(">Transmisividad<")
                != std::string::npos);
    }
};

}  // namespace tulmera::app

QTEST_MAIN(tulmera::app::ChartSharingTest)
#include "chart_sharing_test.moc"
