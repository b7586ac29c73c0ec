// The main window, driven offscreen through its controls, found by their product names.
#include "app/windows/main_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <cmath>
#include <map>
#include <memory>

#include "app/layout_check.h"
#include "app/widgets/chart_panel.h"
#include "app/widgets/controls.h"
#include "app/widgets/refusal_marks.h"
#include "leaf/leaf_models.h"
#include "leaf/leaf_spectrum.h"
#include "plot/chart_geometry.h"
#include "plot/raster_surface.h"
#include "support/file_replacements.h"
#include "support/find_child.h"
#include "support/golden.h"
#include "support/scratch_settings.h"
#include "support/window_fixtures.h"
#include "support/work_dir.h"
#include "textio/printed_text.h"

namespace tulmera::app {

using testing::FileBytes;

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    testing::WindowFixture<MainWindow> fixture_;

    // The leaf chart of a run at the window's leaf values and the start canopy, drawn at the
    // charts' displayed sizes and `leafView`'s pixel scale: what the window must show.
    QImage ExpectedLeafChart(const widgets::ChartView* leafView)
    {
        const int k = leafView->SurfacePixelScale();
        plot::RasterSurface leafChart(leafView->DisplayedScale(), k);
        plot::RasterSurface canopyChart(
            fixture_.Find<widgets::ChartView>("pctSailh")->DisplayedScale(), k);
        canopy::CanopyState state;
        refresh::Recompute(fixture_.window()->leafParameters(), canopy::StartCanopyInputs(), state,
                           {leafChart, canopyChart}, plot::ChartBackground{});
        QImage expected = leafChart.image();
        expected.setDevicePixelRatio(leafView->image().devicePixelRatio());
        return expected;
    }
    std::unique_ptr<testing::FileReplacements> replacements_;  // from the window's start on

    QScrollBar* Bar(const char* name, int i) const
    {
        return fixture_.Find<QScrollBar>(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i));
    }
    QLineEdit* Box(const char* name, int i) const
    {
        return fixture_.Find<QLineEdit>(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i));
    }
    QAction* Menu211(int entry) const
    {
        return fixture_.Find<QAction>(QStringLiteral("menu211(%1)").arg(entry));
    }
    QImage Chart(const char* name) const
    {
        return fixture_.Find<widgets::ChartView>(QLatin1String(name))->image();
    }
    // Recomputations since the window started: each one publishes a new "VP.dat".
    int Refreshes() const { return replacements_->Count("VP.dat"); }
    static QString Indexed(const char* name, int i)
    {
        return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
    }

    // The value the last recomputation used for the input of a value box.
    double ModelValue(const QString& box) const
    {
        const leaf::LeafParameters& leaf = fixture_.window()->leafParameters();
        const canopy::CanopyState& canopy = fixture_.window()->canopyState();
        const std::map<QString, double> values = {
            {"txtProspect(0)", leaf.N},         {"txtProspect(1)", leaf.Cab},
            {"txtProspect(2)", leaf.Cw},        {"txtProspect(3)", leaf.Cm},
            {"txtSailh(0)", canopy.lai},        {"txtSailh(1)", canopy.sunZenith},
            {"txtSailh(2)", canopy.viewZenith}, {"txtSailh(3)", canopy.relAzimuth},
            {"txtSailh(4)", canopy.hotSpot}};
        return values.at(box);
    }

    // Every input control's state in one text, to compare two moments.
    QString ControlsText() const
    {
        QStringList parts;
        for (QScrollBar* bar : fixture_.window()->findChildren<QScrollBar*>(
                 QRegularExpression(QStringLiteral("^hsb(Prospect|Sailh)\\(\\d\\)$")))) {
            parts << bar->objectName() + QLatin1Char('=') + QString::number(bar->value());
        }
        for (QLineEdit* box : fixture_.window()->findChildren<QLineEdit*>(
                 QRegularExpression(QStringLiteral("^txt(Prospect|Sailh)\\(\\d\\)$")))) {
            parts << box->objectName() + QLatin1Char('=') + box->text();
        }
        for (int i = 0; i < 2; ++i) {
            parts << QString::number(
                fixture_.Find<QComboBox>(QStringLiteral("cmbSailh(%1)").arg(i))->currentIndex());
            parts << QString::number(
                fixture_.Find<QRadioButton>(QStringLiteral("tipocielo(%1)").arg(i))->isChecked());
        }
        for (int entry = 1; entry <= 8; ++entry)
            parts << QString::number(Menu211(entry)->isChecked());
        return parts.join(QLatin1Char(' '));
    }

    // The charts on screen are those of a recomputation from the values the controls show.
    void CheckChartsShowTheControls() const
    {
        const auto number = [this](const char* name, int i) {
            return *widgets::ParseValueText(Box(name, i)->text());
        };
        leaf::LeafParameters leaf{number("txtProspect", 0), number("txtProspect", 1),
                                  number("txtProspect", 2), number("txtProspect", 3)};
        leaf.model = fixture_.window()->leafParameters().model;  // its rows' values, as shown
        if (leaf.model == leaf::LeafModel::ProspectPro) leaf.Cm = 0.0;
        const std::array<double leaf::LeafParameters::*, 5> extra = {
            &leaf::LeafParameters::Car, &leaf::LeafParameters::Anth, &leaf::LeafParameters::Cbrown,
            &leaf::LeafParameters::Prot, &leaf::LeafParameters::CBC};
        for (int i = 0; i < 5; ++i) {
            if (Box("txtProspectD", i)->isVisibleTo(fixture_.window()))
                leaf.*extra[static_cast<std::size_t>(i)] = number("txtProspectD", i);
        }
        canopy::CanopyInputs inputs = canopy::StartCanopyInputs();
        inputs.lai = number("txtSailh", 0);
        inputs.sunZenith = number("txtSailh", 1);
        inputs.viewAngle = number("txtSailh", 2);
        inputs.relAzimuth = number("txtSailh", 3);
        inputs.hotSpot = number("txtSailh", 4);
        inputs.leafArchitecture =
            fixture_.Find<QComboBox>("cmbSailh(0)")->currentData().toString().toStdString();
        inputs.soil =
            fixture_.Find<QComboBox>("cmbSailh(1)")->currentData().toString().toStdString();
        inputs.visibility = fixture_.Find<QRadioButton>("tipocielo(0)")->isChecked()
                                ? canopy::Visibility::Km15
                                : canopy::Visibility::Km50;
        plot::ChartBackground background;
        for (int entry = 1; entry <= 8; ++entry) {
            if (Menu211(entry)->isChecked()) background.checkedEntry = entry;
        }
        const int k = fixture_.Find<widgets::ChartView>("pctProspect")->SurfacePixelScale();
        plot::RasterSurface leafChart(
            fixture_.Find<widgets::ChartView>("pctProspect")->DisplayedScale(), k);
        plot::RasterSurface canopyChart(
            fixture_.Find<widgets::ChartView>("pctSailh")->DisplayedScale(), k);
        canopy::CanopyState state;
        refresh::Recompute(leaf, inputs, state, {leafChart, canopyChart}, background);
        QImage leafImage = leafChart.image(), canopyImage = canopyChart.image();
        leafImage.setDevicePixelRatio(Chart("pctProspect").devicePixelRatio());
        canopyImage.setDevicePixelRatio(Chart("pctSailh").devicePixelRatio());
        QCOMPARE(Chart("pctProspect"), leafImage);
        QCOMPARE(Chart("pctSailh"), canopyImage);
    }

private slots:
    // Settings of this program only, emptied before each test: the window remembers its dock,
    // its background and its place.
    void initTestCase() { testing::UseScratchSettings(); }
    void init()
    {
        QSettings().clear();
        fixture_.Open();
        replacements_ = std::make_unique<testing::FileReplacements>();
    }
    void cleanup()
    {
        replacements_.reset();
        fixture_.Close();
    }

    void opensWithTheDescribedControls()
    {
        QCOMPARE(fixture_.window()->objectName(), QStringLiteral("frmTulmera"));
        QCOMPARE(fixture_.window()->windowTitle(), QStringLiteral("Tulmera"));
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
        QCOMPARE(fixture_.Find<QLabel>("lblProspect(0)")->text(),
                 QStringLiteral("Estructura interna de la hoja (N):"));
        QCOMPARE(fixture_.Find<QLabel>("lblSailh(7)")->text(),
                 QStringLiteral("Parámetro Hot-Spot:"));
        QCOMPARE(fixture_.Find<QComboBox>("cmbSailh(0)")->currentText(),
                 QStringLiteral("Planofilo"));
        QCOMPARE(fixture_.Find<QComboBox>("cmbSailh(0)")->count(), 5);
        QCOMPARE(fixture_.Find<QComboBox>("cmbSailh(1)")->currentText(),
                 QStringLiteral("S1:61% arena 24% limo 15% arcilla"));
        QVERIFY(fixture_.Find<QRadioButton>("tipocielo(0)")->isChecked());
        QVERIFY(!fixture_.Find<QRadioButton>("tipocielo(1)")->isChecked());
        for (int entry = 1; entry <= 8; ++entry) QCOMPARE(Menu211(entry)->isChecked(), entry == 1);
        QCOMPARE(fixture_.Find<widgets::LegendSwatch>("Line3")->color(), QColor(200, 100, 0));
        // The charts are 317 x 165 at 96 dpi, and that many times the screen's pixel ratio.
        const widgets::ChartView* leafChart = fixture_.Find<widgets::ChartView>("pctProspect");
        const int k = leafChart->SurfacePixelScale();
        QCOMPARE(leafChart->image().width(), 317 * k);
        QCOMPARE(fixture_.Find<widgets::ChartView>("pctSailh")->image().height(), 165 * k);
        QCOMPARE(leafChart->size(), QSize(317 + 4, 165 + 4));
        QCOMPARE(fixture_.window()
                     ->findChildren<QLabel*>(QRegularExpression("^lblGrid\\(\\d+\\)$"))
                     .size(),
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
        QCOMPARE(fixture_.window()->leafParameters().Cw, 0.0007);
    }

    void aLeafBarRewritesBothFilesAndBothCharts()
    {
        const std::string vp = FileBytes("VP.dat"), vs = FileBytes("VS.dat");
        const QImage leaf = Chart("pctProspect"), canopy = Chart("pctSailh");
        Bar("hsbProspect", 1)->setValue(4000);
        QCOMPARE(fixture_.window()->leafParameters().Cab, 40.0);
        QVERIFY(FileBytes("VP.dat") != vp);
        QVERIFY(FileBytes("VS.dat") != vs);
        QVERIFY(Chart("pctProspect") != leaf);
        QVERIFY(Chart("pctSailh") != canopy);
    }

    void aCanopyBarRerunsTheLeafRunToo()
    {
        Bar("hsbSailh", 0)->setValue(300);
        QCOMPARE(replacements_->Count("VP.dat"), 1);
        QCOMPARE(replacements_->Count("VS.dat"), 1);
        QCOMPARE(fixture_.window()->canopyState().lai, 3.0);
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
        fixture_.Find<QRadioButton>("tipocielo(1)")->click();
        QCOMPARE(Refreshes(), 1);
        QCOMPARE(fixture_.window()->canopyState().lai, 0.15);
        QCOMPARE(fixture_.window()->canopyState().visibilityKm, 50);
        Bar("hsbSailh", 4)->setValue(10);  // a canopy bar rewrites all five texts from the bars
        QCOMPARE(Box("txtSailh", 0)->text(), QStringLiteral("0.1"));
        QCOMPARE(fixture_.window()->canopyState().lai, 0.1);
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
        QCOMPARE(fixture_.Status(),
                 QStringLiteral("Indice de área foliar (LAI): «dos» no es un número. (y 1 más)"));
        QVERIFY(fixture_.window()->statusBar()->toolTip().contains(
            QStringLiteral("«3,5» no es un número")));
        QCOMPARE(FileBytes("VS.dat"), vs);  // recomputed with the kept values: the same file

        Bar("hsbSailh", 0)->setValue(250);  // the next good recomputation clears the message
        QVERIFY(fixture_.Status().isEmpty());
        QVERIFY(fixture_.window()->statusBar()->toolTip().isEmpty());
    }

    // Typing a value and pressing Enter applies it at once, or refuses it and shows the value in
    // use; either way the box, its bar, the model's value and the charts agree afterwards.
    void typedValuesActOnEnter_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("bar");
        QTest::addColumn<double>("used");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("refreshes");
        const QString none;
        QTest::newRow("leaf good") << "txtProspect(0)"
                                   << "2.5"
                                   << "2.5" << 250 << 2.5 << none << 1;
        QTest::newRow("leaf rounded") << "txtProspect(1)"
                                      << "40.123"
                                      << "40.12" << 4012 << 40.12
                                      << "Contenido de clorofila a+b (u.g.cm-2): 40.123 se "
                                         "redondea a 40.12."
                                      << 1;
        QTest::newRow("leaf top end") << "txtProspect(2)"
                                      << "0.07"
                                      << "0.07" << 700 << 0.07 << none << 1;
        QTest::newRow("leaf beyond its bar")
            << "txtProspect(0)"
            << "8"
            << "8" << 400 << 8.0
            << "Estructura interna de la hoja (N): 8 se usa; la barra queda en su extremo (4)."
            << 1;
        QTest::newRow("leaf below its bar (an albino leaf)")
            << "txtProspect(1)"
            << "0"
            << "0" << 1500 << 0.0
            << "Contenido de clorofila a+b (u.g.cm-2): 0 se usa; la barra queda en su extremo "
               "(15)."
            << 1;
        QTest::newRow("leaf outside the model")
            << "txtProspect(0)"
            << "150"
            << "1" << 100 << 1.0 << "Estructura interna de la hoja (N): 150 está fuera de 1 a 100."
            << 0;
        QTest::newRow("leaf no number") << "txtProspect(3)"
                                        << "abc"
                                        << "0.002" << 20 << 0.002
                                        << "Contenido de materia seca (g.cm-2): «abc» no es un "
                                           "número."
                                        << 0;
        QTest::newRow("canopy good") << "txtSailh(1)"
                                     << "45"
                                     << "45" << 4500 << 45.0 << none << 1;
        QTest::newRow("canopy between positions") << "txtSailh(1)"
                                                  << "45.004"
                                                  << "45.004" << 4500 << 45.004 << none << 1;
        QTest::newRow("canopy beyond its bar")
            << "txtSailh(0)"
            << "8"
            << "8" << 700 << 8.0
            << "Indice de área foliar (LAI): 8 se usa; la barra queda en su extremo (7)." << 1;
        QTest::newRow("canopy outside the model")
            << "txtSailh(1)"
            << "120"
            << "0" << 0 << 0.0 << "Ángulo cenital solar: 120 está fuera de 0 a 90." << 0;
        QTest::newRow("canopy no number")
            << "txtSailh(4)"
            << "x"
            << "0" << 0 << 0.0 << "Parámetro Hot-Spot: «x» no es un número." << 0;
    }
    void typedValuesActOnEnter()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QLineEdit* edit = fixture_.Find<QLineEdit>(box);
        edit->clear();
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QTEST(edit->text(), "shown");
        QString barName = box;
        barName.replace(QStringLiteral("txt"), QStringLiteral("hsb"));
        QTEST(fixture_.Find<QScrollBar>(barName)->value(), "bar");
        QTEST(ModelValue(box), "used");
        QTEST(fixture_.Status(), "status");
        QTEST(Refreshes(), "refreshes");
        CheckChartsShowTheControls();
    }

    // A refused value marks its box and says why in full beside the boxes, with no tooltip to
    // hover; the next good value in that box (typed, or its bar moved) takes the mark away.
    // Numbers are read with a point under a Spanish locale too, and a decimal comma is told so.
    void aRefusedValueIsMarkedAndSaidBesideItsBox_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("good");
        QTest::newRow("leaf, no number")
            << "txtProspect(3)"
            << "abc"
            << "lblRechazoHoja"
            << "Contenido de materia seca (g.cm-2): «abc» no es un número."
            << "0.004";
        QTest::newRow("leaf, outside the model")
            << "txtProspect(0)"
            << "150"
            << "lblRechazoHoja"
            << "Estructura interna de la hoja (N): 150 está fuera de 1 a 100."
            << "2";
        QTest::newRow("leaf, decimal comma")
            << "txtProspect(0)"
            << "1,5"
            << "lblRechazoHoja"
            << "Estructura interna de la hoja (N): «1,5» no es un número; escriba el decimal "
               "con punto: 1.5."
            << "1.5";
        QTest::newRow("canopy, outside the model")
            << "txtSailh(1)"
            << "120"
            << "lblRechazoDosel"
            << "Ángulo cenital solar: 120 está fuera de 0 a 90."
            << "30";
        QTest::newRow("canopy, decimal comma")
            << "txtSailh(0)"
            << "3,5"
            << "lblRechazoDosel"
            << "Indice de área foliar (LAI): «3,5» no es un número; escriba el decimal con "
               "punto: 3.5."
            << "3.5";
    }
    void aRefusedValueIsMarkedAndSaidBesideItsBox()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, note);
        QFETCH(QString, reason);
        QFETCH(QString, good);
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
        fixture_.window()->show();
        QLineEdit* edit = fixture_.Find<QLineEdit>(box);
        auto* said = fixture_.Find<QLabel>(note);
        QVERIFY(!said->isVisible());
        edit->setText(typed);
        emit edit->editingFinished();
        QVERIFY(widgets::IsMarkedRefused(edit));
        QVERIFY(said->isVisible());
        QCOMPARE(said->text(), reason);  // whole, in the window itself
        QCOMPARE(fixture_.Status(), reason);

        edit->setText(good);
        emit edit->editingFinished();
        QLocale::setDefault(before);
        QVERIFY(!widgets::IsMarkedRefused(edit));
        QVERIFY(!said->isVisible());
        QCOMPARE(ModelValue(box), widgets::ParseValueText(good).value());
    }

    // Two marked boxes are said one per line; moving one's bar clears only its mark.
    void aMovedBarClearsOnlyItsOwnMark()
    {
        fixture_.window()->show();
        Box("txtSailh", 1)->setText(QStringLiteral("95"));
        emit Box("txtSailh", 1)->editingFinished();
        Box("txtSailh", 2)->setText(QStringLiteral("?"));
        emit Box("txtSailh", 2)->editingFinished();
        auto* said = fixture_.Find<QLabel>(QStringLiteral("lblRechazoDosel"));
        QCOMPARE(said->text().count(QLatin1Char('\n')), 1);
        Bar("hsbProspect", 0)->setValue(300);  // another group: the canopy marks stay
        QVERIFY(widgets::IsMarkedRefused(Box("txtSailh", 1)));
        Bar("hsbSailh", 1)->setValue(2000);  // all canopy boxes from their bars again
        QVERIFY(!widgets::IsMarkedRefused(Box("txtSailh", 1)));
        QVERIFY(!widgets::IsMarkedRefused(Box("txtSailh", 2)));
        QVERIFY(!said->isVisible());
    }

    // A leaf value typed beyond its bar stays in use while other bars move, is what the working
    // file holds, and comes back when a later recomputation is refused; typing the bar's end
    // value afterwards uses that value, although the bar does not move.
    void aLeafValueBeyondItsBarStaysInUse()
    {
        Box("txtProspect", 0)->setText(QStringLiteral("10"));
        emit Box("txtProspect", 0)->editingFinished();
        Bar("hsbProspect", 1)->setValue(4000);
        QCOMPARE(Box("txtProspect", 0)->text(), QStringLiteral("10"));
        leaf::LeafParameters expectedLeaf = leaf::kStartLeafParameters;
        expectedLeaf.N = 10.0;
        expectedLeaf.Cab = 40.0;
        QVERIFY(fixture_.window()->leafParameters() == expectedLeaf);
        textio::PrintedText expected;
        leaf::PrintLeafSpectrum(expected, leaf::ComputeLeafSpectrum(expectedLeaf));
        QCOMPARE(FileBytes("VP.dat"), expected.str());

        {
            const testing::ScopedFileSizeLimit tiny(100);  // the recomputation fails
            Bar("hsbProspect", 1)->setValue(5000);
        }
        QCOMPARE(Bar("hsbProspect", 1)->value(), 4000);
        QCOMPARE(Box("txtProspect", 0)->text(), QStringLiteral("10"));
        QCOMPARE(fixture_.window()->leafParameters().N, 10.0);

        Box("txtProspect", 0)->setText(QStringLiteral("4"));
        emit Box("txtProspect", 0)->editingFinished();
        QCOMPARE(Bar("hsbProspect", 0)->value(), 400);
        QCOMPARE(fixture_.window()->leafParameters().N, 4.0);
        CheckChartsShowTheControls();
    }

    // A recomputation that fails leaves every control at the last good recomputation's input.
    void aFailedRecomputationRestoresEveryControl()
    {
        Bar("hsbProspect", 0)->setValue(250);
        fixture_.Find<QComboBox>("cmbSailh(1)")->setCurrentIndex(2);
        fixture_.Find<QRadioButton>("tipocielo(1)")->click();
        Menu211(3)->trigger();
        const QString good = ControlsText();
        const std::string vs = FileBytes("VS.dat");
        const QImage canopy = Chart("pctSailh");

        Box("txtSailh", 1)->setText(QStringLiteral("30"));
        fixture_.Find<QComboBox>("cmbSailh(0)")->setCurrentIndex(3);
        fixture_.Find<QRadioButton>("tipocielo(0)")->setChecked(true);
        {
            const testing::ScopedFileSizeLimit tiny(100);  // "VP.dat" cannot be written whole
            Bar("hsbProspect", 1)->setValue(4000);
        }
        QVERIFY2(fixture_.Status().startsWith(QStringLiteral("No se pudo recalcular")),
                 qPrintable(fixture_.Status()));
        QVERIFY(!fixture_.window()->statusBar()->toolTip().isEmpty());  // the cause, on demand
        QCOMPARE(ControlsText(), good);
        QCOMPARE(fixture_.window()->leafParameters().Cab, 15.0);
        QCOMPARE(Chart("pctSailh"), canopy);
        QCOMPARE(FileBytes("VS.dat"), vs);
        Menu211(3)->trigger();  // usable again, with the controls as shown
        QVERIFY(fixture_.Status().isEmpty());
        QCOMPARE(ControlsText(), good);
        CheckChartsShowTheControls();
    }

    void theSoilListRefusesFreeTextAndReachesTheModelByKey()
    {
        QComboBox* soil = fixture_.Find<QComboBox>("cmbSailh(1)");
        QVERIFY(!soil->isEditable());  // nothing but its entries can be chosen
        soil->setFocus();
        QTest::keyClicks(soil, QStringLiteral("arena"));  // begins no entry: nothing chosen
        QCOMPARE(soil->currentIndex(), 0);
        QTest::keyClick(soil, Qt::Key_Down);
        QCOMPARE(Refreshes(), 1);
        QCOMPARE(fixture_.window()->canopyState().soilRefl.front(), 3.589);
        QCOMPARE(fixture_.window()->ExportHeader().soil,
                 std::string("S2:32% arena 39% limo 29% arcilla"));
        soil->setItemText(1, QStringLiteral("Suelo dos"));  // a caption never changes the model
        Menu211(1)->trigger();
        QCOMPARE(fixture_.window()->canopyState().soilRefl.front(), 3.589);
        QCOMPARE(fixture_.window()->ExportHeader().soil,
                 std::string("S2:32% arena 39% limo 29% arcilla"));
    }

    void restoringTheStartValuesResetsEveryControl()
    {
        const QString start = ControlsText();
        const QImage leaf = Chart("pctProspect");
        Bar("hsbProspect", 0)->setValue(250);
        Box("txtSailh", 0)->setText(QStringLiteral("3"));
        fixture_.Find<QComboBox>("cmbSailh(0)")->setCurrentIndex(2);
        fixture_.Find<QRadioButton>("tipocielo(1)")->click();
        Menu211(5)->trigger();
        QVERIFY(ControlsText() != start);
        fixture_.Find<QAction>("menu22")->trigger();
        QCOMPARE(ControlsText(), start);
        QCOMPARE(Chart("pctProspect"), leaf);
        QCOMPARE(fixture_.Find<QAction>("menu22")->text(),
                 QStringLiteral("&Restablecer valores iniciales"));
    }

    void draggingTheThumbRecomputesOnlyOnRelease()
    {
        QScrollBar* bar = Bar("hsbProspect", 0);
        bar->setSliderDown(true);
        bar->setSliderPosition(250);
        bar->setSliderPosition(300);
        QCOMPARE(Refreshes(), 0);
        QCOMPARE(fixture_.window()->leafParameters().N, 1.0);
        bar->setSliderDown(false);
        QCOMPARE(Refreshes(), 1);
        QCOMPARE(fixture_.window()->leafParameters().N, 3.0);
    }

    // Tab walks the controls in reading order, scroll bars included, and the keys move a bar.
    void tabReachesEveryControlInReadingOrder()
    {
        fixture_.window()->show();
        QStringList chain;
        for (QWidget* w = fixture_.window()->nextInFocusChain(); w != fixture_.window();
             w = w->nextInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && !w->objectName().isEmpty()
                && !w->objectName().startsWith(QLatin1String("qt_"))) {
                chain << w->objectName();
            }
        }
        QStringList expected;
        for (int i = 0; i < 4; ++i)
            expected << Indexed("hsbProspect", i) << Indexed("txtProspect", i);
        for (int i = 0; i < 5; ++i) expected << Indexed("hsbSailh", i) << Indexed("txtSailh", i);
        expected << "cmbSailh(0)"
                 << "cmbSailh(1)"
                 << "tipocielo(0)";
        chain.removeIf([&](const QString& name) { return !expected.contains(name); });
        QCOMPARE(chain, expected);

        QScrollBar* bar = Bar("hsbProspect", 0);
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_Right);
        QTest::keyClick(bar, Qt::Key_PageUp);
        QCOMPARE(bar->value(), 100);  // one step up, a page down to the bar's end
        QCOMPARE(Box("txtProspect", 0)->text(), QStringLiteral("1"));
        QTest::keyClick(bar, Qt::Key_PageDown);
        QCOMPARE(bar->value(), 150);
        QCOMPARE(fixture_.window()->leafParameters().N, 1.5);
    }

    // "Configuracion › Modelo de hoja": each model shows its own rows (the Cm row only where the
    // model has Cm), runs the leaf model it names, is remembered for the next window, and the
    // window still fits a 1280 x 720 screen with the most rows.
    void theLeafModelEntryShowsItsRowsRunsItAndIsRemembered_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("shownRows");  // of lblProspectD(0..4), then the Cm row
        QTest::newRow("classic") << "classic"
                                 << "-----C";
        QTest::newRow("prospect-d") << "prospect-d"
                                    << "012--C";
        QTest::newRow("prospect-pro") << "prospect-pro"
                                      << "01234-";
    }
    void theLeafModelEntryShowsItsRowsRunsItAndIsRemembered()
    {
        QFETCH(QString, model);
        QFETCH(QString, shownRows);
        fixture_.window()->show();
        fixture_.Find<QAction>(QStringLiteral("menu24(prospect-d)"))
            ->trigger();  // from another model
        fixture_.Find<QAction>(QStringLiteral("menu24(%1)").arg(model))->trigger();
        QString shown;
        for (int i = 0; i < 5; ++i) {
            const bool visible = fixture_.Find<QLabel>(Indexed("lblProspectD", i))->isVisible();
            QCOMPARE(Bar("hsbProspectD", i)->isVisible(), visible);
            QCOMPARE(Box("txtProspectD", i)->isVisible(), visible);
            shown += visible ? QString::number(i) : QStringLiteral("-");
        }
        shown += Bar("hsbProspect", 3)->isVisible() ? QStringLiteral("C") : QStringLiteral("-");
        QCOMPARE(shown, shownRows);

        const leaf::LeafParameters& used = fixture_.window()->leafParameters();
        QCOMPARE(QString::fromLatin1(leaf::LeafModelName(used.model).data()), model);
        QVERIFY(used == leaf::StartLeafParameters(used.model));
        textio::PrintedText expected;
        leaf::PrintLeafSpectrum(expected, leaf::ComputeLeafSpectrum(used));
        QCOMPARE(FileBytes("VP.dat"), expected.str());
        CheckChartsShowTheControls();

        QCoreApplication::processEvents();
        QVERIFY(fixture_.window()->minimumSizeHint().width() <= 1280);
        QVERIFY(fixture_.window()->minimumSizeHint().height() <= 720);
        fixture_.window()->resize(1280, 720);
        QCoreApplication::processEvents();
        QCOMPARE(testing::FirstClippedChild(*fixture_.window()), QString());

        fixture_.Reopen();
        QCOMPARE(QString::fromLatin1(
                     leaf::LeafModelName(fixture_.window()->leafParameters().model).data()),
                 model);
    }

    // The new rows act as the classic ones: a typed value moves its bar and is used, one beyond
    // the bar is refused and said; the start values keep the chosen model.
    void theModelRowsTakeTypedValuesAndRestoreTheStartValues()
    {
        QSettings().setValue(QStringLiteral("leaf/model"), QStringLiteral("prospect-d"));
        fixture_.Reopen();  // opens with the remembered model
        QLineEdit* n = Box("txtProspect", 0);
        n->setText(QStringLiteral("1.6"));
        emit n->editingFinished();
        QLineEdit* cab = Box("txtProspect", 1);  // a classic row under the newer model
        cab->setText(QStringLiteral("45"));
        emit cab->editingFinished();
        QCOMPARE(fixture_.window()->leafParameters().Cab, 45.0);
        QCOMPARE(fixture_.window()->leafParameters().model, leaf::LeafModel::ProspectD);
        QLineEdit* anth = Box("txtProspectD", 1);
        anth->setText(QStringLiteral("5"));
        emit anth->editingFinished();
        QCOMPARE(fixture_.window()->leafParameters().Anth, 5.0);
        QCOMPARE(Bar("hsbProspectD", 1)->value(), 50);
        anth->setText(QStringLiteral("41"));
        emit anth->editingFinished();
        QCOMPARE(fixture_.window()->leafParameters().Anth, 5.0);
        QCOMPARE(anth->text(), QStringLiteral("5"));
        QVERIFY(!fixture_.Status().isEmpty());
        QVERIFY(widgets::IsMarkedRefused(anth));  // the model's own rows are marked too
        QCOMPARE(fixture_.Find<QLabel>(QStringLiteral("lblRechazoHoja"))->text(),
                 fixture_.Status());
        Bar("hsbProspectD", 2)->setValue(40);
        QVERIFY(widgets::IsMarkedRefused(anth));  // another row's bar: the mark stays
        QCOMPARE(fixture_.window()->leafParameters().Cbrown, 0.4);
        CheckChartsShowTheControls();

        fixture_.Find<QAction>("menu22")->trigger();
        QVERIFY(fixture_.window()->leafParameters()
                == leaf::StartLeafParameters(leaf::LeafModel::ProspectD));
        QCOMPARE(anth->text(), QStringLiteral("0"));
        QVERIFY(!widgets::IsMarkedRefused(anth));
    }

    // On a 1280 x 720 screen (and at twice the pixels) the window fits: its minimum is smaller,
    // and at that size or at the minimum no control is squeezed below its own minimum or cut off
    // by its parent; what does not fit scrolls.
    void fitsASmallScreenWithoutClippingAControl_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("1280 x 720") << QSize(1280, 720);
        QTest::newRow("its minimum") << QSize();
    }
    void fitsASmallScreenWithoutClippingAControl()
    {
        QFETCH(QSize, size);
        const QSize minimum = fixture_.window()->minimumSizeHint();
        QVERIFY2(minimum.width() <= 1280 && minimum.height() <= 720,
                 qPrintable(QStringLiteral("%1 x %2").arg(minimum.width()).arg(minimum.height())));
        fixture_.window()->show();
        fixture_.window()->resize(size.isValid() ? size : minimum);
        QCoreApplication::processEvents();
        QCOMPARE(testing::FirstClippedChild(*fixture_.window()), QString());
    }

    // A larger window gives the charts more pixels, drawn afresh at that size (not stretched),
    // in the same user units: the same recomputation drawn on a surface of that size.
    void resizingRedrawsTheChartsAtTheirNewSize()
    {
        fixture_.window()->show();
        QCoreApplication::processEvents();
        const widgets::ChartView* leafView = fixture_.Find<widgets::ChartView>("pctProspect");
        const int k = leafView->SurfacePixelScale();
        const double usualNumber = fixture_.Find<QLabel>("lblGrid(0)")->font().pointSizeF();
        fixture_.window()->resize(1700, 1300);  // larger than everything needs, at any scale
        QCoreApplication::processEvents();
        const plot::ChartScale grown = leafView->DisplayedScale();
        QVERIFY2(grown.widthPx > 317 && grown.heightPx > 165,
                 qPrintable(QStringLiteral("%1 x %2").arg(grown.widthPx).arg(grown.heightPx)));
        QCOMPARE(leafView->image().size(), QSize(grown.widthPx, grown.heightPx) * k);
        QCOMPARE(leafView->image(), ExpectedLeafChart(leafView));
        // The axis numbers grow with the chart, and are back at their size with it.
        const auto* number = fixture_.Find<QLabel>("lblGrid(0)");
        QVERIFY(number->font().pointSizeF() > usualNumber);
        QVERIFY(number->geometry().right() < leafView->geometry().left());
        fixture_.window()->resize(fixture_.window()->minimumSizeHint());
        QCoreApplication::processEvents();
        if (leafView->DisplayedScale().widthPx == 317) {
            QCOMPARE(number->font().pointSizeF(), usualNumber);
        }

        // A value still being typed is no input of the redraw: the charts keep the last one.
        QTest::keyClicks(Box("txtSailh", 0), QStringLiteral("5"));
        fixture_.window()->resize(1600, 1200);
        QCoreApplication::processEvents();
        QCOMPARE(fixture_.window()->canopyState().lai, canopy::StartCanopyInputs().lai);
    }

    // Band numbers over the stripes, in the sensor's own numbering (Landsat-TM has no
    // reflective band 6); none over the grid.
    void theOverlaysNameTheirBands()
    {
        Menu211(4)->trigger();
        for (const char* chart : {"pctProspect", "pctSailh"}) {
            QStringList names;
            for (const auto& band :
                 fixture_.Find<widgets::ChartView>(QLatin1String(chart))->bandLabels()) {
                names << band.name;
            }
            QCOMPARE(names, QStringList({"1", "2", "3", "4", "5", "7"}));
        }
        Menu211(1)->trigger();
        QVERIFY(fixture_.Find<widgets::ChartView>("pctProspect")->bandLabels().empty());
    }

    // The leaf chart's axes: reflectance on the left, the transmittance on the right numbered
    // from 0 at the top to 1 at the bottom, as its curve is drawn; titles beside the numbers,
    // clear of the chart.
    void theLeafChartNumbersItsTransmittanceDownward()
    {
        fixture_.window()->show();
        QCoreApplication::processEvents();
        const auto* view = fixture_.Find<widgets::ChartView>("pctProspect");
        const QRect chart(view->mapTo(fixture_.window(), QPoint(0, 0)), view->size());
        const auto placed = [&](const char* name) {
            const auto* label = fixture_.Find<QLabel>(QLatin1String(name));
            return QRect(label->mapTo(fixture_.window(), QPoint(0, 0)), label->size());
        };
        QCOMPARE(fixture_.Find<QLabel>("lblEjeT(0)")->text(), QStringLiteral("0.0"));
        QCOMPARE(fixture_.Find<QLabel>("lblEjeT(5)")->text(), QStringLiteral("1.0"));
        const int frame = view->frameWidth();
        QVERIFY(std::abs(placed("lblEjeT(0)").center().y() - (chart.top() + frame)) <= 1);
        QVERIFY(std::abs(placed("lblEjeT(5)").center().y() - (chart.bottom() - frame)) <= 2);
        for (const char* name : {"lblEjeT(0)", "lblEjeT(5)", "lblEjeTransmisividad"}) {
            QVERIFY2(placed(name).left() > chart.right(), name);
        }
        for (const char* name : {"lblEjeReflectividadHoja", "lblEjeReflectividadDosel"}) {
            QVERIFY2(fixture_.Find<QLabel>(QLatin1String(name))->isVisible(), name);
        }
        QVERIFY(placed("lblEjeReflectividadHoja").right() < placed("lblGrid(0)").left());
    }

    // A window restored at a size remembered from an earlier run draws its charts at that
    // size as it shows: the start-up picture is a fresh drawing, not the first one stretched.
    void startsWithChartsDrawnAtTheirShownSize()
    {
        fixture_.window()->show();
        fixture_.window()->resize(1500, 1100);
        QCoreApplication::processEvents();
        fixture_.window()->hide();  // remembers its place and size
        replacements_.reset();
        fixture_.Reopen();
        fixture_.window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(fixture_.window()));
        QCoreApplication::processEvents();
        for (const char* name : {"pctProspect", "pctSailh"}) {
            const widgets::ChartView* view = fixture_.Find<widgets::ChartView>(QLatin1String(name));
            const plot::ChartScale shown = view->DisplayedScale();
            QVERIFY2(shown.widthPx > 317, name);
            QCOMPARE(view->image().size(),
                     QSize(shown.widthPx, shown.heightPx) * view->SurfacePixelScale());
        }
        const widgets::ChartView* leafView = fixture_.Find<widgets::ChartView>("pctProspect");
        QCOMPARE(leafView->image(), ExpectedLeafChart(leafView));
    }

    // "Ver › Modo presentación": a shortcut, remembered, larger texts around the charts and
    // thicker curves; switched off, the charts are the usual ones pixel for pixel.
    void presentationModeIsRememberedAndThickensTheCurves()
    {
        const QImage usual = Chart("pctProspect");
        const double usualText = fixture_.Find<QLabel>("Label2")->font().pointSizeF();
        QAction* mode = fixture_.Find<QAction>("mnuModoPresentacion");
        QVERIFY(!mode->isChecked());
        QVERIFY(!mode->shortcut().isEmpty());
        mode->trigger();
        QCOMPARE(QSettings().value(QStringLiteral("view/presentationMode")).toBool(), true);
        QVERIFY(Chart("pctProspect") != usual);
        QVERIFY(fixture_.Find<QLabel>("Label2")->font().pointSizeF() > usualText);
        replacements_.reset();
        fixture_.Reopen();
        mode = fixture_.Find<QAction>("mnuModoPresentacion");
        QVERIFY(mode->isChecked());
        QVERIFY(Chart("pctProspect") != usual);
        mode->trigger();
        QCOMPARE(Chart("pctProspect"), usual);
        QCOMPARE(fixture_.Find<QLabel>("Label2")->font().pointSizeF(), usualText);
    }

    void theExitEntryAsksToEndAndClosingEmptiesTheFiles()
    {
        QSignalSpy exit(fixture_.window(), &MainWindow::ExitRequested);
        fixture_.Find<QAction>("menu13")->trigger();
        QCOMPARE(exit.count(), 1);
        // A value being typed when the window closes is dealt with before the files are emptied.
        fixture_.window()->show();
        QApplication::setActiveWindow(fixture_.window());
        Box("txtSailh", 0)->setFocus();
        QVERIFY(Box("txtSailh", 0)->hasFocus());
        QTest::keyClicks(Box("txtSailh", 0), QStringLiteral("5"));
        fixture_.window()->close();
        QCOMPARE(FileBytes("VP.dat"), std::string());
        QCOMPARE(FileBytes("VS.dat"), std::string());
    }
};

}  // namespace tulmera::app

QTEST_MAIN(tulmera::app::MainWindowTest)
#include "main_window_test.moc"
