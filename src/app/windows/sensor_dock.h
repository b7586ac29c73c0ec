#pragma once
#include <QDockWidget>
#include <QSize>
#include <optional>

#include "canopy/canopy_run.h"

class QAction;
class QComboBox;
class QLabel;
class QMainWindow;
class QStatusBar;
class QTableWidget;

namespace tulmera::sensor {
struct Sensor;
}

namespace tulmera::app {

// The dock "Sensor e índices" beside the main window's charts: for one sensor, its bands with
// their regions (blue, red, NIR...), limits and the band values of the leaf reflectance and
// transmittance, the canopy reflectance and the soil reflectance (percent); then the
// vegetation indices of the canopy reflectance, from the 5 nm spectrum (the default) or from
// the sensor's bands, with a note saying which; and the sensor's broadband NDVI. The sensor is that
// of the checked "Gráficos" entry; with "Cuadricula" checked, the one chosen in the dock
// (Sentinel-2 MSI at first). Whether the dock is shown, where and, floating, its geometry are kept
// in the application's settings (QSettings) and restored when a window makes its dock again.
//
// Controls, by object name:
//   sensorDock (this), sensorName (the sensor shown), sensorChooser (the nine sensors),
//   bandTable (name, region, limits, values), indexSource, indexSourceNote, indexTable (index,
//   value, bands read), broadbandNdvi, fluxTable; the view entry that shows and hides the dock:
//   viewSensorDock.
class SensorDock : public QDockWidget {
    Q_OBJECT
public:
    // Adds itself to `window` where the settings say (right of the charts at first, hidden
    // at first). Failures of its own display go to `status`.
    SensorDock(QMainWindow* window, QStatusBar* status);

    // The checkable entry that shows and hides the dock, checked while it is shown.
    QAction* viewAction() const { return viewAction_; }

    // The room the dock takes beside the window's content when it is docked and shown: its
    // width at the left or right, its height at the top or bottom; nothing otherwise.
    QSize RoomBeside() const;

    // The width the dock takes beside the charts when the screen has room (44 characters); its
    // tables scroll sideways.
    int PreferredWidth() const;

    // Keeps the spectra of `state` (percent), the checked chart entry (1 .. 10) and the sky mix
    // the run used, and shows their values when the dock is not hidden (else when it is shown
    // again). Never throws: a failure is reported in the status line and the dock keeps its
    // previous values; fluxes that cannot be computed show "—" (with the reason in the status
    // line, unless `state` holds no canopy run: LAI 0).
    void Show(const canopy::CanopyState& state, int checkedEntry,
              canopy::SkyMix skyMix = canopy::SkyMix::Classic);

    // The sensor whose values the dock shows.
    const sensor::Sensor& ShownSensor() const;

protected:
    bool event(QEvent* event) override;

private:
    void Restore();
    void Remember() const;
    void Render();
    void FillBands(const sensor::Sensor& sensor);
    void FillIndices(const sensor::Sensor& sensor);
    bool FromBands() const;  // the indices from the sensor's bands, not the 5 nm spectrum
    void FillFluxes();
    void FitColumns(const sensor::Sensor& sensor);

    QMainWindow* window_;
    QStatusBar* status_;
    QAction* viewAction_ = nullptr;
    QLabel* sensorName_ = nullptr;
    QComboBox* sensorChooser_ = nullptr;
    QTableWidget* bandTable_ = nullptr;
    QComboBox* indexSource_ = nullptr;   // 5 nm spectrum (the default) or the sensor's bands
    QLabel* indexSourceNote_ = nullptr;  // says where the indices come from
    QTableWidget* indexTable_ = nullptr;
    QLabel* broadbandNdvi_ = nullptr;
    QTableWidget* fluxTable_ = nullptr;

    std::optional<canopy::CanopyState> shown_;  // the spectra of the last good recomputation
    int checkedEntry_ = 1;
    canopy::SkyMix skyMix_ = canopy::SkyMix::Classic;
    int chosenSensor_ = 0;  // the chooser's sensor (index of sensor::kSensors) for the grid
    bool stale_ = false;    // shown_ changed while the dock was hidden
    bool restoring_ = false;
    const sensor::Sensor* fittedSensor_ = nullptr;  // the columns' widths fit its table
};

}  // namespace tulmera::app
