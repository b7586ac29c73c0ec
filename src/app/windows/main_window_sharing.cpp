// The main window's ways of reading and sharing what it shows: the spectra as a CSV file, the
// values under the pointer, and charts that follow a dragged thumb.
#include <QAction>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>

#include "app/widgets/chart_panel.h"
#include "app/widgets/chart_readout.h"
#include "app/widgets/chart_saving.h"
#include "app/widgets/controls.h"
#include "app/widgets/file_saving.h"
#include "app/widgets/output_texts.h"
#include "app/widgets/settings_keys.h"
#include "app/widgets/thumb_follower.h"
#include "app/widgets/window_settings.h"
#include "app/windows/main_window.h"
#include "app/windows/measured_panel.h"
#include "export/spectra_csv.h"
#include "plot/chart_geometry.h"
#include "textio/staged_files.h"

namespace tulmera::app {
namespace {

constexpr int kCanopySamples = spectral::kWavelengthCount - 1;  // the canopy chart ends at 2495
}  // namespace

void MainWindow::BuildSharingMenus(QMenu* fileMenu, QMenu* settingsMenu)
{
    saveSpectraAction_ = new QAction(tr("Guardar espectros (CSV)…"), fileMenu);
    saveSpectraAction_->setObjectName(QStringLiteral("mnuGuardarEspectros"));
    fileMenu->insertAction(exitAction_, saveSpectraAction_);
    QMenu* imagesMenu = new QMenu(tr("Guardar gráficos…"), fileMenu);
    imagesMenu->setObjectName(QStringLiteral("mnuGuardarGraficos"));
    widgets::AddChartImageEntries(
        imagesMenu, this,
        [this](const QString& fileName, widgets::ChartImageFormat format) {
            SaveChartImages(fileName, format);
        },
        [] { return widgets::PresentationMode(); });
    fileMenu->insertMenu(exitAction_, imagesMenu);
    fileMenu->insertSeparator(exitAction_);

    followThumbAction_ = settingsMenu->addAction(tr("Actualizar al &arrastrar"));
    followThumbAction_->setObjectName(QStringLiteral("mnuActualizarAlArrastrar"));
    followThumbAction_->setCheckable(true);
    followThumbAction_->setChecked(
        QSettings().value(QLatin1String(widgets::kFollowThumbKey), false).toBool());
}

void MainWindow::ConnectSharing()
{
    connect(saveSpectraAction_, &QAction::triggered, this, [this] {
        widgets::ChooseFileToSave(this, tr("Guardar espectros (CSV)"), tr("Tabla CSV (*.csv)"),
                                  QStringLiteral("csv"), QLatin1String(widgets::kSpectraFolder),
                                  [this](const QString& fileName) { SaveSpectraCsv(fileName); });
    });

    new widgets::ChartReadout(leafChartPanel_->view(), spectral::kWavelengthCount,
                              [this](int index, double) { return LeafReadoutText(index); });
    new widgets::ChartReadout(canopyChartPanel_->view(), kCanopySamples,
                              [this](int index, double) { return CanopyReadoutText(index); });

    widgets::AddCopyChartAction(leafChartPanel_->view());
    widgets::AddCopyChartAction(canopyChartPanel_->view());
    ShowKeptEntries();                                // their legend beside the charts' own
    leafChartPanel_->view()->addAction(keepAction_);  // "Fijar espectros" beside the charts
    canopyChartPanel_->view()->addAction(keepAction_);

    std::vector<QScrollBar*> bars(leafBars_.begin(), leafBars_.end());
    bars.insert(bars.end(), canopyBars_.begin(), canopyBars_.end());
    thumbFollower_ = new widgets::ThumbFollower(bars, this);
    thumbFollower_->SetEnabled(followThumbAction_->isChecked());
    connect(followThumbAction_, &QAction::toggled, this, [this](bool on) {
        thumbFollower_->SetEnabled(on);
        QSettings().setValue(QLatin1String(widgets::kFollowThumbKey), on);
    });
}

// The leaf chart's curves at a sample: reflectance and transmittance, as the last good
// recomputation computed them (the transmittance is drawn downward from the top; its value is
// read out as it is).
QString MainWindow::LeafReadoutText(int index) const
{
    const auto i = static_cast<std::size_t>(index);
    return widgets::ReadoutWavelength(index) + tr("   R hoja ")
           + widgets::ReadoutPercent(canopyState_.leafReflPct[i]) + tr("   T hoja ")
           + widgets::ReadoutPercent(canopyState_.leafTransPct[i]);
}

QString MainWindow::CanopyReadoutText(int index) const
{
    const auto i = static_cast<std::size_t>(index);
    return widgets::ReadoutWavelength(index) + tr("   R cubierta ")
           + widgets::ReadoutPercent(canopyState_.canopyReflPct[i]) + tr("   R suelo ")
           + widgets::ReadoutPercent(canopyState_.soilRefl[i]);
}

bool MainWindow::SaveChartImages(const QString& fileName, widgets::ChartImageFormat format)
{
    const plot::FigureTexts texts = widgets::WindowFigureTexts();
    const plot::MeasuredCurves measured = measuredPanel_->DrawnCurves();
    plot::Figure canopyFigure = plot::CanopyChartFigure(texts, measured);
    canopyFigure.note = SkyMixNote(lastGood_.canopy.skyMix).toStdString();  // as on screen
    std::vector<widgets::ChartFile> files = {
        //: The end of the leaf chart's file name ("<name>-hoja.png").
        {plot::kLeafChartScale, tr("-hoja"), plot::LeafChartFigure(texts, measured)},
        //: The end of the canopy chart's file name ("<name>-cubierta.png").
        {plot::kCanopyChartScale, tr("-cubierta"), canopyFigure}};
    plot::AddKeptLegend(*files[0].figure, kept_, tr(" (R, T)").toStdString());
    plot::AddKeptLegend(*files[1].figure, kept_);
    return widgets::SaveChartFiles(statusBar(), fileName, files, format,
                                   [this](const std::vector<plot::ChartSurface*>& charts) {
                                       // The charts drawn again from the inputs they show, the
                                       // measured spectra over the model curves as on screen; the
                                       // working files this redraw stages are never published.
                                       textio::StagedFiles redraw;
                                       refresh::StageRecompute(
                                           lastGood_.leaf, lastGood_.canopy, canopyState_,
                                           {*charts[0], *charts[1]}, background_, redraw, kept_);
                                       measuredPanel_->Paint(*charts[0], *charts[1]);
                                   });
}

bool MainWindow::SaveSpectraCsv(const QString& fileName)
{
    return widgets::SaveSpectraFile(statusBar(), fileName, [this] {
        return exports::MainSpectraCsv({lastGood_.leaf, lastGood_.canopy, canopyState_, kept_},
                                       nullptr, widgets::WindowOutputTexts().lists);
    });
}

}  // namespace tulmera::app
