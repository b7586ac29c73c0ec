// Sharing from the sweep windows and what the windows remember, driven offscreen: the charts
// as PNG and SVG files, the spectra in long form, the background and the windows' places.
#include <QAction>
#include <QImage>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QXmlStreamReader>
#include <filesystem>
#include <memory>

#include "app/widgets/chart_panel.h"
#include "app/widgets/chart_readout.h"
#include "app/windows/canopy_sweep_window.h"
#include "app/windows/leaf_sweep_window.h"
#include "app/windows/main_window.h"
#include "export/spectra_csv.h"
#include "plot/chart_readout.h"
#include "support/find_child.h"
#include "support/scratch_settings.h"
#include "support/work_dir.h"
#include "textio/number_text.h"
#include "textio/text_file.h"

namespace tulmera::app {

namespace fs = std::filesystem;

namespace {

// The <path> elements of an SVG file; an XML error or a size other than `size` fails.
int SvgPaths(const fs::path& file, QSize size)
{
    QXmlStreamReader xml(QByteArray::fromStdString(textio::ReadTextFile(file.string())));
    int paths = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"svg") {
            const QSize declared(xml.attributes().value("width").toInt(),
                                 xml.attributes().value("height").toInt());
            if (declared != size) return -1;
        }
        paths += xml.name() == u"path";
    }
    return xml.hasError() ? -1 : paths;
}

QString Text(const fs::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

class SweepSharingTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::ScopedWorkDir> dir_;

    template <typename T>
    static T* Find(const QWidget* window, const QString& name)
    {
        return testing::FindChild<T>(window, name);
    }
    static QString Status(QMainWindow* window) { return window->statusBar()->currentMessage(); }

private slots:
    void initTestCase() { testing::UseScratchSettings(); }

    void init()
    {
        QSettings().clear();
        dir_ = std::make_unique<testing::ScopedWorkDir>();
    }

    void cleanup() { dir_.reset(); }

    // Nothing is saved before a sweep; then the curves as SVG hold one path per swept value,
    // each after the dashed grid drawn again (one path), and the spectra file holds every
    // value's 421 rows.
    void leafSweepChartsAndSpectra()
    {
        LeafSweepWindow window;
        window.show();
        for (const char* name : {"mnuGuardarGraficosSvg", "mnuGuardarGraficosPng(4)",
                                 "mnuGuardarEspectros", "pctMProspect_copiar"}) {
            Find<QAction>(&window, QString::fromLatin1(name));
        }
        QVERIFY(!window.SaveChartImages(Text(dir_->path() / "g.svg"), {1, true}));
        QVERIFY(!window.SaveSpectraCsv(Text(dir_->path() / "s.csv")));
        QVERIFY(!fs::exists(dir_->path() / "s.csv"));
        QVERIFY(!fs::exists(dir_->path() / "g-curvas.svg"));

        Find<QPushButton>(&window, "btok")->click();
        QVERIFY(window.valueCount() > 1);
        QVERIFY2(window.SaveChartImages(Text(dir_->path() / "g.svg"), {1, true}),
                 qPrintable(Status(&window)));
        QCOMPARE(SvgPaths(dir_->path() / "g-curvas.svg", QSize(365, 245)), 2 * window.valueCount());
        QCOMPARE(SvgPaths(dir_->path() / "g-leyenda.svg", QSize(369, 17)), 0);

        QVERIFY(window.SaveSpectraCsv(Text(dir_->path() / "s.csv")));
        const std::string csv = textio::ReadTextFile((dir_->path() / "s.csv").string());
        QVERIFY(csv.find(exports::kSweepSpectraHeader) != std::string::npos);
        const auto rows = std::count(csv.begin(), csv.end(), '\n');
        QVERIFY(rows > window.valueCount() * 421);  // comment lines and the header above
    }

    // PNG at 2× of all three charts; a folder that does not exist saves nothing and says so.
    void canopySweepChartsAndSpectra()
    {
        CanopySweepWindow window(leaf::kStartLeafParameters, canopy::StartCanopyInputs());
        window.show();
        Find<QPushButton>(&window, "btok")->click();
        QVERIFY(window.result().has_value());
        const fs::path missing = dir_->path() / "no-such-folder" / "g.png";
        QVERIFY(!window.SaveChartImages(Text(missing), {2, false}));
        QVERIFY2(Status(&window).startsWith(QStringLiteral("No se pudieron guardar")),
                 qPrintable(Status(&window)));
        QVERIFY(!fs::exists(missing.parent_path()));

        QVERIFY(window.SaveChartImages(Text(dir_->path() / "g.png"), {2, false}));
        QCOMPARE(QImage(Text(dir_->path() / "g-curvas.png")).size(), QSize(730, 490));
        QCOMPARE(QImage(Text(dir_->path() / "g-leyenda.png")).size(), QSize(738, 34));
        QVERIFY(!QImage(Text(dir_->path() / "g-magnitud.png")).isNull());

        QVERIFY(window.SaveSpectraCsv(Text(dir_->path() / "s.csv")));
        const std::string csv = textio::ReadTextFile((dir_->path() / "s.csv").string());
        const std::size_t header = csv.find(exports::kCanopySweepSpectraHeader);
        QVERIFY(header != std::string::npos);
        // The first row: the first value at 400 nm, its reflectance as the sweep holds it.
        const std::size_t start = csv.find('\n', header) + 1;
        const std::string row = csv.substr(start, csv.find('\n', start) - start);
        const auto reflectance = textio::ParseNumberText(row.substr(row.rfind(',') + 1));
        QVERIFY(reflectance.has_value());
        QCOMPARE(*reflectance, window.result()->canopyReflPct[0][0] / 100.0);
    }

    // Over a sweep chart the readout names the curve nearest the pointer, its swept value and
    // its value at the sample: the top curve near the top, the bottom one near the bottom;
    // nothing before the first sweep.
    void sweepReadoutsNameTheNearestCurve()
    {
        CanopySweepWindow canopyWindow(leaf::kStartLeafParameters, canopy::StartCanopyInputs());
        LeafSweepWindow leafWindow;
        struct Case {
            QMainWindow* window;
            const char* chart;
            QString first, last;  // the labels of the lowest and highest curve at 800 nm
        };
        for (const Case& c : {Case{&canopyWindow, "pctMSailh", QStringLiteral("LAI = 0.5"),
                                   QStringLiteral("LAI = 8")},
                              Case{&leafWindow, "pctMProspect", QStringLiteral("N = 1"),
                                   QStringLiteral("N = 4")}}) {
            c.window->show();
            auto* view = Find<widgets::ChartView>(c.window, QString::fromLatin1(c.chart));
            auto* readout = view->findChild<widgets::ChartReadout*>();
            QVERIFY(readout != nullptr);
            const plot::ChartScale shown = view->DisplayedScale();
            readout->ShowAtPixel(plot::PixelXOf(shown, 80), 1);
            QVERIFY(readout->text().isEmpty());

            Find<QPushButton>(c.window, "btok")->click();
            readout->ShowAtPixel(plot::PixelXOf(shown, 80), 1);  // 800 nm, at the top
            QVERIFY2(readout->text().startsWith(QStringLiteral("800 nm   ") + c.last),
                     qPrintable(readout->text()));
            readout->ShowAtPixel(plot::PixelXOf(shown, 80), shown.heightPx - 1);
            QVERIFY2(readout->text().startsWith(QStringLiteral("800 nm   ") + c.first + u' '),
                     qPrintable(readout->text()));
        }
        const multi::CanopySweepResult& result = *canopyWindow.result();
        auto* view = Find<widgets::ChartView>(&canopyWindow, QStringLiteral("pctMSailh"));
        QVERIFY(view->findChild<widgets::ChartReadout*>()->text().endsWith(
            QString::fromStdString(textio::NumberText(result.canopyReflPct.front()[80], 4))
            + QStringLiteral(" %")));
    }

    // The background chosen last and the windows' sizes come back in the next session.
    void backgroundAndPlacesAreRemembered()
    {
        QSize mainSize, sweepSize;
        {
            MainWindow window;
            window.show();
            Find<QAction>(&window, "menu211(3)")->trigger();
            window.resize(window.size() + QSize(40, 30));
            mainSize = window.size();
            window.close();
            CanopySweepWindow sweep(leaf::kStartLeafParameters, canopy::StartCanopyInputs());
            sweep.show();
            sweep.resize(sweep.size() + QSize(50, 20));
            sweepSize = sweep.size();
            sweep.close();
        }
        MainWindow window;
        QVERIFY(Find<QAction>(&window, "menu211(3)")->isChecked());
        QVERIFY(!Find<QAction>(&window, "menu211(1)")->isChecked());
        QCOMPARE(window.size(), mainSize);
        CanopySweepWindow sweep(leaf::kStartLeafParameters, canopy::StartCanopyInputs());
        QCOMPARE(sweep.size(), sweepSize);
    }
};

}  // namespace tulmera::app

QTEST_MAIN(tulmera::app::SweepSharingTest)
#include "sweep_sharing_test.moc"
