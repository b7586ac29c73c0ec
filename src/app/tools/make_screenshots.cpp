// Takes the screenshots of the README: the splash, the main window with the grid and with a
// sensor's bands, with the dock "Sensor e índices", the main window with a measured leaf
// fitted and with a measured canopy fitted, the multiple-simulation window after a 25-value
// sweep, and the canopy sweep window with NDVI against LAI and with the hot spot of a
// principal-plane sweep. With a second directory, also the user guide's lesson pictures there,
// in Spanish (es/) and in English (en/). Run it under a virtual display from an empty
// directory: scripts/screenshots does both.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "app/language.h"
#include "app/tulmera_app.h"
#include "app/widgets/controls.h"
#include "app/widgets/pictures.h"
#include "app/windows/measured_panel.h"
#include "app/windows/sensor_dock.h"
#include "lesson_scenes.h"
#include "multi/canopy_sweep.h"

namespace {

// A canopy sweep of `parameter` (its default limits) with `quantity` on the second chart.
bool SweepCanopy(QWidget* window, tulmera::multi::CanopySweptParameter parameter,
                 const QString& quantity)
{
    auto* quantities = window->findChild<QComboBox*>(QStringLiteral("cmbMagnitud"));
    const int entry = quantities->findText(quantity);
    if (entry < 0) {
        std::fprintf(stderr, "make_screenshots: no quantity %s\n", qPrintable(quantity));
        return false;
    }
    window->findChild<QComboBox*>(QStringLiteral("cmbParametro"))
        ->setCurrentIndex(static_cast<int>(parameter));
    quantities->setCurrentIndex(entry);
    window->findChild<QPushButton*>(QStringLiteral("btok"))->click();
    return true;
}

// The example canopy "closed" loaded, fitted against a table and the fit applied.
bool ShowMeasuredCanopy(QWidget* main)
{
    using tulmera::app::MeasuredKind;
    auto* panel = main->findChild<tulmera::app::MeasuredPanel*>(QStringLiteral("dckMedido"));
    if (!panel->LoadFile(QStringLiteral(TULMERA_EXAMPLES_DIR "/canopy_reflectance.csv"), 1,
                         MeasuredKind::CanopyReflectance)) {
        std::fprintf(stderr, "make_screenshots: cannot load the example canopy\n");
        return false;
    }
    QSignalSpy finished(panel, &tulmera::app::MeasuredPanel::FitFinished);
    panel->findChild<QPushButton*>(QStringLiteral("cmdAjustarDosel"))->click();
    if (!finished.wait(60000) || !panel->canopyFitResult()) return false;
    panel->findChild<QPushButton*>(QStringLiteral("cmdAplicarAjuste"))->click();
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // Settings of this run only: neither the user's nor those an earlier run left.
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: make_screenshots OUTPUT_DIR [GUIDE_IMAGES_DIR]\n");
        return 2;
    }
    QApplication::setWindowIcon(
        QIcon(tulmera::widgets::PicturePixmap(tulmera::widgets::Picture::Icon, 64)));
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    tulmera::app::TulmeraApp app({}, [] {});
    app.Start();
    bool ok = SaveWindowPicture(app.splash(), out + QStringLiteral("/splash.png"));

    QTest::mouseClick(app.splash()->findChild<QLabel*>(QStringLiteral("Image2")), Qt::LeftButton);
    QWidget* main = app.mainWindow();
    ok = SaveWindowPicture(main, out + QStringLiteral("/main-grid.png")) && ok;
    main->findChild<QAction*>(QStringLiteral("menu211(4)"))->trigger();
    ok = SaveWindowPicture(main, out + QStringLiteral("/main-landsat.png")) && ok;
    // The dock "Sensor e índices" beside the charts, with Sentinel-2's bands on them; the
    // window grows by the dock's width so that the charts keep theirs.
    main->findChild<QAction*>(QStringLiteral("menu211(9)"))->trigger();
    const QSize withoutDock = main->size();
    main->findChild<QAction*>(QStringLiteral("viewSensorDock"))->trigger();
    const auto* dock = main->findChild<tulmera::app::SensorDock*>(QStringLiteral("sensorDock"));
    bool laidOut = QTest::qWaitFor(
        [&] { return dock->isVisible() && dock->geometry().right() < main->width(); });
    const QSize grown = main->size() + dock->RoomBeside();
    main->resize(grown);
    laidOut = QTest::qWaitFor([&] { return main->size() == grown; }) && laidOut;
    if (!laidOut) std::fprintf(stderr, "make_screenshots: the dock was not laid out in time\n");
    ok = SaveWindowPicture(main, out + QStringLiteral("/main-sensor-dock.png")) && ok;
    if (dock->isVisible())  // closed again, the window at its size without it
        main->findChild<QAction*>(QStringLiteral("viewSensorDock"))->trigger();
    main->resize(withoutDock);
    main->findChild<QAction*>(QStringLiteral("menu211(1)"))->trigger();
    ok = FitExampleLeaf(main) && SaveWindowPicture(main, out + QStringLiteral("/main-measured.png"))
         && ok;
    ok = ShowMeasuredCanopy(main)
         && SaveWindowPicture(main, out + QStringLiteral("/main-canopy-fit.png")) && ok;

    // The canopy sweeps of the lessons: NDVI saturating along LAI 0.5 .. 8, and the hot spot
    // where the view meets the sun (40°) in the principal plane of a planophile canopy of
    // LAI 3 (hot spot 0.2), in the red, where the shadows the hot spot hides matter most.
    for (const auto& [box, value] :
         {std::pair{"txtSailh(0)", "3"}, {"txtSailh(1)", "40"}, {"txtSailh(4)", "0.2"}}) {
        auto* edit = main->findChild<QLineEdit*>(QLatin1String(box));
        edit->setText(QLatin1String(value));
        emit edit->editingFinished();
    }
    main->findChild<QAction*>(QStringLiteral("menu122"))->trigger();
    QWidget* canopySweep = app.canopySweepWindow();
    using tulmera::multi::CanopySweptParameter;
    ok = SweepCanopy(canopySweep, CanopySweptParameter::Lai, QStringLiteral("NDVI"))
         && SaveWindowPicture(canopySweep, out + QStringLiteral("/canopy-sweep-lai-ndvi.png"))
         && ok;
    ok = SweepCanopy(canopySweep, CanopySweptParameter::Plane, QStringLiteral("670 nm"))
         && SaveWindowPicture(canopySweep, out + QStringLiteral("/canopy-sweep-hot-spot.png"))
         && ok;

    main->findChild<QAction*>(QStringLiteral("menu121"))->trigger();
    QWidget* sweep = app.multiWindow();
    sweep->findChild<tulmera::widgets::DescendingScrollBar*>(QStringLiteral("vsmax"))
        ->SetDescendingValue(340);  // N from 1 to 3.4 by 0.1: 25 curves
    sweep->findChild<QPushButton*>(QStringLiteral("btok"))->click();
    ok = SaveWindowPicture(sweep, out + QStringLiteral("/multiple-simulation.png")) && ok;

    if (argc == 3) {
        const QString guide = QString::fromLocal8Bit(argv[2]);
        for (const auto language :
             {tulmera::app::Language::Spanish, tulmera::app::Language::English}) {
            QObject translators;  // the English translator lives for its language's scenes
            ok = tulmera::app::InstallTranslator(language, &translators) && ok;
            const QString directory =
                guide + QLatin1Char('/') + tulmera::app::LanguageCode(language);
            QDir().mkpath(directory);
            ok = SaveLessonScenes(directory) && ok;
        }
    }
    return ok ? 0 : 1;
}
