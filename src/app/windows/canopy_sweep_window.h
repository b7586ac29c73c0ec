#pragma once
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "app/widgets/chart_saving.h"
#include "app/widgets/refusal_marks.h"
#include "canopy/canopy_run.h"
#include "export/canopy_sweep_export.h"
#include "leaf/leaf_parameters.h"
#include "multi/canopy_sweep.h"
#include "multi/canopy_sweep_charts.h"
#include "plot/raster_surface.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tulmera::widgets {
class ChartPanel;
class ChartView;
class PresentationEntry;
}  // namespace tulmera::widgets

namespace tulmera::app {

// The canopy multiple-simulation window, opened beside the main window: one canopy or leaf
// parameter swept between two limits, the family of canopy reflectance curves with the colour
// legend of the leaf sweep, and beside it a chosen quantity against the swept value.
class CanopySweepWindow : public QMainWindow {
    Q_OBJECT
public:
    // Starts from the main window's current leaf parameters and canopy inputs (lists and
    // visibility included); they are held for every sweep.
    CanopySweepWindow(const leaf::LeafParameters& leaf, const canopy::CanopyInputs& canopy,
                      QWidget* parent = nullptr);
    ~CanopySweepWindow() override;

    // Where the held values come from at every "Ejecutar": the main window's values of that
    // moment (the program gives it); without it, or when it gives nothing, those held so far.
    using HeldValues =
        std::function<std::optional<std::pair<leaf::LeafParameters, canopy::CanopyInputs>>()>;
    void FollowValues(HeldValues source);

    // The last completed sweep, if any.
    const std::optional<multi::CanopySweepResult>& result() const { return result_; }

    // Saves the canopy sweep's charts as the last completed sweep draws them: the curves, their
    // colour legend and the chosen quantity, as PNG images or SVG pictures "<name>-curvas",
    // "<name>-leyenda" and "<name>-magnitud" beside `fileName`, all replaced together or none.
    // Says in the status line, in Spanish, what was saved or why not. True when saved.
    bool SaveChartImages(const QString& fileName, widgets::ChartImageFormat format);

    // Saves the last completed sweep's canopy reflectance in long form
    // (exports::CanopySweepSpectraCsv) into `fileName`. Reports as SaveChartImages.
    bool SaveSpectraCsv(const QString& fileName);

    // Empties "MVS.dat"; returns the failure message, or an empty text.
    static QString EmptyWorkingFiles();

signals:
    // "Hoja de calculo": the table of the quantity chart of the last completed sweep.
    void ExportRequested(const exports::QuantityTable& table);

private:
    QWidget* BuildControls();
    void Connect();
    void BuildSharing();
    void ChooseParameter(int index);
    void FillQuantityList();
    void ChooseWavelength();
    // The quantity of the chosen entry (the wavelength box's for "Otra longitud de onda").
    std::optional<multi::SweepQuantity> ChosenQuantity() const;
    void Run();
    void RedrawQuantity();
    // The quantity chart's numbers and titles: `axes` as the chart maps them, `quantity` up and
    // `swept` across.
    void NumberQuantityAxes(const plot::QuantityAxes& axes, const QString& quantity,
                            multi::CanopySweptParameter swept);
    // The quantity chart's range: from zero for reflectances unless "Ampliar" is checked.
    multi::QuantityZoom ChosenZoom() const;
    void ShowCurves();
    static bool DrawnAtShownSize(const widgets::ChartView* view);
    // Presentation mode: larger texts beside the quantity chart and around the curves, thicker
    // curves on both charts.
    void ApplyPresentation(bool on);
    void ShowPresentationTexts(bool on);
    int CurveScale() const;
    void TakeHeldValues();  // from FollowValues' source, and listed in heldLabel_
    // The request's limits as typed; a refused one is marked and said, and nothing is returned.
    std::optional<multi::SweepLimits> ReadLimits(const multi::CanopySweepRequest& request);
    multi::CanopySweepRequest HeldRequest() const;  // the held values, the chosen parameter
    static QString LimitName(std::size_t i);        // a limit's caption, without its colon
    // The data of the quantity list's entry for the wavelength box.
    static QString OtherWavelengthKey();

    // The controls, named for what they are. Their object names:
    //   cmbParametro                      parameterList_
    //   txtLimite(0..2)                   limitBoxes_ (lower, upper, interval)
    //   btok "Ejecutar"                   runButton_
    //   cmdfich "Hoja de calculo"         exportButton_
    //   cmbMagnitud                       quantityList_
    //   spnLongitudOnda                   wavelengthBox_ (any grid wavelength, 400 .. 2500 nm)
    //   pctMSailh, pctlegend              curvesPanel_ (curves and colour legend)
    //   pctMagnitud                       quantityView_, in quantityPanel_ with its numbered
    //                                     axes (lblGrid(20..), lblEjeMagnitud, lblEjeParametro)
    //   lblEjeX, lblEjeY                  xAxisLabel_, yAxisLabel_ (the quantity chart's ranges)
    //   chkAmpliar "Ampliar al rango de los datos"   zoomBox_
    //   lblValoresFijos                   heldLabel_ (the held values of the next sweep)
    //   lblRechazo                        refusals_' note (why a limit was refused)
    QComboBox* parameterList_ = nullptr;
    std::array<QLineEdit*, 3> limitBoxes_{};
    QPushButton* runButton_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QComboBox* quantityList_ = nullptr;
    QSpinBox* wavelengthBox_ = nullptr;
    widgets::ChartPanel* curvesPanel_ = nullptr;
    widgets::ChartPanel* quantityPanel_ = nullptr;
    widgets::ChartView* quantityView_ = nullptr;
    QLabel* xAxisLabel_ = nullptr;
    QLabel* yAxisLabel_ = nullptr;
    QCheckBox* zoomBox_ = nullptr;
    QLabel* heldLabel_ = nullptr;
    std::unique_ptr<widgets::RefusalMarks> refusals_;     // lblRechazo, under the limits
    widgets::PresentationEntry* presentation_ = nullptr;  // "Ver › Modo presentación"
    HeldValues heldSource_;

    leaf::LeafParameters leaf_;
    canopy::CanopyInputs canopy_;
    std::optional<multi::CanopySweepResult> result_;
    std::optional<multi::CanopySweepRequest> shownRequest_;  // the request of result_
    QString ReadoutText(int index, double y) const;
};

}  // namespace tulmera::app
