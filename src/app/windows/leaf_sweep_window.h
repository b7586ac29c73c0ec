#pragma once
#include <QMainWindow>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "app/widgets/chart_saving.h"
#include "app/widgets/refusal_marks.h"
#include "leaf/leaf_parameters.h"
#include "multi/sweep_controls.h"
#include "plot/raster_surface.h"
#include "plot/sweep_chart.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace tulmera::widgets {
class ChartPanel;
class DescendingScrollBar;
class PresentationEntry;
}  // namespace tulmera::widgets

namespace tulmera::app {

// The multiple-simulation window: one leaf parameter swept between two limits while the others
// are held, the family of reflectance curves on the sweep chart with its colour legend, and the
// export of the sweep's spectra. It runs the main window's leaf model and offers the parameters
// that model reads: the classic four, PROSPECT-D's pigments, PROSPECT-PRO's constituents in
// place of Cm.
class LeafSweepWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit LeafSweepWindow(QWidget* parent = nullptr);
    ~LeafSweepWindow() override;

    // The number of values of the last completed sweep (0 before the first).
    int valueCount() const { return valueCount_; }

    // The leaf model and held values from `leaf` (the main window's): the rows leaf.model
    // reads are shown (N is chosen again when the chosen one is not among them), each bar at
    // its nearest position, at its end beyond its range. The swept parameter's box stays empty.
    // Sweeps from now on run leaf.model.
    void HoldValues(const leaf::LeafParameters& leaf);

    // Shows a message in the window's status line.
    void ShowMessage(const QString& message);

    // Saves the sweep chart and its colour legend as the last completed sweep draws them, as
    // PNG images or SVG pictures "<name>-curvas" and "<name>-leyenda" beside `fileName`, both
    // replaced together or neither. Says in the status line, in Spanish, what was saved or
    // why not. True when saved.
    bool SaveChartImages(const QString& fileName, widgets::ChartImageFormat format);

    // Saves the last completed sweep's spectra in long form (exports::SweepSpectraCsv)
    // into `fileName`, replaced only once complete. Reports as SaveChartImages.
    bool SaveSpectraCsv(const QString& fileName);

    // Empties "MVP.dat" then "MVPaint.dat"; returns the failure message, or an empty text.
    static QString EmptyWorkingFiles();

signals:
    void ExportRequested(int valueCount);  // "Hoja de calculo"
    void ExitRequested();                  // "Sailr"
    void BackToMainRequested();            // "Volver a la ventana principal"

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* BuildParameterGroup();
    QWidget* BuildLimitGroup();
    static QString LimitTip(std::size_t i);
    QWidget* BuildButtons();
    void Connect();
    void BuildSharing();

    void StartUp();
    void SetUpFor(multi::SweptParameter parameter);
    void ShowModel(leaf::LeafModel model);
    multi::SweptParameter Selected() const;
    void ShowLimit(int bar);
    void ApplyLimitText(std::size_t bar);
    void ApplyHeldText(std::size_t row);
    bool MakeSurfacesForView(bool anew = false);
    void RedrawIfResized();
    void Redraw();
    int CurveScale() const;  // the pens' factor: thicker in presentation mode
    void ApplyPresentation(bool on);
    void Run();
    multi::SweepTexts ReadTexts() const;
    void ShowCharts();

    // The controls, named for what they are. Their object names are the form's own:
    //   btOption(0..8)                   parameterOptions_ (N, Cab, Cw, Cm, then Car, Anth,
    //                                    Cbrown, Prot, CBC: shown for the models reading them)
    //   hsN, hscab, hscw, hscm, hscar, hsanth, hscbrown, hsprot, hscbc        parameterBars_
    //   txtN, txtcab, txtcw, txtcm, txtcar, ..., txtcbc                      parameterBoxes_
    //   vsmax, vsmin, vsinter            limitBars_ (upper, lower, interval)
    //   lblmax, lblmin, lblinter         limitValues_
    //   btok "Ejecutar"                  runButton_
    //   cmdfich "Hoja de calculo"        exportButton_
    //   Command2 "Sailr"                 exitButton_
    //   cmdVolver "Volver a la ventana principal"   backButton_
    //   pctMProspect, pctlegend          chartPanel_ (chart and colour legend)
    //   Label8                           heldValuesCaption_
    std::array<QRadioButton*, multi::kSweptParameterCount> parameterOptions_{};
    std::array<QScrollBar*, multi::kSweptParameterCount> parameterBars_{};
    std::array<QLineEdit*, multi::kSweptParameterCount> parameterBoxes_{};
    leaf::LeafModel model_ = leaf::LeafModel::Classic;  // the model the sweeps run
    std::array<widgets::DescendingScrollBar*, 3> limitBars_{};
    std::array<QLineEdit*, 3> limitValues_{};  // typed values move their bars
    // Refused typed values: the boxes marked, the reasons in the note lblRechazo under the
    // limits.
    std::unique_ptr<widgets::RefusalMarks> refusals_;
    QPushButton* runButton_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QPushButton* backButton_ = nullptr;
    widgets::ChartPanel* chartPanel_ = nullptr;
    QLabel* heldValuesCaption_ = nullptr;
    widgets::PresentationEntry* presentation_ = nullptr;  // "Ver › Modo presentación"

    std::unique_ptr<plot::RasterSurface> chart_;   // pctMProspect: keeps every curve of a sweep
    std::unique_ptr<plot::RasterSurface> legend_;  // pctlegend
    int valueCount_ = 0;
    std::optional<multi::SweepRequest> shownRequest_;  // the sweep the chart shows
    // Its reflectance curves in percent, for the values under the pointer: computed on the
    // first readout after a sweep, so that the sweep itself never waits for them.
    std::vector<spectral::Spectrum> readoutCurves_;
    std::vector<QString> readoutLabels_;
    QString ReadoutText(int index, double y);
};

}  // namespace tulmera::app
