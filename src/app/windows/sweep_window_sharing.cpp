// The sweep windows' ways of sharing what they show: their charts as images and their spectra
// as CSV files, both from the last completed sweep.
#include <QComboBox>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <exception>

#include "app/widgets/chart_panel.h"
#include "app/widgets/chart_readout.h"
#include "app/widgets/chart_saving.h"
#include "app/widgets/controls.h"
#include "app/widgets/file_saving.h"
#include "app/widgets/output_texts.h"
#include "app/widgets/presentation_entry.h"
#include "app/widgets/window_settings.h"
#include "app/windows/canopy_sweep_window.h"
#include "app/windows/leaf_sweep_window.h"
#include "export/spectra_csv.h"
#include "multi/canopy_sweep_charts.h"
#include "multi/sweep.h"
#include "multi/sweep_quantity.h"
#include "plot/chart_figures.h"
#include "plot/chart_geometry.h"
#include "plot/quantity_chart.h"
#include "textio/staged_files.h"

namespace tulmera::app {
namespace {

// `spanish`, the end of a saved chart's file name ("<name>-curvas.png"), in the windows'
// language; marked for lupdate where it is named.
QString FileNameEnd(const char* spanish)
{
    return QCoreApplication::translate("SweepSharing", spanish);
}

// The "Archivo" menu and the charts' "Copiar gráfico" of a sweep window; the window opens
// where it was last.
template <typename Window>
void BuildSweepSharing(Window* window, const std::vector<widgets::ChartView*>& views)
{
    widgets::AddSharingMenu(
        window,
        [window](const QString& fileName, widgets::ChartImageFormat format) {
            window->SaveChartImages(fileName, format);
        },
        [window](const QString& fileName) { window->SaveSpectraCsv(fileName); },
        [] { return widgets::PresentationMode(); });
    for (widgets::ChartView* view : views) widgets::AddCopyChartAction(view);
}

// The window's "Ver" menu with "Modo presentación", which `apply` shows.
template <typename Window>
widgets::PresentationEntry* BuildViewMenu(Window* window, std::function<void(bool)> apply)
{
    QMenu* view = window->menuBar()->addMenu(QCoreApplication::translate("SweepSharing", "&Ver"));
    view->setObjectName(QStringLiteral("menuVer"));
    return new widgets::PresentationEntry(window, view, std::move(apply));
}

// "Cab = 40": a swept value as the readout names its curve.
QString ValueLabel(std::string_view parameter, double value)
{
    return QString::fromUtf8(parameter.data(), static_cast<qsizetype>(parameter.size()))
           + QStringLiteral(" = ") + widgets::ValueText(value);
}

// Says that there is nothing to save yet; returns false for the caller to return.
bool NothingToSave(QStatusBar* status)
{
    status->showMessage(QCoreApplication::translate(
        "SweepSharing", "Todavía no hay ninguna simulación que guardar: pulse «Ejecutar»."));
    return false;
}

}  // namespace

void LeafSweepWindow::BuildSharing()
{
    BuildSweepSharing(this, {chartPanel_->view(), chartPanel_->stripView()});
    presentation_ = BuildViewMenu(this, [this](bool on) { ApplyPresentation(on); });
    chartPanel_->SetPresentation(presentation_->on());  // the first sweep draws as it asks
    new widgets::GeometryKeeper(this, objectName());
    new widgets::ChartReadout(chartPanel_->view(), spectral::kWavelengthCount,
                              [this](int index, double y) { return ReadoutText(index, y); });
}

// The curve of the last completed sweep nearest to the pointer; nothing before the first.
QString LeafSweepWindow::ReadoutText(int index, double y)
{
    if (!shownRequest_) return {};
    if (readoutCurves_.empty()) {
        exports::SweepSpectra sweep;
        try {  // the sweep ran already: its leaf runs cannot fail now, but never crash a readout
            sweep = exports::ComputeSweepSpectra(*shownRequest_);
        } catch (const std::exception&) {
            return {};
        }
        readoutLabels_.clear();
        for (std::size_t k = 0; k < sweep.values.size(); ++k) {
            spectral::Spectrum percent{};
            for (std::size_t i = 0; i < percent.size(); ++i)
                percent[i] = sweep.spectra[k].refl[i] * 100.0;
            readoutCurves_.push_back(percent);
            readoutLabels_.push_back(
                ValueLabel(multi::ParameterName(shownRequest_->swept), sweep.values[k]));
        }
    }
    std::vector<const spectral::Spectrum*> curves;
    for (const spectral::Spectrum& curve : readoutCurves_) curves.push_back(&curve);
    return widgets::FamilyReadoutText(index, y, curves, readoutLabels_);
}

namespace {

// The curve chart's figure: its legend names the curves by their swept values.
std::vector<widgets::ChartFile> CurveFiles(const QString& title, std::string_view parameter,
                                           const std::vector<double>& values)
{
    std::vector<widgets::ChartFile> files = {
        {plot::kSweepChartScale, FileNameEnd(QT_TRANSLATE_NOOP("SweepSharing", "-curvas")),
         std::nullopt},
        {plot::kLegendStripScale, FileNameEnd(QT_TRANSLATE_NOOP("SweepSharing", "-leyenda")),
         std::nullopt}};
    files[0].figure = plot::SweepChartFigure(widgets::WindowFigureTexts(), title.toStdString(),
                                             plot::SweepCurveCaptions(parameter, values));
    return files;
}

}  // namespace

bool LeafSweepWindow::SaveChartImages(const QString& fileName, widgets::ChartImageFormat format)
{
    if (!shownRequest_) return NothingToSave(statusBar());
    std::vector<double> values;
    try {  // the sweep ran with these values already: never refused now, but never crash
        values = multi::CheckedSweepValues(*shownRequest_);
    } catch (const std::exception&) {
    }
    return widgets::SaveChartFiles(
        statusBar(), fileName,
        CurveFiles(tr("Reflectividad de la hoja"), multi::ParameterName(shownRequest_->swept),
                   values),
        format, [request = *shownRequest_](const std::vector<plot::ChartSurface*>& charts) {
            // The sweep drawn again; the working files it stages are never published.
            textio::StagedFiles redraw;
            multi::StageSweep(request, {*charts[0], *charts[1]}, redraw);
        });
}

bool LeafSweepWindow::SaveSpectraCsv(const QString& fileName)
{
    if (!shownRequest_) return NothingToSave(statusBar());
    return widgets::SaveSpectraFile(statusBar(), fileName, [request = *shownRequest_] {
        return exports::SweepSpectraCsv(exports::ComputeSweepSpectra(request));
    });
}

void CanopySweepWindow::BuildSharing()
{
    BuildSweepSharing(this, {curvesPanel_->view(), curvesPanel_->stripView(), quantityView_});
    presentation_ = BuildViewMenu(this, [this](bool on) { ApplyPresentation(on); });
    ShowPresentationTexts(presentation_->on());  // the charts drawn next draw as it asks
    new widgets::GeometryKeeper(this, objectName());
    new widgets::ChartReadout(curvesPanel_->view(), spectral::kWavelengthCount,
                              [this](int index, double y) { return ReadoutText(index, y); });
}

// The canopy curve of the last completed sweep nearest to the pointer; nothing before the
// first.
QString CanopySweepWindow::ReadoutText(int index, double y) const
{
    if (!result_) return {};
    std::vector<const spectral::Spectrum*> curves;
    std::vector<QString> labels;
    for (std::size_t k = 0; k < result_->values.size(); ++k) {
        curves.push_back(&result_->canopyReflPct[k]);
        labels.push_back(
            ValueLabel(multi::CanopyParameterName(result_->swept), result_->values[k]));
    }
    return widgets::FamilyReadoutText(index, y, curves, labels);
}

bool CanopySweepWindow::SaveChartImages(const QString& fileName, widgets::ChartImageFormat format)
{
    if (!result_) return NothingToSave(statusBar());
    const std::string_view parameter = multi::CanopyParameterName(result_->swept);
    std::vector<widgets::ChartFile> files =
        CurveFiles(tr("Reflectividad de la cubierta"), parameter, result_->values);
    const auto quantity = ChosenQuantity();
    const multi::QuantityZoom zoom = ChosenZoom();
    std::optional<plot::Figure> quantityFigure;
    if (quantity) {
        quantityFigure =
            plot::QuantityChartFigure(multi::SweepQuantityAxes(*result_, *quantity, zoom),
                                      std::string(parameter), quantity->name);
    }
    files.push_back({plot::kQuantityChartScale,
                     FileNameEnd(QT_TRANSLATE_NOOP("SweepSharing", "-magnitud")), quantityFigure});
    const std::string note = curvesPanel_->view()->note().toStdString();  // the sky mix's
    for (widgets::ChartFile& file : files) {
        if (file.figure) file.figure->note = note;
    }
    return widgets::SaveChartFiles(
        statusBar(), fileName, files, format,
        [this, &quantity, zoom](const std::vector<plot::ChartSurface*>& charts) {
            multi::PaintCanopySweepCurves({*charts[0], *charts[1]}, *result_);
            if (quantity) multi::PaintSweepQuantity(*charts[2], *result_, *quantity, zoom);
        });
}

bool CanopySweepWindow::SaveSpectraCsv(const QString& fileName)
{
    if (!result_ || !shownRequest_) return NothingToSave(statusBar());
    return widgets::SaveSpectraFile(statusBar(), fileName, [this] {
        return exports::CanopySweepSpectraCsv(*shownRequest_, *result_,
                                              widgets::WindowOutputTexts().lists);
    });
}

}  // namespace tulmera::app
