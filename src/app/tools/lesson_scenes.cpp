// The user guide's lesson scenes: each lesson's windows, set up as its steps say.
#include "lesson_scenes.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cstdio>

#include "app/windows/canopy_sweep_window.h"
#include "app/windows/hemisphere_window.h"
#include "app/windows/leaf_sweep_window.h"
#include "app/windows/main_window.h"
#include "app/windows/measured_panel.h"
#include "app/windows/sensor_dock.h"
#include "canopy/canopy_run.h"
#include "leaf/leaf_parameters.h"
#include "leaf/leaf_spectrum.h"

namespace {

// Each scene's window opens at its natural size and without docks: windows remember their
// place, size and docks when they go, and the scene before must not set this one's.
void ForgetWindowLayouts()
{
    QSettings settings;
    settings.remove(QStringLiteral("windows"));
    settings.remove(QStringLiteral("sensorDock"));
}

template <typename T>
T* In(QWidget* window, const char* name)
{
    T* child = window->findChild<T*>(QLatin1String(name));
    if (child == nullptr) std::fprintf(stderr, "make_screenshots: no control %s\n", name);
    return child;
}

void Type(QWidget* window, const char* box, const QString& text)
{
    auto* edit = In<QLineEdit>(window, box);
    edit->setText(text);
    emit edit->editingFinished();
}

// Lesson 1: the leaf sweep of chlorophyll, then of water, at the limits the window proposes.
bool LeafConstituents(const QString& out)
{
    bool ok = true;
    for (const auto& [option, name] : {std::pair{"btOption(1)", "lesson1-cab.png"},
                                       std::pair{"btOption(2)", "lesson1-cw.png"}}) {
        ForgetWindowLayouts();
        tulmera::app::LeafSweepWindow sweep;
        In<QRadioButton>(&sweep, option)->click();
        In<QPushButton>(&sweep, "btok")->click();
        ok = SaveWindowPicture(&sweep, out + QLatin1Char('/') + QLatin1String(name)) && ok;
    }
    return ok;
}

// Lesson 2: a thin canopy (LAI 0.1) and a dense one (LAI 3) over the sandy soil S1.
bool SoilUnderACanopy(const QString& out)
{
    bool ok = true;
    for (const auto& [lai, name] :
         {std::pair{"0.1", "lesson2-lai01.png"}, std::pair{"3", "lesson2-lai3.png"}}) {
        ForgetWindowLayouts();
        tulmera::app::MainWindow window;
        Type(&window, "txtSailh(0)", QLatin1String(lai));
        ok = SaveWindowPicture(&window, out + QLatin1Char('/') + QLatin1String(name)) && ok;
    }
    return ok;
}

// The canopy sweep of `parameter` (index of its list) over `canopy`, showing `quantity`.
bool CanopySweep(const tulmera::canopy::CanopyInputs& canopy, int parameter,
                 const QString& quantity, const QString& path)
{
    tulmera::leaf::LeafParameters leaf{1.5, 40, 0.01, 0.005};
    ForgetWindowLayouts();
    tulmera::app::CanopySweepWindow sweep(leaf, canopy);
    In<QComboBox>(&sweep, "cmbParametro")->setCurrentIndex(parameter);
    In<QPushButton>(&sweep, "btok")->click();
    if (!quantity.isEmpty()) In<QComboBox>(&sweep, "cmbMagnitud")->setCurrentText(quantity);
    return SaveWindowPicture(&sweep, path);
}

// The hemispherical view of `canopy` (with the lessons' leaf) at 670 nm.
bool HemisphereView(const tulmera::canopy::CanopyInputs& canopy, const QString& path)
{
    const tulmera::leaf::LeafParameters leaf{1.5, 40, 0.01, 0.005};
    const tulmera::leaf::LeafSpectrum spectrum = tulmera::leaf::ComputeLeafSpectrum(leaf);
    tulmera::spectral::Spectrum reflPct{}, transPct{};
    for (std::size_t i = 0; i < reflPct.size(); ++i) {
        reflPct[i] = 100.0 * spectrum.refl[i];
        transPct[i] = 100.0 * spectrum.trans[i];
    }
    ForgetWindowLayouts();
    tulmera::app::HemisphereWindow window;
    window.Follow(leaf, canopy,
                  tulmera::canopy::ComputeCanopySpectrum(canopy, reflPct, transPct, {}));
    return SaveWindowPicture(&window, path);
}

// Lesson 3: NDVI against LAI. Lesson 4: the reflectance at 670 nm (the red, where shadows
// matter most) across the principal plane with the sun at 30 degrees and the physical sky mix,
// without and with the hot spot, then with the classic mix, which hides it under the diffuse
// light; and the whole view hemisphere.
bool CanopySweeps(const QString& out)
{
    tulmera::canopy::CanopyInputs canopy = tulmera::canopy::StartCanopyInputs();
    bool ok =
        CanopySweep(canopy, 0, QStringLiteral("NDVI"), out + QStringLiteral("/lesson3-ndvi.png"));
    canopy.lai = 3;
    canopy.sunZenith = 30;
    canopy.skyMix = tulmera::canopy::SkyMix::Physical;
    for (const auto& [hotSpot, name] :
         {std::pair{0.0, "lesson4-hotspot0.png"}, std::pair{0.2, "lesson4-hotspot02.png"}}) {
        canopy.hotSpot = hotSpot;
        ok = CanopySweep(canopy, 5, QStringLiteral("670 nm"),
                         out + QLatin1Char('/') + QLatin1String(name))
             && ok;
    }
    ok = HemisphereView(canopy, out + QStringLiteral("/lesson4-hemisphere.png")) && ok;
    canopy.skyMix = tulmera::canopy::SkyMix::Classic;
    return CanopySweep(canopy, 5, QStringLiteral("670 nm"),
                       out + QStringLiteral("/lesson4-classic.png"))
           && ok;
}

// Lesson 5: two canopies with the same NDVI (0.86) in the dock "Sensor e índices", then the
// leaf fit of the first example leaf.
bool Equifinality(const QString& out)
{
    bool ok = true;
    for (const auto& [lai, architecture, name] : {std::tuple{"1.5", 0, "lesson5-planofilo.png"},
                                                  std::tuple{"1.8", 1, "lesson5-erectofilo.png"}}) {
        ForgetWindowLayouts();
        tulmera::app::MainWindow window;
        Type(&window, "txtProspect(1)", QStringLiteral("40"));
        Type(&window, "txtProspect(2)", QStringLiteral("0.01"));
        Type(&window, "txtProspect(3)", QStringLiteral("0.005"));
        Type(&window, "txtSailh(0)", QLatin1String(lai));
        auto* architectures = In<QComboBox>(&window, "cmbSailh(0)");
        architectures->setCurrentIndex(architecture);
        emit architectures->activated(architecture);  // as a choice of the user's recomputes
        In<QAction>(&window, "viewSensorDock")->trigger();
        window.resize(window.size()
                      + In<tulmera::app::SensorDock>(&window, "sensorDock")->RoomBeside());
        ok = SaveWindowPicture(&window, out + QLatin1Char('/') + QLatin1String(name)) && ok;
    }
    ForgetWindowLayouts();
    tulmera::app::MainWindow window;
    ok = FitExampleLeaf(&window) && ok;
    return SaveWindowPicture(&window, out + QStringLiteral("/lesson5-fit.png")) && ok;
}

// Lesson 6: an autumn leaf under PROSPECT-D, with the band values of Sentinel-2 in the dock:
// green, then chlorophyll falling while anthocyanins rise, then brown pigments at the end.
bool AutumnLeaf(const QString& out)
{
    struct Stage {
        const char* cab;
        const char* car;
        const char* anth;
        const char* brown;
        const char* name;
    };
    const Stage stages[] = {
        {"60", "14", "0", "0", "lesson6-green.png"},  // Cab: the bar runs from 15
        {"15", "7", "14", "0", "lesson6-red.png"},
        {"15", "4", "6", "0.6", "lesson6-brown.png"},
    };
    bool ok = true;
    for (const Stage& stage : stages) {
        ForgetWindowLayouts();
        QSettings().setValue(QStringLiteral("leaf/model"), QStringLiteral("prospect-d"));
        tulmera::app::MainWindow window;
        Type(&window, "txtProspect(0)", QStringLiteral("1.6"));
        Type(&window, "txtProspect(1)", QLatin1String(stage.cab));
        Type(&window, "txtProspect(2)", QStringLiteral("0.012"));
        Type(&window, "txtProspect(3)", QStringLiteral("0.005"));
        Type(&window, "txtProspectD(0)", QLatin1String(stage.car));
        Type(&window, "txtProspectD(1)", QLatin1String(stage.anth));
        Type(&window, "txtProspectD(2)", QLatin1String(stage.brown));
        Type(&window, "txtSailh(0)", QStringLiteral("3"));
        In<QAction>(&window, "viewSensorDock")->trigger();
        auto* dock = In<tulmera::app::SensorDock>(&window, "sensorDock");
        auto* sensors = In<QComboBox>(dock, "sensorChooser");
        const int sentinel2 =
            std::max(0, sensors->findText(QStringLiteral("Sentinel-2"), Qt::MatchContains));
        sensors->setCurrentIndex(sentinel2);
        emit sensors->activated(sentinel2);  // as a choice of the user's
        window.resize(window.size() + dock->RoomBeside());
        ok = SaveWindowPicture(&window, out + QLatin1Char('/') + QLatin1String(stage.name)) && ok;
    }
    QSettings().remove(QStringLiteral("leaf/model"));
    return ok;
}

}  // namespace

bool SaveLessonScenes(const QString& directory)
{
    bool ok = LeafConstituents(directory);
    ok = SoilUnderACanopy(directory) && ok;
    ok = CanopySweeps(directory) && ok;
    ok = AutumnLeaf(directory) && ok;
    return Equifinality(directory) && ok;
}

bool SaveWindowPicture(QWidget* window, const QString& path)
{
    window->show();
    QTest::qWait(200);  // let the window manager and the first paint settle
    const bool saved = window->grab().save(path);
    if (!saved) std::fprintf(stderr, "make_screenshots: cannot write %s\n", qPrintable(path));
    return saved;
}

bool FitExampleLeaf(QWidget* window)
{
    window->show();  // the panel makes room beside the charts of a shown window
    using tulmera::app::MeasuredKind;
    auto* panel = In<tulmera::app::MeasuredPanel>(window, "dckMedido");
    const QString examples = QStringLiteral(TULMERA_EXAMPLES_DIR);
    if (!panel->LoadFile(examples + QStringLiteral("/leaf_reflectance.csv"), 0,
                         MeasuredKind::LeafReflectance)
        || !panel->LoadFile(examples + QStringLiteral("/leaf_transmittance.csv"), 0,
                            MeasuredKind::LeafTransmittance)) {
        std::fprintf(stderr, "make_screenshots: cannot load the example leaf\n");
        return false;
    }
    QSignalSpy finished(panel, &tulmera::app::MeasuredPanel::FitFinished);
    In<QPushButton>(panel, "cmdAjustarHoja")->click();
    if (!finished.wait(60000) || !panel->fitResult()) return false;
    In<QPushButton>(panel, "cmdAplicarAjuste")->click();
    return true;
}
