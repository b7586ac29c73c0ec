// The main window on a small screen with its docks: run on a 1280 x 720 screen and on a
// 1920 x 1080 screen at scale 2 (a projector at 200 %: 960 x 540 in layout units), both set by
// the offscreen platform's screen file.
#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QTest>

#include "app/widgets/chart_panel.h"
#include "app/windows/main_window.h"
#include "app/windows/measured_panel.h"
#include "support/scratch_settings.h"
#include "support/window_fixtures.h"

namespace tulmera::app {
namespace {

QRect InWindow(const QWidget* widget, const QWidget* window)
{
    return {widget->mapTo(window, QPoint(0, 0)), widget->size()};
}

QString Describe(const char* name, const QRect& r)
{
    return QStringLiteral("%1 at %2,%3 %4 x %5")
        .arg(QLatin1String(name))
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height());
}

}  // namespace

class MainWindowLayoutTest : public QObject {
    Q_OBJECT

private:
    testing::WindowFixture<MainWindow> fixture_;

    // The fitting of the window to its screen waits for the docks to settle: twice round.
    static void Settle()
    {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }

private slots:
    void initTestCase() { testing::UseScratchSettings(); }
    void init()
    {
        QSettings().clear();
        fixture_.Open();
    }
    void cleanup() { fixture_.Close(); }

    // Whatever docks are open, the window stays on the screen, each chart keeps at least
    // 300 x 160 and lies wholly in view with its numbers, titles and legend (not scrolled away,
    // not cut by the window), and every button of the measured panel is in view: docks take
    // room beside the charts, narrow or become tabs, never the charts' room.
    void chartsAndTheMeasuredPanelStayInView_data()
    {
        QTest::addColumn<bool>("sensorDock");
        QTest::addColumn<bool>("measuredPanel");
        QTest::newRow("no dock") << false << false;
        QTest::newRow("sensor dock") << true << false;
        QTest::newRow("measured panel") << false << true;
        QTest::newRow("both") << true << true;
    }
    void chartsAndTheMeasuredPanelStayInView()
    {
        QFETCH(bool, sensorDock);
        QFETCH(bool, measuredPanel);
        MainWindow* window = fixture_.window();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        Settle();
        if (sensorDock) fixture_.Find<QAction>("viewSensorDock")->trigger();
        Settle();
        auto* panel = fixture_.Find<MeasuredPanel>("dckMedido");
        if (measuredPanel) {
            QVERIFY(panel->LoadFile(QStringLiteral(TULMERA_EXAMPLES_DIR "/leaf_reflectance.csv"), 0,
                                    MeasuredKind::LeafReflectance));
            QVERIFY(panel->LoadFile(QStringLiteral(TULMERA_EXAMPLES_DIR "/canopy_reflectance.csv"),
                                    1, MeasuredKind::CanopyReflectance));
        }
        Settle();

        const QRect screen = window->screen()->availableGeometry();
        QVERIFY2(screen.contains(window->frameGeometry()),
                 qPrintable(Describe("window", window->frameGeometry())));
        const auto* scroller = fixture_.Find<QScrollArea>("scrTulmera");
        const QRect inView = InWindow(scroller->viewport(), window);
        for (const char* name : {"pctProspect", "pctSailh"}) {
            const auto* view = fixture_.Find<widgets::ChartView>(QLatin1String(name));
            const QRect chart = InWindow(view, window);
            QVERIFY2(view->width() >= 300 && view->height() >= 160,
                     qPrintable(Describe(name, chart)));
            QVERIFY2(inView.contains(chart) && window->rect().contains(chart),
                     qPrintable(Describe(name, chart)));
            // Its numbers, axis titles and legend too: a chart read without them is no use.
            for (const QLabel* text : view->parentWidget()->findChildren<QLabel*>()) {
                if (!text->isVisible() || text->text().isEmpty()) continue;
                const QRect placed = InWindow(text, window);
                const QString what =
                    text->objectName().isEmpty() ? text->text() : text->objectName();
                QVERIFY2(inView.contains(placed),
                         qPrintable(Describe(name, chart) + QStringLiteral(": ")
                                    + Describe(qPrintable(what), placed)));
            }
        }
        if (!measuredPanel) return;
        QVERIFY(panel->isVisible());
        const QWidget* shown = panel->findChild<QScrollArea*>()->viewport();
        const QRect panelView = InWindow(shown, window);
        for (const char* name : {"cmdQuitarMedido", "cmdAjustarHoja", "cmdCancelarAjuste",
                                 "cmdAjustarDosel", "cmdAplicarAjuste"}) {
            const auto* button = panel->findChild<QPushButton*>(QLatin1String(name));
            QVERIFY2(button->isVisible(), name);
            const QRect placed = InWindow(button, window);
            QVERIFY2(panelView.contains(placed) && window->rect().contains(placed),
                     qPrintable(Describe(name, placed)));
        }
    }

    // A dock closed again gives the bars their usual width back when the screen has room.
    void closingTheDockGivesTheControlsTheirWidthBack()
    {
        MainWindow* window = fixture_.window();
        window->show();
        Settle();
        const int usual = fixture_.Find<QScrollArea>("scrTulmera")->minimumWidth();
        QAction* dock = fixture_.Find<QAction>("viewSensorDock");
        dock->trigger();
        Settle();
        dock->trigger();
        Settle();
        QCOMPARE(fixture_.Find<QScrollArea>("scrTulmera")->minimumWidth(), usual);
    }
};

}  // namespace tulmera::app

QTEST_MAIN(tulmera::app::MainWindowLayoutTest)
#include "main_window_layout_test.moc"
