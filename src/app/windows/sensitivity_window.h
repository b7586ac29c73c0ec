#pragma once
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <atomic>
#include <memory>
#include <optional>

#include "app/widgets/chart_saving.h"
#include "canopy/canopy_run.h"
#include "gsa/gsa_run.h"
#include "leaf/leaf_parameters.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QThread;

namespace tulmera::widgets {
class ChartView;
class PresentationEntry;
}  // namespace tulmera::widgets

namespace tulmera::app {

// "Análisis de sensibilidad": which parameters vary over which ranges (the lesson's by
// default, the others held at the main window's values; the pigments and constituents of the
// main window's leaf model too), the base sample size, "Ejecutar" on a worker thread with
// progress and "Cancelar"; the total-order indices over the spectrum as stacked areas, with the
// first-order ones as lines on request, and the indices of a chosen vegetation index, band or
// flux as bars.
class SensitivityWindow : public QMainWindow {
    Q_OBJECT
public:
    SensitivityWindow(const leaf::LeafParameters& leaf, const canopy::CanopyInputs& canopy,
                      QWidget* parent = nullptr);
    ~SensitivityWindow() override;  // cancels a running analysis and waits for it

    // The last completed analysis, if any, and the settings it ran with.
    struct Result {
        gsa::GsaSpec spec;
        std::vector<std::string> quantities;  // gsa::QuantityNames(spec)
        std::vector<std::string> parameters;  // the varied parameters' names
        std::vector<gsa::QuantityIndices> indices;
    };
    const std::optional<Result>& result() const { return result_; }

    // Saves both charts of the last completed analysis ("<name>-areas", "<name>-barras") as PNG
    // or SVG beside `fileName`; reports in the status line. True when saved.
    bool SaveChartImages(const QString& fileName, widgets::ChartImageFormat format);
    // Saves the last completed analysis's indices in long form. Reports as SaveChartImages.
    bool SaveIndicesCsv(const QString& fileName);

signals:
    // An analysis ended: completed, cancelled or failed (the status line says which).
    void AnalysisFinished();

private:
    struct Job;  // what the worker shares with the window
    QWidget* BuildControls();
    void BuildSharing();
    void Run();
    void Cancel();
    void Finish();
    void Redraw();
    std::optional<gsa::GsaSpec> ReadSpec();

    // The controls. Object names:
    //   chkVariar(0..13)         varyBoxes_ (one per input the leaf model reads, gsa input
    //                            order: the table's nine, then Car, Anth, Cbrown, Prot, CBC)
    //   txtRango(0..13,0..1)     rangeBoxes_ (lower and upper end; the lower is the held value)
    //   cmbMuestras              samplesList_ (N, powers of two)
    //   btok "Ejecutar"          runButton_
    //   cmdCancelar "Cancelar"   cancelButton_
    //   barProgreso              progress_
    //   pctAreas                 areasView_ (ST over the wavelength, stacked shares)
    //   chkPrimerOrden           firstOrderBox_ (S1 as lines over the areas)
    //   cmbMagnitud              quantityList_ (indices and fluxes)
    //   pctBarras                barsView_ (S1 and ST with their intervals)
    //   lblLeyenda               legend_
    std::array<QCheckBox*, gsa::kInputCount> varyBoxes_{};  // null for inputs not read
    std::array<std::array<QLineEdit*, 2>, gsa::kInputCount> rangeBoxes_{};
    QComboBox* samplesList_ = nullptr;
    QPushButton* runButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QProgressBar* progress_ = nullptr;
    widgets::ChartView* areasView_ = nullptr;
    QCheckBox* firstOrderBox_ = nullptr;
    QComboBox* quantityList_ = nullptr;
    widgets::ChartView* barsView_ = nullptr;
    QLabel* legend_ = nullptr;
    widgets::PresentationEntry* presentation_ = nullptr;  // "Ver › Modo presentación"

    gsa::GsaSpec held_;
    std::shared_ptr<Job> job_;
    QPointer<QThread> worker_;
    std::optional<Result> result_;
};

}  // namespace tulmera::app
