// The main window, driven offscreen through its controls, found by their product names.
#include "app/windows/frm_tulmera.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <memory>

#include "app/widgets/chart_panel.h"
#include "support/golden.h"
#include "support/work_dir.h"

namespace tulmera::app {

using refresh::RefreshStep;

using testing::FileBytes;

class FrmTulmeraTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::ScopedWorkDir> dir_;
    std::unique_ptr<FrmTulmera> window_;
    std::vector<RefreshStep> steps_;

    template <typename T>
    T* Find(const QString& name) const
    {
        T* control = window_->findChild<T*>(name);
        if (control == nullptr) qFatal("no control named %s", qPrintable(name));
        return control;
    }
    QScrollBar* Bar(const char* name, int i) const
    {
        return Find<QScrollBar>(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i));
    }
    QLineEdit* Box(const char* name, int i) const
    {
        return Find<QLineEdit>(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i));
    }
    QAction* Menu211(int entry) const
    {
        return Find<QAction>(QStringLiteral("menu211(%1)").arg(entry));
    }
    QImage Chart(const char* name) const
    {
        return Find<widgets::ChartView>(QLatin1String(name))->image();
    }
    int Refreshes() const
    {
        return static_cast<int>(std::count(steps_.begin(), steps_.end(), RefreshStep::LeafRun));
    }
    QString Status() const { return window_->statusBar()->currentMessage(); }

private slots:
    void init()
    {
        dir_ = std::make_unique<testing::ScopedWorkDir>();
        window_ = std::make_unique<FrmTulmera>();
        steps_.clear();
        window_->SetRefreshObserver([this](RefreshStep s) { steps_.push_back(s); });
    }
    void cleanup()
    {
        window_.reset();
        dir_.reset();
    }

    void opensWithTheDescribedControls()
    {
        QCOMPARE(window_->objectName(), QStringLiteral("frmTulmera"));
        QCOMPARE(window_->windowTitle(), QStringLiteral("Tulmera"));
        const struct {
            const char* bar;
            int index, min, max, small, large, value;
            const char* text;
        } rows[] = {
            {"hsbProspect", 0, 100, 400, 1, 50, 100, "1"},
            {"hsbProspect", 1, 1500, 9000, 10, 1500, 1500, "15"},
            {"hsbProspect", 2, 1, 700, 1, 100, 1, "0.0001"},
            {"hsbProspect", 3, 20, 400, 10, 50, 20, "0.002"},
            {"hsbSailh", 0, 10, 700, 10, 100, 10, "0.1"},
            {"hsbSailh", 1, 0, 9000, 10, 1000, 0, "0"},
            {"hsbSailh", 2, -7500, 7500, 10, 1000, 0, "0"},
            {"hsbSailh", 3, 0, 1800, 10, 100, 0, "0"},
            {"hsbSailh", 4, 0, 100, 5, 10, 0, "0"},
        };
        for (const auto& r : rows) {
            const QScrollBar* bar = Bar(r.bar, r.index);
            QCOMPARE(bar->minimum(), r.min);
            QCOMPARE(bar->maximum(), r.max);
            QCOMPARE(bar->singleStep(), r.small);
            QCOMPARE(bar->pageStep(), r.large);
            QCOMPARE(bar->value(), r.value);
            const char* box = std::string_view(r.bar) == "hsbProspect" ? "txtProspect" : "txtSailh";
            QCOMPARE(Box(box, r.index)->text(), QLatin1String(r.text));
        }
        QCOMPARE(Find<QLabel>("lblProspect(0)")->text(),
                 QStringLiteral("Estructura interna de la hoja (N):"));
        QCOMPARE(Find<QLabel>("lblSailh(7)")->text(), QStringLiteral("Parámetro Hot-Spot:"));
        QCOMPARE(Find<QComboBox>("cmbSailh(0)")->currentText(), QStringLiteral("Planofilo"));
        QCOMPARE(Find<QComboBox>("cmbSailh(0)")->count(), 5);
        QCOMPARE(Find<QComboBox>("cmbSailh(1)")->currentText(),
                 QStringLiteral("S1:61% arena 24% limo 15% arcilla"));
        QVERIFY(Find<QRadioButton>("tipocielo(0)")->isChecked());
        QVERIFY(!Find<QRadioButton>("tipocielo(1)")->isChecked());
        for (int entry = 1; entry <= 8; ++entry) QCOMPARE(Menu211(entry)->isChecked(), entry == 1);
        QCOMPARE(Find<widgets::LegendSwatch>("Line3")->color(), QColor(200, 100, 0));
        // The charts are 317 x 165 at 96 dpi, and that many times the screen's pixel ratio.
        const widgets::ChartView* leafChart = Find<widgets::ChartView>("pctProspect");
        const int k = leafChart->SurfacePixelScale();
        QCOMPARE(leafChart->image().width(), 317 * k);
        QCOMPARE(Find<widgets::ChartView>("pctSailh")->image().height(), 165 * k);
        QCOMPARE(leafChart->size(), QSize(317 + 4, 165 + 4));
        QCOMPARE(window_->findChildren<QLabel*>(QRegularExpression("^lblGrid\\(\\d+\\)$")).size(),
                 27);

        // The start-up recomputation wrote the reference files of the start values.
        QVERIFY(testing::MatchesGolden("VP.dat", testing::GoldenDir("start") / "VP.dat"));
        QVERIFY(testing::MatchesGolden("VS.dat", testing::GoldenDir("start") / "VS.dat"));
    }

    void showsScrollValuesAsNumberText()
    {
        Bar("hsbSailh", 3)->setValue(125);
        QCOMPARE(Box("txtSailh", 3)->text(), QStringLiteral("12.5"));
        Bar("hsbSailh", 2)->setValue(-7500);
        QCOMPARE(Box("txtSailh", 2)->text(), QStringLiteral("-75"));
        Bar("hsbProspect", 2)->setValue(7);
        QCOMPARE(Box("txtProspect", 2)->text(), QStringLiteral("0.0007"));
        QCOMPARE(window_->leafParameters().Cw, 0.0007);
    }

    void aLeafBarRewritesBothFilesAndBothCharts()
    {
        const std::string vp = FileBytes("VP.dat"), vs = FileBytes("VS.dat");
        const QImage leaf = Chart("pctProspect"), canopy = Chart("pctSailh");
        Bar("hsbProspect", 1)->setValue(4000);
        QCOMPARE(window_->leafParameters().Cab, 40.0);
        QVERIFY(FileBytes("VP.dat") != vp);
        QVERIFY(FileBytes("VS.dat") != vs);
        QVERIFY(Chart("pctProspect") != leaf);
        QVERIFY(Chart("pctSailh") != canopy);
    }

    void everyRefreshRunsTheStepsInOrder()
    {
        Bar("hsbSailh", 0)->setValue(300);  // a canopy bar reruns the leaf run too
        const std::vector<RefreshStep> expected = {
            RefreshStep::LeafRun,   RefreshStep::PaintBackground, RefreshStep::PaintProspect,
            RefreshStep::CanopyRun, RefreshStep::PaintSailh,      RefreshStep::PaintSoil};
        QVERIFY(steps_ == expected);
        QCOMPARE(window_->canopyState().lai, 3.0);
    }

    void theOverlayMenuMovesItsCheckMarkAndRedraws()
    {
        const QImage grid = Chart("pctProspect");
        Menu211(4)->trigger();
        for (int entry = 1; entry <= 8; ++entry) QCOMPARE(Menu211(entry)->isChecked(), entry == 4);
        QVERIFY(Chart("pctProspect") != grid);
        const QImage landsat = Chart("pctProspect");
        Menu211(4)->trigger();  // choosing the checked entry again keeps it and recomputes
        QVERIFY(Menu211(4)->isChecked());
        QCOMPARE(Refreshes(), 2);
        QCOMPARE(Chart("pctProspect"), landsat);
        Menu211(1)->trigger();
        QCOMPARE(Chart("pctProspect"), grid);
    }

    void aTypedCanopyTextCountsAtTheNextRecomputationNotStartedByACanopyBar()
    {
        QTest::keyClicks(Box("txtSailh", 0), QStringLiteral("5"));  // "0.15"
        QCOMPARE(Refreshes(), 0);                                   // typing recomputes nothing
        Find<QRadioButton>("tipocielo(1)")->click();
        QCOMPARE(Refreshes(), 1);
        QCOMPARE(window_->canopyState().lai, 0.15);
        QCOMPARE(window_->canopyState().visibilityKm, 50);
        Bar("hsbSailh", 4)->setValue(10);  // a canopy bar rewrites all five texts from the bars
        QCOMPARE(Box("txtSailh", 0)->text(), QStringLiteral("0.1"));
        QCOMPARE(window_->canopyState().lai, 0.1);
    }

    void aTextThatIsNoNumberKeepsThePreviousValue()
    {
        Bar("hsbSailh", 0)->setValue(200);
        const std::string vs = FileBytes("VS.dat");
        Box("txtSailh", 0)->setText(QStringLiteral("dos"));
        Box("txtSailh", 1)->setText(QStringLiteral("3,5"));
        Menu211(1)->trigger();
        QCOMPARE(Box("txtSailh", 0)->text(), QStringLiteral("2"));
        QCOMPARE(Box("txtSailh", 1)->text(), QStringLiteral("0"));
        QVERIFY2(Status().contains(QStringLiteral("«dos» no es un número")), qPrintable(Status()));
        QVERIFY2(Status().contains(QStringLiteral("«3,5» no es un número")), qPrintable(Status()));
        QCOMPARE(FileBytes("VS.dat"), vs);  // recomputed with the kept values: the same file

        Box("txtSailh", 0)->setText(QStringLiteral("0"));
        Find<QRadioButton>("tipocielo(0)")->click();
        QCOMPARE(Box("txtSailh", 0)->text(), QStringLiteral("2"));
        QVERIFY2(Status().contains(QStringLiteral("debe ser mayor que 0")), qPrintable(Status()));
        QCOMPARE(window_->canopyState().lai, 2.0);

        Bar("hsbSailh", 0)->setValue(250);  // the next good recomputation clears the message
        QVERIFY(Status().isEmpty());
    }

    void aFailedRecomputationLeavesTheLastGoodChartsAndFiles()
    {
        const std::string vs = FileBytes("VS.dat");
        const QImage canopy = Chart("pctSailh");
        Box("txtSailh", 0)->setText(QStringLiteral("1E+308"));  // overflows the canopy model
        Menu211(1)->trigger();
        QVERIFY2(Status().startsWith(QStringLiteral("No se pudo recalcular")),
                 qPrintable(Status()));
        QCOMPARE(FileBytes("VS.dat"), vs);
        QCOMPARE(Chart("pctSailh"), canopy);
        QCOMPARE(Box("txtSailh", 0)->text(), QStringLiteral("0.1"));
        Menu211(1)->trigger();  // usable again
        QVERIFY(Status().isEmpty());
    }

    void draggingTheThumbRecomputesOnlyOnRelease()
    {
        QScrollBar* bar = Bar("hsbProspect", 0);
        bar->setSliderDown(true);
        bar->setSliderPosition(250);
        bar->setSliderPosition(300);
        QCOMPARE(Refreshes(), 0);
        QCOMPARE(window_->leafParameters().N, 1.0);
        bar->setSliderDown(false);
        QCOMPARE(Refreshes(), 1);
        QCOMPARE(window_->leafParameters().N, 3.0);
    }

    void choosingAListItemRecomputesButTypingDoesNot()
    {
        QComboBox* soil = Find<QComboBox>("cmbSailh(1)");
        soil->setFocus();
        QTest::keyClick(soil, Qt::Key_Down);  // chooses the next item, as a click in the list
        QCOMPARE(soil->currentText(), QStringLiteral("S2:32% arena 39% limo 29% arcilla"));
        QCOMPARE(Refreshes(), 1);
        QCOMPARE(window_->canopyState().soilRefl.front(), 3.589);

        soil->lineEdit()->setText(QStringLiteral("S4:61% arena 26% limo 13% arcilla"));
        QCOMPARE(Refreshes(), 1);
        Menu211(1)->trigger();  // the typed text is used by the next recomputation
        QCOMPARE(window_->canopyState().soilRefl.front(), 7.663);

        soil->lineEdit()->setText(QStringLiteral("arena"));  // matches no soil: S4 stays
        Menu211(1)->trigger();
        QCOMPARE(window_->canopyState().soilRefl.front(), 7.663);
        QVERIFY(Status().isEmpty());
    }

    void theExitEntryAsksToEndAndClosingEmptiesTheFiles()
    {
        QSignalSpy exit(window_.get(), &FrmTulmera::ExitRequested);
        Find<QAction>("menu13")->trigger();
        QCOMPARE(exit.count(), 1);
        window_->close();
        QCOMPARE(FileBytes("VP.dat"), std::string());
        QCOMPARE(FileBytes("VS.dat"), std::string());
    }
};

}  // namespace tulmera::app

QTEST_MAIN(tulmera::app::FrmTulmeraTest)
#include "frm_tulmera_test.moc"
