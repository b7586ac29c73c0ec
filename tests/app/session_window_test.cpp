// Sessions saved and opened, spectra kept for comparison, and the sweep windows that follow
// the main window, driven offscreen through the whole program.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/tulmera_app.h"
#include "app/widgets/chart_panel.h"
#include "app/widgets/settings_keys.h"
#include "app/windows/measured_panel.h"
#include "export/spectra_csv.h"
#include "session/session.h"
#include "support/find_child.h"
#include "support/scratch_settings.h"
#include "support/window_fixtures.h"
#include "support/work_dir.h"
#include "textio/number_text.h"
#include "textio/text_file.h"
#include "textio/working_files.h"

namespace tulmera::app {

namespace fs = std::filesystem;
using testing::FileBytes;
using testing::FindChild;

class SessionWindowTest : public QObject {
    Q_OBJECT

private:
    testing::ProgramFixture program_;

    MainWindow* Main() const { return program_.app().mainWindow(); }
    template <typename T>
    T* InMain(const QString& name) const
    {
        return FindChild<T>(Main(), name);
    }
    static void Type(QWidget* window, const QString& box, const QString& text)
    {
        auto* edit = FindChild<QLineEdit>(window, box);
        edit->setText(text);
        emit edit->editingFinished();
    }
    static QString InDir(const char* name) { return QString::fromStdString(fs::absolute(name)); }

    // Every kind of control away from its start: leaf model and values, canopy values, lists,
    // visibility, chart menu, a measured spectrum, a kept set, the canopy sweep window.
    void ChangeEverything()
    {
        InMain<QAction>(QStringLiteral("menu24(prospect-d)"))->trigger();
        InMain<QScrollBar>(QStringLiteral("hsbProspect(0)"))->setValue(250);   // N 2.5
        InMain<QScrollBar>(QStringLiteral("hsbProspect(1)"))->setValue(4000);  // Cab 40
        Type(Main(), QStringLiteral("txtSailh(0)"), QStringLiteral("3.5"));
        Type(Main(), QStringLiteral("txtSailh(1)"), QStringLiteral("35"));
        Type(Main(), QStringLiteral("txtSailh(2)"), QStringLiteral("-20"));
        auto* architecture = InMain<QComboBox>(QStringLiteral("cmbSailh(0)"));
        architecture->setCurrentIndex(2);
        emit architecture->activated(2);
        auto* soil = InMain<QComboBox>(QStringLiteral("cmbSailh(1)"));
        soil->setCurrentIndex(3);
        emit soil->activated(3);
        InMain<QRadioButton>(QStringLiteral("tipocielo(1)"))->click();
        InMain<QAction>(QStringLiteral("menu211(4)"))->trigger();
        InMain<QAction>(QStringLiteral("menu25(physical)"))->trigger();
        std::ofstream("medido.csv", std::ios::binary) << "nm,a,b\n500,0.1,0.3\n600,0.12,0.35\n";
        auto* panel = Main()->findChild<MeasuredPanel*>(QStringLiteral("dckMedido"));
        QVERIFY(panel->LoadFile(InDir("medido.csv"), 1, MeasuredKind::LeafReflectance));
        Main()->KeepSpectra();
        InMain<QScrollBar>(QStringLiteral("hsbProspect(1)"))->setValue(6000);  // Cab 60
        InMain<QAction>(QStringLiteral("menu122"))->trigger();
        testing::DeliverDeferredDeletes();
        QVERIFY(program_.app().canopySweepWindow() != nullptr);
    }

private slots:
    void initTestCase() { testing::UseScratchSettings(); }
    void init()
    {
        program_.Start();
        program_.Enter();
    }
    void cleanup()
    {
        QSettings().remove(QLatin1String(widgets::kReopenSessionKey));
        program_.Stop();
    }

    // Saved, everything changed, opened: every control, the charts and the open windows are
    // as they were saved.
    void aSessionComesBackWhole()
    {
        ChangeEverything();
        const session::Session saved = Main()->CurrentSession();
        QCOMPARE(saved.leaf.model, leaf::LeafModel::ProspectD);
        QCOMPARE(saved.kept.size(), std::size_t{1});
        QVERIFY(saved.windows.canopySweep && saved.windows.measuredPanel);
        const QImage leafChart = InMain<widgets::ChartView>(QStringLiteral("pctProspect"))->image();
        const QImage canopyChart = InMain<widgets::ChartView>(QStringLiteral("pctSailh"))->image();
        const std::string canopyFile = FileBytes(kCanopySpectrumFile);
        QVERIFY(Main()->SaveSession(InDir("lesson.tulmera")));

        delete program_.app().canopySweepWindow();
        InMain<QAction>(QStringLiteral("menu22"))->trigger();  // the start values
        InMain<QAction>(QStringLiteral("menu24(classic)"))->trigger();
        InMain<QAction>(QStringLiteral("menu211(1)"))->trigger();
        InMain<QAction>(QStringLiteral("menu25(classic)"))->trigger();
        Main()->RemoveKeptSpectra(0);
        Main()->findChild<MeasuredPanel*>(QStringLiteral("dckMedido"))->RemoveSpectra();
        QVERIFY(Main()->CurrentSession() != saved);

        QVERIFY(Main()->OpenSession(InDir("lesson.tulmera")));
        testing::DeliverDeferredDeletes();
        QVERIFY(Main()->CurrentSession() == saved);
        QCOMPARE(InMain<QScrollBar>(QStringLiteral("hsbProspect(0)"))->value(), 250);
        QCOMPARE(InMain<QLineEdit>(QStringLiteral("txtProspect(1)"))->text(), QStringLiteral("60"));
        QCOMPARE(InMain<QLineEdit>(QStringLiteral("txtSailh(0)"))->text(), QStringLiteral("3.5"));
        QCOMPARE(InMain<QScrollBar>(QStringLiteral("hsbSailh(2)"))->value(), -2000);
        QCOMPARE(InMain<QComboBox>(QStringLiteral("cmbSailh(0)"))->currentIndex(), 2);
        QCOMPARE(InMain<QComboBox>(QStringLiteral("cmbSailh(1)"))->currentIndex(), 3);
        QVERIFY(InMain<QRadioButton>(QStringLiteral("tipocielo(1)"))->isChecked());
        QVERIFY(InMain<QAction>(QStringLiteral("menu211(4)"))->isChecked());
        QVERIFY(!InMain<QAction>(QStringLiteral("menu211(1)"))->isChecked());
        QVERIFY(InMain<QAction>(QStringLiteral("menu24(prospect-d)"))->isChecked());
        QVERIFY(InMain<QAction>(QStringLiteral("menu25(physical)"))->isChecked());
        QVERIFY(InMain<QAction>(QStringLiteral("mnuQuitarFijado(0)")) != nullptr);
        QVERIFY(program_.app().canopySweepWindow() != nullptr);
        QVERIFY(InMain<widgets::ChartView>(QStringLiteral("pctProspect"))->image() == leafChart);
        QVERIFY(InMain<widgets::ChartView>(QStringLiteral("pctSailh"))->image() == canopyChart);
        QCOMPARE(FileBytes(kCanopySpectrumFile), canopyFile);
    }

    // A damaged file, another program's JSON or a newer version: a message names the reason
    // and nothing changes, neither the controls nor the charts nor the working files.
    void aDamagedOrNewerSessionChangesNothing()
    {
        InMain<QScrollBar>(QStringLiteral("hsbProspect(1)"))->setValue(4000);
        std::string good = session::SessionText(Main()->CurrentSession());
        std::string newer = good;
        newer.replace(newer.find("\"version\": 1"), 12, "\"version\": 2");
        std::string other = good;
        other.replace(other.find("tulmera-session"), 15, "someone-else");
        std::ofstream("cut.tulmera", std::ios::binary) << good.substr(0, 300);
        std::ofstream("newer.tulmera", std::ios::binary) << newer;
        std::ofstream("other.tulmera", std::ios::binary) << other;
        InMain<QScrollBar>(QStringLiteral("hsbProspect(1)"))->setValue(2000);
        const session::Session before = Main()->CurrentSession();
        const QImage leafChart = InMain<widgets::ChartView>(QStringLiteral("pctProspect"))->image();
        const std::string leafFile = FileBytes(kLeafSpectrumFile);
        const struct {
            const char* file;
            const char* reason;
        } cases[] = {{"cut.tulmera", "not valid JSON"},
                     {"newer.tulmera", "newer Tulmera"},
                     {"other.tulmera", "not a Tulmera session"},
                     {"absent.tulmera", "absent.tulmera"}};
        for (const auto& c : cases) {
            QVERIFY(!Main()->OpenSession(InDir(c.file)));
            auto* box = FindChild<QMessageBox>(Main(), QStringLiteral("dlgSesionRechazada"));
            QVERIFY2(box->isVisible(), c.file);
            QVERIFY2(box->text().contains(QLatin1String(c.file)), qPrintable(box->text()));
            QVERIFY2(box->informativeText().contains(QLatin1String(c.reason)),
                     qPrintable(box->informativeText()));
            box->close();
            testing::DeliverDeferredDeletes();
            QVERIFY(Main()->CurrentSession() == before);
            QCOMPARE(InMain<QLineEdit>(QStringLiteral("txtProspect(1)"))->text(),
                     QStringLiteral("20"));
            QVERIFY(InMain<widgets::ChartView>(QStringLiteral("pctProspect"))->image()
                    == leafChart);
            QCOMPARE(FileBytes(kLeafSpectrumFile), leafFile);
        }
    }

    // A kept set is drawn on the chart under the live curves, named in a saved figure's legend
    // in its colour, and written in the CSV beside the live spectra.
    void keptSpectraReachTheFigureAndTheCsv()
    {
        Main()->KeepSpectra();
        const plot::KeptSpectra kept = Main()->keptSpectra().front();
        QVERIFY(QString::fromStdString(kept.label).startsWith(QStringLiteral("N 1, Cab 15")));
        InMain<QScrollBar>(QStringLiteral("hsbProspect(1)"))->setValue(6000);
        Main()->KeepSpectra();
        QCOMPARE(Main()->keptSpectra().size(), std::size_t{2});
        InMain<QScrollBar>(QStringLiteral("hsbProspect(0)"))->setValue(300);

        const plot::Rgb first = plot::KeptColour(0);
        const QImage shown = InMain<widgets::ChartView>(QStringLiteral("pctProspect"))->image();
        int keptPixels = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                keptPixels += shown.pixel(x, y) == qRgb(first.r, first.g, first.b);
            }
        }
        QVERIFY(keptPixels > 50);

        widgets::ChartImageFormat svg;
        svg.svg = svg.figure = true;
        QVERIFY(Main()->SaveChartImages(InDir("figura.svg"), svg));
        const std::string leafFigure = FileBytes("figura-hoja.svg");
        const std::string canopyFigure = FileBytes("figura-cubierta.svg");
        for (const std::string& figure : {leafFigure, canopyFigure}) {
            QVERIFY(figure.find("N 1, Cab 15") != std::string::npos);
            QVERIFY(figure.find("N 1, Cab 60") != std::string::npos);
            QVERIFY(figure.find("#1e5ac8") != std::string::npos);  // KeptColour(0)
        }

        QVERIFY(Main()->SaveSpectraCsv(InDir("espectros.csv")));
        std::vector<std::string> lines;  // LF line ends
        std::istringstream csv(FileBytes("espectros.csv"));
        for (std::string line; std::getline(csv, line);) lines.push_back(line);
        const auto header = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
            return l.rfind("wavelength_nm,", 0) == 0;
        });
        QVERIFY(header != lines.end());
        QCOMPARE(*header, std::string(exports::kMainSpectraHeader)
                              + ",kept_1_leaf_reflectance,kept_1_leaf_transmittance,"
                                "kept_1_canopy_reflectance,kept_2_leaf_reflectance,"
                                "kept_2_leaf_transmittance,kept_2_canopy_reflectance");
        QVERIFY(std::find(lines.begin(), lines.end(), "# kept_1 = " + kept.label) != lines.end());
        const std::string at400 = *(header + 1);  // 400 nm: the first kept reflectance
        QVERIFY2(at400.find("," + textio::ShortestNumberText(kept.leafReflPct[0] / 100.0) + ",")
                     != std::string::npos,
                 at400.c_str());

        // Beside the charts' legend, one entry each, its values in the tooltip.
        auto* second = Main()->findChild<QWidget*>(QStringLiteral("lnFijado(1)"));
        QVERIFY(second != nullptr);
        QCOMPARE(second->parentWidget()->toolTip(),
                 QString::fromStdString(Main()->keptSpectra()[1].label));

        Main()->RemoveKeptSpectra(0);  // one by one
        QCOMPARE(Main()->keptSpectra().size(), std::size_t{1});
        QVERIFY(Main()->findChild<QWidget*>(QStringLiteral("lnFijado(1)")) == nullptr);
        QVERIFY(Main()->keptSpectra().front().label.find("Cab 60") != std::string::npos);
    }

    // Changed in the main window after the canopy sweep opened: the next "Ejecutar" runs with
    // the new values, and the window lists them.
    void theCanopySweepRunsTheMainWindowsCurrentValues()
    {
        InMain<QAction>(QStringLiteral("menu122"))->trigger();
        CanopySweepWindow* sweep = program_.app().canopySweepWindow();
        QVERIFY(FindChild<QLabel>(sweep, QStringLiteral("lblValoresFijos"))
                    ->text()
                    .contains(QStringLiteral("sol 0°")));
        Type(Main(), QStringLiteral("txtSailh(1)"), QStringLiteral("40"));
        sweep->findChild<QComboBox*>(QStringLiteral("cmbParametro"))->setCurrentIndex(4);
        FindChild<QPushButton>(sweep, QStringLiteral("btok"))->click();
        QVERIFY(sweep->result().has_value());
        QVERIFY(sweep->SaveSpectraCsv(InDir("barrido.csv")));
        const std::string csv = FileBytes("barrido.csv");
        QVERIFY2(csv.find("# sun_zenith_deg = 40\n") != std::string::npos,
                 csv.substr(0, 600).c_str());
        QVERIFY(FindChild<QLabel>(sweep, QStringLiteral("lblValoresFijos"))
                    ->text()
                    .contains(QStringLiteral("sol 40°")));
    }

    // The leaf sweep starts from the main window's leaf and goes back to it with its values.
    void theLeafSweepStartsFromTheMainWindowAndGoesBack()
    {
        InMain<QScrollBar>(QStringLiteral("hsbProspect(1)"))->setValue(4000);  // Cab 40
        Type(Main(), QStringLiteral("txtSailh(0)"), QStringLiteral("2.5"));
        InMain<QAction>(QStringLiteral("menu121"))->trigger();
        testing::DeliverDeferredDeletes();
        LeafSweepWindow* sweep = program_.app().multiWindow();
        QVERIFY(sweep != nullptr && program_.app().mainWindow() == nullptr);
        QCOMPARE(FindChild<QLineEdit>(sweep, QStringLiteral("txtcab"))->text(),
                 QStringLiteral("40"));
        QVERIFY(FindChild<QPushButton>(sweep, QStringLiteral("Command2")) != nullptr);

        FindChild<QPushButton>(sweep, QStringLiteral("cmdVolver"))->click();
        testing::DeliverDeferredDeletes();
        QVERIFY(Main() != nullptr);
        QVERIFY(Main()->isVisible());
        QVERIFY(program_.app().multiWindow() == nullptr);
        QCOMPARE(program_.ends(), 0);
        QCOMPARE(InMain<QLineEdit>(QStringLiteral("txtProspect(1)"))->text(), QStringLiteral("40"));
        QCOMPARE(InMain<QLineEdit>(QStringLiteral("txtSailh(0)"))->text(), QStringLiteral("2.5"));
        QCOMPARE(FileBytes(kSweepFile), std::string());  // the sweep's files emptied
    }

    // `tulmera FILE.tulmera` opens it; with the remembered choice on, the session the window
    // had at "Sailr" comes back at the next start; off (the default), the start values do.
    void theStartSessionAndTheLastOne()
    {
        InMain<QScrollBar>(QStringLiteral("hsbProspect(1)"))->setValue(5000);
        // Outside the working directory, which goes with the program.
        const fs::path startFile =
            fs::temp_directory_path()
            / ("tulmera-start-" + std::to_string(QCoreApplication::applicationPid()) + ".tulmera");
        const QString start = QString::fromStdString(startFile.string());
        QVERIFY(Main()->SaveSession(start));
        program_.Stop();
        program_.Start();
        program_.app().SetStartSession(start);
        program_.Enter();
        QCOMPARE(InMain<QLineEdit>(QStringLiteral("txtProspect(1)"))->text(), QStringLiteral("50"));
        fs::remove(startFile);

        QVERIFY(!InMain<QAction>(QStringLiteral("mnuUltimaSesion"))->isChecked());
        InMain<QAction>(QStringLiteral("mnuUltimaSesion"))->trigger();
        InMain<QScrollBar>(QStringLiteral("hsbProspect(1)"))->setValue(7000);
        InMain<QAction>(QStringLiteral("menu13"))->trigger();  // "Sailr"
        QVERIFY(fs::exists(MainWindow::LastSessionFile().toStdString()));
        program_.Stop();
        program_.Start();
        program_.Enter();
        QCOMPARE(InMain<QLineEdit>(QStringLiteral("txtProspect(1)"))->text(), QStringLiteral("70"));

        InMain<QAction>(QStringLiteral("mnuUltimaSesion"))->trigger();  // off again
        program_.Stop();
        program_.Start();
        program_.Enter();
        QCOMPARE(InMain<QLineEdit>(QStringLiteral("txtProspect(1)"))->text(), QStringLiteral("15"));
    }
};

}  // namespace tulmera::app

QTEST_MAIN(tulmera::app::SessionWindowTest)
#include "session_window_test.moc"
