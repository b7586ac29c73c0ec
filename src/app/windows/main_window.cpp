#include "app/windows/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <algorithm>
#include <cmath>

#include "app/widgets/chart_panel.h"
#include "app/widgets/controls.h"
#include "app/widgets/value_messages.h"
#include "app/widgets/window_settings.h"
#include "app/windows/hemisphere_window.h"
#include "app/windows/main_window_rows.h"
#include "app/windows/measured_panel.h"
#include "app/windows/sensor_dock.h"
#include "domain/input_domain.h"
#include "lut/table_spec.h"
#include "plot/band_tables.h"
#include "plot/chart_geometry.h"
#include "plot/figure.h"
#include "plot/raster_surface.h"
#include "plot/thick_pens.h"
#include "sensor/band_values.h"
#include "textio/working_files.h"

namespace tulmera::app {
namespace {

const QColor kSoilSwatchColor(200, 100, 0);  // Line3, set when the window loads

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmTulmera"));
    setWindowTitle(QStringLiteral("Tulmera"));
    measuredPanel_ = new MeasuredPanel(statusBar(), this);
    addDockWidget(Qt::RightDockWidgetArea, measuredPanel_);
    background_.checkedEntry =
        widgets::RememberedBackground(background_.checkedEntry, plot::kBackgroundEntryCount);
    skyMix_ = RememberedSkyMix();
    BuildMenus();

    // The controls and charts scroll when the window is smaller than they need (a small
    // screen or a large font), and the charts take any room beyond it.
    auto* scroller = new QScrollArea(this);
    scroller_ = scroller;
    scroller->setObjectName(QStringLiteral("scrTulmera"));
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    QWidget* central = BuildContent(scroller);
    scroller->setWidget(central);
    // The docks take room beside the content, never the charts' own: the window grows instead
    // (a dock too wide for the screen can still be tabified or floated).
    scroller->setMinimumWidth(central->minimumSizeHint().width()
                              + style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    setCentralWidget(scroller);
    statusBar()->setSizeGripEnabled(true);
    sensorDock_ = new SensorDock(this, statusBar());
    QMenu* viewMenu = menuBar()->addMenu(tr("&Ver"));
    viewMenu->setObjectName(QStringLiteral("menuVer"));
    viewMenu->addAction(sensorDock_->viewAction());
    viewMenu->addAction(measuredPanel_->ViewAction());
    QAction* hemisphere = viewMenu->addAction(tr("Vista &hemisférica"));
    hemisphere->setObjectName(QStringLiteral("mnuVistaHemisferica"));
    connect(hemisphere, &QAction::triggered, this, [this] { ShowHemisphere(); });
    // The same action as in "Archivo › Simulación múltiple": it is a view of the model too.
    viewMenu->addAction(sensitivityAction_);
    BuildPresentationEntry(viewMenu);
    BuildHelpMenu();  // the last menu

    Connect();
    ConnectSharing();
    StartUp();
    OpenAtNaturalSize(central);
    scroller->viewport()->installEventFilter(this);  // the canopy chart kept in view
    connect(sensorDock_->viewAction(), &QAction::toggled, this, [this] { FitToScreenSoon(); });
    connect(measuredPanel_, &QDockWidget::visibilityChanged, this, [this] { FitToScreenSoon(); });
    new widgets::GeometryKeeper(this, objectName());  // where it was last, when it fits
}

// The window opens with its charts at their scale's size, shrunk to the screen's free area
// when that is smaller (the controls then scroll).
void MainWindow::OpenAtNaturalSize(QWidget* content)
{
    const QSize natural =
        content->sizeHint()
        + QSize(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height())
        + sensorDock_->RoomBeside();
    QSize size = natural;
    if (const QScreen* shown = screen(); shown != nullptr) {
        const QSize free = shown->availableGeometry().size();
        // Too low: the controls scroll vertically, and the scroll bar needs its width.
        if (size.height() > free.height()) {
            size.rwidth() += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        }
        size = size.boundedTo(free);
    }
    resize(size);
}

void MainWindow::RedrawIfResized()
{
    const auto drawnFor = [](const widgets::ChartView* view) {
        const plot::ChartScale displayed = view->DisplayedScale();
        return view->image().width() == displayed.widthPx * view->SurfacePixelScale()
               && view->image().height() == displayed.heightPx * view->SurfacePixelScale();
    };
    // A value being typed is not an input yet: the redraw waits for Enter or for the box to
    // lose focus, whose recomputation draws at the new size anyway.
    const auto typing = [](const auto& boxes) {
        return std::any_of(boxes.begin(), boxes.end(),
                           [](const QLineEdit* box) { return box->isModified(); });
    };
    if (typing(leafBoxes_) || typing(canopyBoxes_)) return;
    if (!drawnFor(leafChartPanel_->view()) || !drawnFor(canopyChartPanel_->view())) Recompute();
}

MainWindow::~MainWindow()
{
    // The docks outlive this part of the window: hidden as the widgets go, they would call
    // back into a window already half destroyed.
    disconnect(sensorDock_->viewAction(), nullptr, this, nullptr);
    disconnect(measuredPanel_, nullptr, this, nullptr);
}

void MainWindow::Connect()
{
    for (std::size_t i = 0; i < leafBars_.size(); ++i) {
        connect(leafBars_[i], &QScrollBar::valueChanged, this, [this, i] { ApplyLeafBar(i); });
    }
    for (QScrollBar* bar : canopyBars_) {
        connect(bar, &QScrollBar::valueChanged, this, [this] { ApplyCanopyBars(); });
    }
    for (std::size_t i = 0; i < leafBoxes_.size(); ++i) {
        connect(leafBoxes_[i], &QLineEdit::editingFinished, this, [this, i] { ApplyLeafBox(i); });
    }
    for (std::size_t i = 0; i < canopyBoxes_.size(); ++i) {
        connect(canopyBoxes_[i], &QLineEdit::editingFinished, this,
                [this, i] { ApplyCanopyBox(i); });
    }
    for (QRadioButton* option : visibilityOptions_) {
        connect(option, &QRadioButton::clicked, this, [this] { Recompute(); });
    }
    for (QComboBox* combo : canopyLists_) {
        connect(combo, &QComboBox::activated, this, [this] { Recompute(); });
    }
    for (int entry = 1; entry <= plot::kBackgroundEntryCount; ++entry) {
        connect(backgroundActions_[static_cast<std::size_t>(entry)], &QAction::triggered, this,
                [this, entry] { ChooseBackground(entry); });
    }
    connect(exportAction_, &QAction::triggered, this, &MainWindow::ExportRequested);
    connect(switchToSweepAction_, &QAction::triggered, this,
            &MainWindow::MultipleSimulationRequested);
    connect(canopySweepAction_, &QAction::triggered, this, &MainWindow::CanopySweepRequested);
    connect(sensitivityAction_, &QAction::triggered, this, &MainWindow::SensitivityRequested);
    connect(exitAction_, &QAction::triggered, this, &MainWindow::ExitRequested);
    connect(restoreStartAction_, &QAction::triggered, this, [this] { RestoreStartValues(); });
    connect(measuredPanel_, &MeasuredPanel::SpectraChanged, this, [this] {
        ShowExtraLegends();  // a fit's curve comes or goes
        Recompute();
    });
    connect(measuredPanel_, &MeasuredPanel::ApplyLeafRequested, this,
            [this](const leaf::LeafParameters& fitted) { ApplyFitted(fitted, std::nullopt); });
    connect(measuredPanel_, &MeasuredPanel::ApplyCanopyRequested, this, &MainWindow::ApplyFitted);
    connect(measuredPanel_, &MeasuredPanel::CanopyFitRequested, this, [this] {
        if (leaf_.model != leaf::LeafModel::Classic) {  // the tables hold the classic model
            widgets::ShowProblems(statusBar(), {tr("El ajuste del dosel usa tablas del modelo "
                                                   "de hoja clásico; elíjalo en Configuracion.")});
            return;
        }
        if (canopyInputs().skyMix != canopy::SkyMix::Classic) {  // and the classic sky mix
            widgets::ShowProblems(statusBar(), {tr("El ajuste del dosel usa tablas de la mezcla "
                                                   "de cielo clásica; elíjala en Configuracion.")});
            return;
        }
        measuredPanel_->StartCanopyFit(lut::HeldSpec(leaf_, canopyInputs()));
    });
    for (widgets::ChartPanel* panel : {leafChartPanel_, canopyChartPanel_}) {
        // Queued: a drag that resizes many times redraws once the events have settled.
        connect(
            panel->view(), &widgets::ChartView::Resized, this, [this] { RedrawIfResized(); },
            Qt::QueuedConnection);
    }
}

// Start-up: the value texts from the bars, then a first recomputation. The soil swatch takes
// its colour here.
void MainWindow::StartUp()
{
    leaf_.model = RememberedLeafModel();
    ShowLeafModel(leaf_.model);
    lastGood_ = StartControls();
    ShowLeafBarValues();
    SetLeafParametersFromTexts();
    ShowCanopyBarValues();
    canopyChartPanel_->swatch(1)->SetColor(kSoilSwatchColor);
    Recompute();
}

bool MainWindow::ApplyLeafBars()
{
    leafRefusals_->Clear();
    ShowLeafBarValues();
    SetLeafParametersFromTexts();
    return Recompute();
}

// A moved bar sets its box; the others show the values in use (a text being typed there is
// dropped, as a canopy bar drops one), so that a value typed beyond its bar stays in use.
bool MainWindow::ApplyLeafBar(std::size_t i)
{
    leafRefusals_->Accept(leafBoxes_[i]);
    ShowLeafValues(leaf_);
    leafBoxes_[i]->setText(
        widgets::ValueText(static_cast<double>(leafBars_[i]->value()) / kLeafRows[i].divisor));
    SetLeafParametersFromTexts();
    return Recompute();
}

void MainWindow::ApplyCanopyBars()
{
    canopyRefusals_->Clear();
    ShowCanopyBarValues();
    Recompute();
}

void MainWindow::ChooseBackground(int entry)
{
    for (int i = 1; i <= plot::kBackgroundEntryCount; ++i)
        backgroundActions_[static_cast<std::size_t>(i)]->setChecked(false);
    backgroundActions_[static_cast<std::size_t>(entry)]->setChecked(true);
    background_.checkedEntry = entry;
    widgets::RememberBackground(entry);
    Recompute();
}

void MainWindow::ShowLeafBarValues()
{
    for (std::size_t i = 0; i < kLeafRows.size(); ++i) {
        leafBoxes_[i]->setText(
            widgets::ValueText(static_cast<double>(leafBars_[i]->value()) / kLeafRows[i].divisor));
    }
}

void MainWindow::ShowCanopyBarValues()
{
    for (std::size_t i = 0; i < kCanopyRows.size(); ++i) {
        canopyBoxes_[i]->setText(widgets::ValueText(static_cast<double>(canopyBars_[i]->value())
                                                    / kCanopyRows[i].divisor));
    }
}

// The leaf texts always come from the bars, so they always read back as numbers.
void MainWindow::SetLeafParametersFromTexts()
{
    std::array<double, 4> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = widgets::ParseValueText(leafBoxes_[i]->text()).value_or(0.0);
    }
    const leaf::LeafModel model = leaf_.model;
    leaf_ = {values[0], values[1], values[2], values[3]};
    leaf_.model = model;
    ReadLeafModelRows(leaf_);
}

// The caption of the control that holds `input`, as messages name it.
QString MainWindow::RefusedControlName(domain::Input input) const
{
    if (input <= domain::Input::Cm) {
        return widgets::ControlName(leafCaptions_[static_cast<std::size_t>(input)]->text());
    }
    if (!domain::IsLeafInput(input)) {
        return CanopyControlName(static_cast<std::size_t>(input)
                                 - static_cast<std::size_t>(domain::Input::Lai));
    }
    return QString::fromUtf8(domain::OptionName(input).data(),
                             static_cast<qsizetype>(domain::OptionName(input).size()));
}

// Marks the box that holds `input`, when it is one of the leaf or canopy boxes (the leaf
// model's own rows report in the status line only).
void MainWindow::MarkRefusedInput(domain::Input input, const QString& reason)
{
    const auto at = static_cast<std::size_t>(input);
    const auto firstCanopy = static_cast<std::size_t>(domain::Input::Lai);
    if (input <= domain::Input::Cm) {
        leafRefusals_->Refuse(leafBoxes_[at], reason);
    } else if (at >= firstCanopy && at - firstCanopy < canopyBoxes_.size()) {
        canopyRefusals_->Refuse(canopyBoxes_[at - firstCanopy], reason);
    }
}

QString MainWindow::CanopyControlName(std::size_t i) const
{
    return widgets::ControlName(canopyCaptions_[i + 3]->text());
}

// Reads the canopy inputs from the controls. A text that is no number, or a value the canopy
// model does not accept, keeps the value of the last good recomputation: the box shows it
// again and `problems` says why. The lists give their entries' keys.
void MainWindow::ReadCanopyInputs(canopy::CanopyInputs& inputs, QStringList& problems)
{
    const std::array<double*, 5> targets = {&inputs.lai, &inputs.sunZenith, &inputs.viewAngle,
                                            &inputs.relAzimuth, &inputs.hotSpot};
    const std::array<double, 5> previous = {lastGood_.canopy.lai, lastGood_.canopy.sunZenith,
                                            lastGood_.canopy.viewAngle, lastGood_.canopy.relAzimuth,
                                            lastGood_.canopy.hotSpot};
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const QString text = canopyBoxes_[i]->text();
        const std::optional<double> value = widgets::ParseValueText(text);
        const auto input =
            static_cast<domain::Input>(static_cast<int>(domain::Input::Lai) + static_cast<int>(i));
        const domain::InputRange range = domain::AcceptedRange(input);
        if (!value) {
            problems << widgets::NotANumber(CanopyControlName(i), text);
        } else if (!range.Contains(*value)) {
            problems << widgets::OutsideRange(CanopyControlName(i), *value, range);
        } else {
            *targets[i] = *value;
            continue;
        }
        canopyRefusals_->Refuse(canopyBoxes_[i], problems.back());
        *targets[i] = previous[i];
        canopyBoxes_[i]->setText(widgets::ValueText(previous[i]));
    }
    inputs.leafArchitecture = canopyLists_[0]->currentData().toString().toStdString();
    inputs.soil = canopyLists_[1]->currentData().toString().toStdString();
    inputs.visibility =
        visibilityOptions_[0]->isChecked() ? canopy::Visibility::Km15 : canopy::Visibility::Km50;
    inputs.skyMix = skyMix_;
}

// The recomputation: leaf run, chart backgrounds and leaf curves, canopy run, canopy and soil
// curves. It draws on the back surfaces, which become the shown charts only when every step
// has succeeded, so a failure leaves the charts of the last good recomputation on screen, and
// every control shows that recomputation's inputs again.
bool MainWindow::Recompute()
{
    canopy::CanopyInputs inputs;
    QStringList problems;
    ReadCanopyInputs(inputs, problems);
    std::optional<domain::DomainProblem> refused = domain::CheckLeafDomain(leaf_);
    if (!refused) refused = domain::CheckCanopyDomain(inputs);
    if (refused) {
        const QString name = RefusedControlName(refused->input);
        const QString reason = widgets::OutsideRange(name, refused->value, refused->range);
        ShowControls(lastGood_);
        MarkRefusedInput(refused->input, reason);
        widgets::ShowProblems(statusBar(), {reason});
        return false;
    }
    widgets::ChartView* leafView = leafChartPanel_->view();
    widgets::ChartView* canopyView = canopyChartPanel_->view();
    ChartSurfaces& back = surfaces_[back_];
    plot::RasterSurface& leafChart =
        DrawingSurface(back.leaf, leafView->DisplayedScale(), leafView->SurfacePixelScale());
    plot::RasterSurface& canopyChart =
        DrawingSurface(back.canopy, canopyView->DisplayedScale(), canopyView->SurfacePixelScale());
    // In presentation mode the curves are drawn thicker; the grid and overlays stay as they are.
    const int curveScale = presenting_ ? plot::FigureStyle::Presentation().curveScale : 1;
    plot::ThickPens leafPens(leafChart, curveScale), canopyPens(canopyChart, curveScale);
    const bool done = widgets::Guarded(
        statusBar(), tr("No se pudo recalcular; se muestran los últimos resultados"), [&] {
            refresh::Recompute(leaf_, inputs, canopyState_, {leafPens, canopyPens}, background_,
                               kept_);
            measuredPanel_->Paint(leafPens, canopyPens);  // over the model curves
        });
    if (!done) {
        ShowControls(lastGood_);  // the values the charts still show
        return false;
    }
    lastGood_ = CapturedControls(inputs);
    measuredPanel_->ModelChanged(canopyState_);
    leafView->SetImage(leafChart.image());
    canopyView->SetImage(canopyChart.image());
    canopyView->SetNote(SkyMixNote(inputs.skyMix));
    ShowBandNumbers();
    back_ = 1 - back_;
    widgets::ShowProblems(statusBar(), problems);
    // It reports its own failures.
    sensorDock_->Show(canopyState_, background_.checkedEntry, inputs.skyMix);
    if (hemisphereWindow_ != nullptr) hemisphereWindow_->Follow(leaf_, inputs, canopyState_);
    return problems.isEmpty();
}

// The checked sensor's band numbers over its stripes on both charts; none over the grid.
void MainWindow::ShowBandNumbers()
{
    std::vector<widgets::ChartView::BandLabel> labels;
    const int entry = background_.checkedEntry;
    if (entry >= plot::kFirstSensorEntry && entry <= plot::kBackgroundEntryCount) {
        const sensor::Sensor& sensor = plot::SensorOfEntry(entry);
        for (std::size_t i = 0; i < sensor.bands.size(); ++i) {
            labels.push_back({double(sensor.bands[i].lowerNm), double(sensor.bands[i].upperNm),
                              QString::fromStdString(sensor::BandName(sensor, i))});
        }
    }
    leafChartPanel_->view()->SetBandLabels(labels);
    canopyChartPanel_->view()->SetBandLabels(labels);
}

// A back surface at the screen's current pixel scale: kept from one recomputation to the
// next, made anew when the window moved to a screen of another pixel ratio or the chart was
// resized.
plot::RasterSurface& MainWindow::DrawingSurface(std::unique_ptr<plot::RasterSurface>& surface,
                                                const plot::ChartScale& scale, int pixelScale)
{
    if (!surface || surface->pixelScale() != pixelScale || surface->scale().widthPx != scale.widthPx
        || surface->scale().heightPx != scale.heightPx) {
        surface = std::make_unique<plot::RasterSurface>(scale, pixelScale);
    }
    return *surface;
}

// The window follows every good recomputation from now on; made when first asked for.
void MainWindow::ShowHemisphere()
{
    if (hemisphereWindow_ == nullptr) {
        hemisphereWindow_ = new HemisphereWindow(this);
        hemisphereWindow_->setWindowFlag(Qt::Window);
        hemisphereWindow_->Follow(lastGood_.leaf, lastGood_.canopy, canopyState_);
    }
    hemisphereWindow_->show();
    hemisphereWindow_->raise();
    hemisphereWindow_->activateWindow();
}

exports::MainExportHeader MainWindow::ExportHeader() const
{
    exports::MainExportHeader header;
    header.leaf = leaf_;
    header.lai = canopyState_.lai;
    header.sunZenith = canopyState_.sunZenith;
    header.hotSpot = canopyState_.hotSpot;
    header.architecture = lastGood_.canopy.leafArchitecture;  // the keys that were computed
    header.soil = lastGood_.canopy.soil;
    header.viewText = widgets::ValueText(lastGood_.canopy.viewAngle).toStdString();
    header.azimuthText = widgets::ValueText(lastGood_.canopy.relAzimuth).toStdString();
    return header;
}

QString MainWindow::EmptyWorkingFiles()
{
    return widgets::EmptyFiles({kLeafSpectrumFile, kCanopySpectrumFile});
}

void MainWindow::FinishEditing()
{
    if (QWidget* editing = focusWidget(); editing != nullptr) editing->clearFocus();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    FinishEditing();  // a typed value recomputes now, not after the files are emptied
    RememberLastSession();
    const QString failure = EmptyWorkingFiles();
    if (!failure.isEmpty()) qWarning("%s", qPrintable(failure));
    QMainWindow::closeEvent(event);
}

}  // namespace tulmera::app
