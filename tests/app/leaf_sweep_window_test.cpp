// The multiple-simulation window, driven offscreen through its controls.
#include "app/windows/leaf_sweep_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTranslator>
#include <memory>

#include "app/widgets/chart_panel.h"
#include "app/widgets/controls.h"
#include "app/widgets/refusal_marks.h"
#include "app/windows/main_window.h"
#include "support/find_child.h"
#include "support/golden.h"
#include "support/scratch_settings.h"
#include "support/window_fixtures.h"
#include "support/work_dir.h"

namespace tulmera::app {

using namespace multi;

using testing::FileBytes;

constexpr std::array<const char*, kSweptParameterCount> kHeldBoxes = {
    "txtN", "txtcab", "txtcw", "txtcm", "txtcar", "txtanth", "txtcbrown", "txtprot", "txtcbc"};

class LeafSweepWindowTest : public QObject {
    Q_OBJECT

private:
    testing::WindowFixture<LeafSweepWindow> fixture_;

    QString Text(const char* name) const
    {
        if (auto* box = fixture_.window()->findChild<QLineEdit*>(QLatin1String(name)))
            return box->text();
        return fixture_.Find<QWidget>(QLatin1String(name))->property("text").toString();
    }
    QScrollBar* Bar(const char* name) const
    {
        return fixture_.Find<QScrollBar>(QLatin1String(name));
    }
    widgets::DescendingScrollBar* Limit(const char* name) const
    {
        return fixture_.Find<widgets::DescendingScrollBar>(QLatin1String(name));
    }
    QRadioButton* Option(int i) const
    {
        return fixture_.Find<QRadioButton>(QStringLiteral("btOption(%1)").arg(i));
    }
    bool ExportEnabled() const { return fixture_.Find<QPushButton>("cmdfich")->isEnabled(); }
    void Run() { fixture_.Find<QPushButton>("btok")->click(); }

private slots:
    void initTestCase() { testing::UseScratchSettings(); }
    void init() { fixture_.Open(); }
    void cleanup() { fixture_.Close(); }

    void opensReadyToSweepN()
    {
        QCOMPARE(fixture_.window()->windowTitle(),
                 QStringLiteral("Simulación múltiple: modelo PROSPECT"));
        QCOMPARE(Option(0)->text(), QStringLiteral("Esrtructura interna de la hoja (N):"));
        QVERIFY(Option(0)->isChecked());
        QCOMPARE(Text("lblmax"), QStringLiteral("4"));
        QCOMPARE(Text("lblmin"), QStringLiteral("1"));
        QCOMPARE(Text("lblinter"), QStringLiteral("0.1"));
        QCOMPARE(Text("txtN"), QString());
        QVERIFY(!fixture_.Find<QLineEdit>("txtN")->isEnabled());
        QVERIFY(!Bar("hsN")->isEnabled());
        QCOMPARE(Text("txtcab"), QStringLiteral("15"));
        QCOMPARE(Text("txtcw"), QStringLiteral("0.0001"));
        QCOMPARE(Text("txtcm"), QStringLiteral("0.002"));
        QVERIFY(!ExportEnabled());
        QCOMPARE(fixture_.Find<QPushButton>("btok")->text(), QStringLiteral("Ejecutar"));
        QCOMPARE(fixture_.Find<QPushButton>("Command2")->text(), QStringLiteral("Sailr"));
        // The pictures hold the chart's pixels times the screen's pixel ratio (2 at scale 2).
        const auto* chart = fixture_.Find<widgets::ChartView>("pctMProspect");
        QCOMPARE(chart->image().width(), 365 * chart->SurfacePixelScale());
        const auto* strip = fixture_.Find<widgets::ChartView>("pctlegend");
        QCOMPARE(strip->image().size(), QSize(369, 17) * strip->SurfacePixelScale());
    }

    // The wrapped instructions keep every line, at the usual font and at twice its size (as at
    // scale 2), and stay above the first option and the limit captions.
    void theInstructionsShowEveryWrappedLine_data()
    {
        QTest::addColumn<double>("fontScale");
        QTest::newRow("usual font") << 1.0;
        QTest::newRow("twice the font") << 2.0;
    }
    void theInstructionsShowEveryWrappedLine()
    {
        QFETCH(double, fontScale);
        QFont font = fixture_.window()->font();
        font.setPointSizeF(font.pointSizeF() * fontScale);
        fixture_.window()->setFont(font);
        fixture_.window()->show();
        QCoreApplication::processEvents();
        for (const auto& [name, below] :
             {std::pair{"Label1", "btOption(0)"}, {"Label5", "Label2"}}) {
            const auto* label = fixture_.Find<QLabel>(QLatin1String(name));
            QVERIFY2(label->height() >= label->heightForWidth(label->width()), name);
            QVERIFY2(label->geometry().bottom()
                         < fixture_.Find<QWidget>(QLatin1String(below))->geometry().top(),
                     name);
        }
    }

    void choosingAParameterSetsUpItsLimits()
    {
        Option(2)->click();  // Cw
        QCOMPARE(Text("lblmax"), QStringLiteral("0.07"));
        QCOMPARE(Text("lblmin"), QStringLiteral("0.0001"));
        QCOMPARE(Text("lblinter"), QStringLiteral("0.001"));
        QCOMPARE(Text("txtcw"), QString());
        QVERIFY(!fixture_.Find<QLineEdit>("txtcw")->isEnabled());
        QCOMPARE(Text("txtN"), QStringLiteral("1"));
        QVERIFY(fixture_.Find<QLineEdit>("txtN")->isEnabled());

        Option(3)->click();  // Cm: one interval step is 10 / 100000
        QCOMPARE(Text("lblinter"), QStringLiteral("0.0005"));
        Limit("vsinter")->triggerAction(QAbstractSlider::SliderSingleStepSub);  // one step up
        QCOMPARE(Text("lblinter"), QStringLiteral("0.0006"));
    }

    void theLimitBarsHaveTheirLargestValueAtTheTop()
    {
        widgets::DescendingScrollBar* vsmax = Limit("vsmax");
        vsmax->SetDescendingValue(300);
        QCOMPARE(Text("lblmax"), QStringLiteral("3"));
        fixture_.window()->show();
        // The arrow at the top raises the value, the one at the bottom lowers it; the key Up
        // raises it too.
        QTest::mouseClick(vsmax, Qt::LeftButton, {}, QPoint(vsmax->width() / 2, 3));
        QCOMPARE(vsmax->DescendingValue(), 310);
        QCOMPARE(Text("lblmax"), QStringLiteral("3.1"));
        QTest::mouseClick(vsmax, Qt::LeftButton, {},
                          QPoint(vsmax->width() / 2, vsmax->height() - 3));
        QCOMPARE(vsmax->DescendingValue(), 300);
        vsmax->setFocus();
        QTest::keyClick(vsmax, Qt::Key_Up);
        QCOMPARE(vsmax->DescendingValue(), 310);
        vsmax->SetDescendingValue(400);  // the top
        QCOMPARE(vsmax->sliderPosition(), vsmax->minimum());
    }

    void aSweepReproducesTheReferenceFilesAndEnablesTheExport()
    {
        Option(2)->click();
        Limit("vsinter")->SetDescendingValue(1000);  // 0.01
        QVERIFY(!ExportEnabled());
        fixture_.Find<QLineEdit>("txtN")->setText(QStringLiteral("1"));
        Run();
        QVERIFY2(fixture_.Status().isEmpty(), qPrintable(fixture_.Status()));
        QCOMPARE(fixture_.window()->valueCount(), 8);
        QVERIFY(ExportEnabled());
        QVERIFY(testing::MatchesGolden("MVP.dat", testing::GoldenDir("sweep-Cw") / "MVP.dat"));
        QVERIFY(
            testing::MatchesGolden("MVPaint.dat", testing::GoldenDir("sweep-Cw") / "MVPaint.dat"));
        QCOMPARE(Text("Label6"), QStringLiteral("Cw = 0.0001 cm"));
        QCOMPARE(Text("Label7"), QStringLiteral("Cw = 0.07 cm"));
        QCOMPARE(Text("Label8"), QStringLiteral("N=1  Cab=15 u.g.cm-2   Cm=0.002 g.cm-2"));
        // The eighth legend box ends at the right end of the strip.
        const QImage legend = fixture_.Find<widgets::ChartView>("pctlegend")->image();
        QVERIFY(legend.pixelColor(legend.width() - 1, legend.height() / 2) != QColor(Qt::white));
    }

    void theExportIsDisabledByBarsAndOptionsButNotByTyping()
    {
        Run();
        QVERIFY(ExportEnabled());
        QTest::keyClicks(fixture_.Find<QLineEdit>("txtcab"), QStringLiteral("0"));
        QVERIFY(ExportEnabled());
        Bar("hscab")->setValue(2000);
        QVERIFY(!ExportEnabled());
        Run();
        Limit("vsmin")->SetDescendingValue(200);
        QVERIFY(!ExportEnabled());
        Run();
        Option(0)->click();
        QVERIFY(!ExportEnabled());
    }

    // The captions' units: the Spanish ones as they always were, in English µg/cm² and g/cm².
    void aCabSweepLabelsTheLegendWithItsLimits_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("held");
        QTest::newRow("Spanish") << false << "Cab = 15 u.g.cm-2"
                                 << "N=1  Cw=0.0001 cm   Cm=0.002 g.cm-2";
        QTest::newRow("English") << true << "Cab = 15 µg/cm²"
                                 << "N=1  Cw=0.0001 cm   Cm=0.002 g/cm²";
    }
    void aCabSweepLabelsTheLegendWithItsLimits()
    {
        QFETCH(bool, english);
        QTranslator translator;
        if (english) {
            QVERIFY(translator.load(QStringLiteral(":/i18n/tulmera_en.qm")));
            QCoreApplication::installTranslator(&translator);
        }
        Option(1)->click();
        Run();
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(fixture_.window()->valueCount(), 76);
        QTEST(Text("Label6"), "lower");
        QCOMPARE(Text("Label7").mid(9), Text("Label6").mid(9));  // "Cab = 90 ", the same unit
        QTEST(Text("Label8"), "held");
    }

    // The limits and the held values can be typed, with the rules of the main window's boxes.
    void typedLimitsAndHeldValuesMoveTheirBars_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("bar");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("marked");  // refused: the box marked, the reason beside it
        const QString none;
        QTest::newRow("limit good") << "lblmax"
                                    << "vsmax"
                                    << "3.5"
                                    << "3.5" << 350 << none << false;
        QTest::newRow("limit rounded")
            << "lblmin"
            << "vsmin"
            << "1.234"
            << "1.23" << 123 << "Límite inferior: 1.234 se redondea a 1.23." << false;
        QTest::newRow("interval out of range")
            << "lblinter"
            << "vsinter"
            << "5"
            << "0.1" << 100 << "Intervalo: 5 está fuera de 0.1 a 2." << true;
        QTest::newRow("held no number") << "txtcab"
                                        << "hscab"
                                        << "x"
                                        << "15" << 1500
                                        << "Contenido de clorofila a+b (u.g.cm-2): «x» no es un "
                                           "número."
                                        << true;
        QTest::newRow("held good") << "txtcw"
                                   << "hscw"
                                   << "0.05"
                                   << "0.05" << 500 << none << false;
    }
    void typedLimitsAndHeldValuesMoveTheirBars()
    {
        QFETCH(QString, box);
        QFETCH(QString, bar);
        QFETCH(QString, typed);
        QLineEdit* edit = fixture_.Find<QLineEdit>(box);
        edit->clear();
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QTEST(edit->text(), "shown");
        auto* limit = qobject_cast<widgets::DescendingScrollBar*>(fixture_.Find<QScrollBar>(bar));
        QTEST(limit != nullptr ? limit->DescendingValue() : fixture_.Find<QScrollBar>(bar)->value(),
              "value");
        QTEST(fixture_.Status(), "status");
        QFETCH(bool, marked);
        const auto* note = fixture_.Find<QLabel>("lblRechazo");
        QCOMPARE(widgets::IsMarkedRefused(edit), marked);
        QCOMPARE(!note->isHidden(), marked);
        if (marked) {
            QCOMPARE(note->text(), fixture_.Status());  // in full, without a tooltip
            QScrollBar* moved = fixture_.Find<QScrollBar>(bar);
            moved->setValue(moved->value() == moved->minimum() ? moved->minimum() + 1
                                                               : moved->minimum());
            QVERIFY(!widgets::IsMarkedRefused(edit));
            QVERIFY(note->isHidden());
        }
    }

    // A larger window draws the last sweep again at the chart's new size, not stretched.
    void resizingRedrawsTheSweepAtTheNewSize()
    {
        Run();
        const std::string mvp = FileBytes("MVP.dat");
        fixture_.window()->show();
        fixture_.window()->resize(1700, 1300);
        QCoreApplication::processEvents();
        const auto* view = fixture_.Find<widgets::ChartView>("pctMProspect");
        const plot::ChartScale shown = view->DisplayedScale();
        QVERIFY2(shown.widthPx > 365 && shown.heightPx > 245,
                 qPrintable(QStringLiteral("%1 x %2").arg(shown.widthPx).arg(shown.heightPx)));
        const int k = view->SurfacePixelScale();
        QCOMPARE(view->image().size(), QSize(shown.widthPx, shown.heightPx) * k);
        QCOMPARE(fixture_.Find<widgets::ChartView>("pctlegend")->image().width(),
                 (shown.widthPx + 4) * k);    // the legend strip is as wide as the framed chart
        QCOMPARE(FileBytes("MVP.dat"), mvp);  // the same sweep
        QVERIFY(ExportEnabled());
        QVERIFY(fixture_.Status().isEmpty());
    }

    // "Ver › Modo presentación" here too: thicker curves and larger texts, the sweep drawn
    // again without running (its files untouched); switched off, the usual chart pixel for
    // pixel. The choice is the main window's too.
    void presentationModeThickensTheSweep()
    {
        Run();
        const std::string mvp = FileBytes("MVP.dat");
        const QImage usual = fixture_.Find<widgets::ChartView>("pctMProspect")->image();
        const double usualText = fixture_.Find<QLabel>("Label9")->font().pointSizeF();
        QAction* mode = fixture_.Find<QAction>("mnuModoPresentacion");
        QVERIFY(!mode->isChecked());
        mode->trigger();
        const QImage thick = fixture_.Find<widgets::ChartView>("pctMProspect")->image();
        QCOMPARE(thick.size(), usual.size());
        QVERIFY(thick != usual);
        QVERIFY(fixture_.Find<QLabel>("Label9")->font().pointSizeF() > usualText);
        QCOMPARE(FileBytes("MVP.dat"), mvp);
        QVERIFY(QSettings().value(QStringLiteral("view/presentationMode")).toBool());
        mode->trigger();
        QCOMPARE(fixture_.Find<widgets::ChartView>("pctMProspect")->image(), usual);
        QCOMPARE(fixture_.Find<QLabel>("Label9")->font().pointSizeF(), usualText);
        QVERIFY(!QSettings().value(QStringLiteral("view/presentationMode")).toBool());
    }

    // The window offers the parameters of the main window's leaf model: PROSPECT-D its pigments
    // beside the classic four, PRO its constituents in place of Cm, the classic model none.
    void theOptionsFollowTheMainWindowsLeafModel_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QList<int>>("offered");  // btOption(i) shown
        QTest::addColumn<QString>("title");
        QTest::newRow("classic") << "classic" << QList<int>{0, 1, 2, 3}
                                 << "Simulación múltiple: modelo PROSPECT";
        QTest::newRow("PROSPECT-D") << "prospect-d" << QList<int>{0, 1, 2, 3, 4, 5, 6}
                                    << "Simulación múltiple: modelo PROSPECT-D";
        QTest::newRow("PROSPECT-PRO") << "prospect-pro" << QList<int>{0, 1, 2, 4, 5, 6, 7, 8}
                                      << "Simulación múltiple: modelo PROSPECT-PRO";
    }
    void theOptionsFollowTheMainWindowsLeafModel()
    {
        QFETCH(QString, model);
        QFETCH(QList<int>, offered);
        MainWindow main;
        testing::FindChild<QAction>(&main, QStringLiteral("menu24(%1)").arg(model))->trigger();
        testing::FindChild<QScrollBar>(&main, QStringLiteral("hsbProspectD(0)"))->setValue(123);
        const leaf::LeafParameters held = main.leafParameters();
        fixture_.window()->HoldValues(held);
        testing::FindChild<QAction>(&main, QStringLiteral("menu24(classic)"))->trigger();
        QTEST(fixture_.window()->windowTitle(), "title");
        for (int i = 0; i < kSweptParameterCount; ++i) {
            const bool shown = offered.contains(i);
            QVERIFY2(Option(i)->isVisibleTo(fixture_.window()) == shown,
                     qPrintable(QString::number(i)));
            QCOMPARE(fixture_.Find<QLineEdit>(kHeldBoxes[i])->isVisibleTo(fixture_.window()),
                     shown);
        }
        // The held values are the main window's, as for the classic rows.
        QCOMPARE(Text("txtcab"), QStringLiteral("15"));
        if (offered.contains(4)) QCOMPARE(Text("txtcar"), QStringLiteral("12.3"));
    }

    // With PROSPECT-D, Anth sweeps with the batch runner's limits (0 to 40 by 5) through that
    // model: its curves differ, and "MVP.dat" keeps its blocks of five header lines. Back to
    // the classic model, the window sweeps N again.
    void anAnthocyaninSweepRunsPROSPECTD()
    {
        MainWindow main;
        testing::FindChild<QAction>(&main, QStringLiteral("menu24(prospect-d)"))->trigger();
        fixture_.window()->HoldValues(main.leafParameters());
        testing::FindChild<QAction>(&main, QStringLiteral("menu24(classic)"))->trigger();
        Option(5)->click();
        QCOMPARE(Text("lblmax"), QStringLiteral("40"));
        QCOMPARE(Text("lblmin"), QStringLiteral("0"));
        QCOMPARE(Text("lblinter"), QStringLiteral("5"));
        QCOMPARE(Text("txtanth"), QString());
        Run();
        QVERIFY2(fixture_.Status().isEmpty(), qPrintable(fixture_.Status()));
        QCOMPARE(fixture_.window()->valueCount(), 9);
        QCOMPARE(Text("Label6"), QStringLiteral("Anth = 0 u.g.cm-2"));
        QCOMPARE(Text("Label7"), QStringLiteral("Anth = 40 u.g.cm-2"));
        QVERIFY2(Text("Label8").endsWith(QStringLiteral("Car=4 u.g.cm-2   Cbrown=0")),
                 qPrintable(Text("Label8")));

        const QStringList lines =
            QString::fromStdString(FileBytes("MVP.dat")).split(QStringLiteral("\r\n"));
        constexpr int kBlockLines = 5 + 421;
        QCOMPARE(lines.size(), 9 * kBlockLines + 1);  // the last CR LF ends an empty line
        QStringList firstReflectances, lastReflectances;
        for (int k = 0; k < 9; ++k) {
            QVERIFY(lines[k * kBlockLines].startsWith(QStringLiteral("N = ")));
            QCOMPARE(lines[k * kBlockLines + 4],
                     QStringLiteral("Lon.onda    Reflectividad     Transmisividad"));
        }
        for (int i = 5; i < kBlockLines; ++i) {
            firstReflectances << lines[i];
            lastReflectances << lines[8 * kBlockLines + i];
        }
        QVERIFY(firstReflectances != lastReflectances);  // anthocyanins absorb

        fixture_.window()->HoldValues(leaf::kStartLeafParameters);
        QVERIFY(Option(0)->isChecked());
        QVERIFY(!Option(5)->isVisibleTo(fixture_.window()));
        QCOMPARE(fixture_.window()->windowTitle(),
                 QStringLiteral("Simulación múltiple: modelo PROSPECT"));
        QCOMPARE(Text("lblmax"), QStringLiteral("4"));
    }

    void aSweepThatCannotRunIsRefusedAndChangesNothing()
    {
        Run();
        const std::string mvp = FileBytes("MVP.dat");
        const QImage chart = fixture_.Find<widgets::ChartView>("pctMProspect")->image();
        Limit("vsmin")->SetDescendingValue(400);
        Limit("vsmax")->SetDescendingValue(200);  // lower limit 4 above upper limit 2
        Run();
        QCOMPARE(fixture_.Status(),
                 QStringLiteral("Límite inferior: 4 está por encima del límite superior 2."));
        QCOMPARE(FileBytes("MVP.dat"), mvp);
        QCOMPARE(fixture_.Find<widgets::ChartView>("pctMProspect")->image(), chart);
        QVERIFY(!ExportEnabled());

        Limit("vsmax")->SetDescendingValue(400);
        fixture_.Find<QLineEdit>("txtcab")->setText(QStringLiteral("quince"));
        Run();
        QVERIFY2(fixture_.window()->statusBar()->toolTip().contains(QStringLiteral("txtcab")),
                 qPrintable(fixture_.window()->statusBar()->toolTip()));
        QVERIFY(fixture_.Find<QLabel>("lblRechazo")->text().contains(QStringLiteral("txtcab")));
        QCOMPARE(FileBytes("MVP.dat"), mvp);
    }

    void leavingEmptiesTheSweepFiles()
    {
        Run();
        QSignalSpy exit(fixture_.window(), &LeafSweepWindow::ExitRequested);
        fixture_.Find<QPushButton>("Command2")->click();
        QCOMPARE(exit.count(), 1);
        fixture_.window()->close();
        QCOMPARE(FileBytes("MVP.dat"), std::string());
        QCOMPARE(FileBytes("MVPaint.dat"), std::string());
    }
};

}  // namespace tulmera::app

QTEST_MAIN(tulmera::app::LeafSweepWindowTest)
#include "leaf_sweep_window_test.moc"
