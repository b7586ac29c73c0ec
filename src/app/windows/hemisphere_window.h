#pragma once
#include <QImage>
#include <QMainWindow>
#include <optional>
#include <vector>

#include "canopy/canopy_run.h"
#include "engine/engine.h"
#include "leaf/leaf_parameters.h"
#include "multi/sweep_quantity.h"
#include "plot/hemisphere_figure.h"

class QComboBox;
class QLabel;
class QSpinBox;

namespace tulmera::widgets {
class PresentationEntry;
}

namespace tulmera::app {

// "Vista hemisférica" (frmHemisferio): the canopy reflectance at one grid wavelength, or a
// vegetation index or a sensor's band value of the canopy reflectance, over the view hemisphere
// (view zenith 0 .. 80°, every relative azimuth, 5° steps) as a polar map with its colour bar, and
// beside it the cut through the principal plane. It follows the canopy the main window shows
// (Follow, at every good recomputation) and saves the figure as PNG or SVG and its values as CSV
// (view_zenith,azimuth,value). Directions the canopy model refuses have no value: grey on the map,
// a gap in the cut, an empty CSV field.
//
// Controls, by object name: spnLongitudOnda (the wavelength, nm), cmbMagnitudHemisferio (the
// wavelength's reflectance, or an index or a band as the canopy sweep names them), pctHemisferio
// (the figure),
// menu mnuArchivoHemisferio with mnuGuardarFiguraPng, mnuGuardarFiguraSvg, mnuGuardarValores;
// menu menuVer with mnuModoPresentacion (the figure on screen and saved in presentation style).
class HemisphereWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr double kStepDeg = 5.0;
    static constexpr double kMaxZenithDeg = 80.0;
    static constexpr int kStartWavelengthNm = 670;  // the red: where the hot spot shows best

    explicit HemisphereWindow(QWidget* parent = nullptr);

    // The leaf and the canopy inputs the main window computed last (their architecture and
    // soil as its state holds them: `state.lidf`, `state.soilRefl`). Recomputes at once when
    // the window is shown, else when it is shown again. Never throws: a failure is reported in
    // the status line and the last values stay.
    void Follow(const leaf::LeafParameters& leaf, const canopy::CanopyInputs& inputs,
                const canopy::CanopyState& state);

    // The values shown (for the tests): empty before the first computation.
    const plot::HemisphereValues& values() const { return values_; }
    const QImage& figureImage() const { return image_; }

    // Save the figure (PNG at 1600 pixels wide, or SVG; in presentation style while that mode
    // is on) or the values (CSV) into `fileName`, whole or not at all; they say in the status
    // line that they saved or why not.
    bool SaveFigure(const QString& fileName, bool svg);
    bool SaveValues(const QString& fileName);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildMenu();
    plot::FigureStyle Style() const;  // presentation style while "Modo presentación" is on
    void Recompute();
    engine::CanopyScene FollowedScene() const;
    std::vector<std::optional<double>> ReflectanceValues(int nm) const;
    std::vector<std::optional<double>> QuantityValues(const multi::SweepQuantity& quantity) const;
    void Redraw();
    plot::HemisphereTexts Texts() const;

    QSpinBox* wavelength_ = nullptr;
    QComboBox* quantity_ = nullptr;  // entry 0: the wavelength's reflectance; then indices, bands
    QLabel* picture_ = nullptr;
    widgets::PresentationEntry* presentation_ = nullptr;  // "Ver › Modo presentación"
    // What Follow gave last.
    bool following_ = false;
    leaf::LeafParameters followedLeaf_ = leaf::kStartLeafParameters;
    canopy::CanopyInputs followedInputs_ = canopy::StartCanopyInputs();
    canopy::CanopyState followedState_;
    bool stale_ = false;
    plot::HemisphereValues values_;
    canopy::SkyMix shownMix_ = canopy::SkyMix::Classic;  // of values_
    int shownWavelengthNm_ = kStartWavelengthNm;         // of values_
    std::optional<QString> shownQuantity_;               // of values_: an index or a band
    bool shownIsIndex_ = false;
    QImage image_;
};

}  // namespace tulmera::app
