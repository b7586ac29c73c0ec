#include "app/windows/frm_tulmera.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/windows/main_window_rows.h"
#include "app/widgets/chart_panel.h"
#include "app/widgets/controls.h"
#include "plot/chart_geometry.h"
#include "plot/raster_surface.h"
#include "textio/working_files.h"

namespace tulmera::app {
namespace {

const QColor kSoilSwatchColor(200, 100, 0);  // Line3, set when the window loads

}  // namespace

FrmTulmera::FrmTulmera(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmTulmera"));
    setWindowTitle(QStringLiteral("Tulmera"));
    BuildMenus();

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->addWidget(BuildProspectGroup());
    auto* separator = new QFrame(central);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    column->addWidget(separator);
    column->addWidget(BuildSailhGroup());
    setCentralWidget(central);
    statusBar()->setSizeGripEnabled(false);

    Connect();
    Load();
}

FrmTulmera::~FrmTulmera() = default;

void FrmTulmera::SetRefreshObserver(std::function<void(refresh::RefreshStep)> observer)
{
    refreshObserver_ = std::move(observer);
}

void FrmTulmera::Connect()
{
    for (QScrollBar* bar : leafBars_) {
        connect(bar, &QScrollBar::valueChanged, this, [this] { LeafParameterSequence(); });
    }
    for (QScrollBar* bar : canopyBars_) {
        connect(bar, &QScrollBar::valueChanged, this, [this] { CanopyParameterSequence(); });
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
    connect(exportAction_, &QAction::triggered, this, &FrmTulmera::ExportRequested);
    connect(switchToSweepAction_, &QAction::triggered, this, &FrmTulmera::MultipleSimulationRequested);
    connect(exitAction_, &QAction::triggered, this, &FrmTulmera::ExitRequested);
}

// Start-up: the value texts from the bars, then a first recomputation. The soil swatch takes
// its colour here.
void FrmTulmera::Load()
{
    RefreshLeafTexts();
    SetLeafParametersFromTexts();
    RefreshSailhTexts();
    canopyChartPanel_->swatch(1)->SetColor(kSoilSwatchColor);
    Recompute();
}

void FrmTulmera::LeafParameterSequence()
{
    RefreshLeafTexts();
    SetLeafParametersFromTexts();
    Recompute();
}

void FrmTulmera::CanopyParameterSequence()
{
    RefreshSailhTexts();
    Recompute();
}

void FrmTulmera::ChooseBackground(int entry)
{
    for (int i = 1; i <= plot::kBackgroundEntryCount; ++i)
        backgroundActions_[static_cast<std::size_t>(i)]->setChecked(false);
    backgroundActions_[static_cast<std::size_t>(entry)]->setChecked(true);
    background_.checkedEntry = entry;
    Recompute();
}

void FrmTulmera::RefreshLeafTexts()
{
    for (std::size_t i = 0; i < kLeafRows.size(); ++i) {
        leafBoxes_[i]->setText(widgets::ValueText(
            static_cast<double>(leafBars_[i]->value()) / kLeafRows[i].divisor));
    }
}

void FrmTulmera::RefreshSailhTexts()
{
    for (std::size_t i = 0; i < kCanopyRows.size(); ++i) {
        canopyBoxes_[i]->setText(widgets::ValueText(static_cast<double>(canopyBars_[i]->value())
                                                    / kCanopyRows[i].divisor));
    }
}

// The leaf texts always come from the bars, so they always read back as numbers.
void FrmTulmera::SetLeafParametersFromTexts()
{
    std::array<double, 4> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = widgets::ParseValueText(leafBoxes_[i]->text()).value_or(0.0);
    }
    leaf_ = {values[0], values[1], values[2], values[3]};
}

// Reads the canopy inputs from the controls. A text that is no number, or a leaf area index
// that is not above 0, keeps the value of the last good recomputation: the box shows it
// again and the status line says why. Returns false when that happened.
bool FrmTulmera::ReadCanopyInputs(canopy::CanopyInputs& inputs)
{
    const std::array<double*, 5> targets = {&inputs.lai, &inputs.sunZenith, &inputs.viewAngle,
                                            &inputs.relAzimuth, &inputs.hotSpot};
    const std::array<double, 5> previous = {lastGoodInputs_.lai, lastGoodInputs_.sunZenith,
                                            lastGoodInputs_.viewAngle, lastGoodInputs_.relAzimuth,
                                            lastGoodInputs_.hotSpot};
    QStringList problems;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const QString text = canopyBoxes_[i]->text();
        const std::optional<double> value = widgets::ParseValueText(text);
        const QString caption = canopyCaptions_[i + 3]->text();
        if (!value) {
            problems << QStringLiteral("%1 «%2» no es un número").arg(caption, text.trimmed());
        } else if (i == 0 && !(*value > 0.0)) {
            problems << QStringLiteral("%1 debe ser mayor que 0").arg(caption);
        } else {
            *targets[i] = *value;
            continue;
        }
        *targets[i] = previous[i];
        canopyBoxes_[i]->setText(widgets::ValueText(previous[i]));
    }
    inputs.leafArchitecture = canopyLists_[0]->currentText().toStdString();
    inputs.soil = canopyLists_[1]->currentText().toStdString();
    inputs.visibility =
        visibilityOptions_[0]->isChecked() ? canopy::Visibility::Km15 : canopy::Visibility::Km50;
    if (problems.isEmpty()) return true;
    statusBar()->showMessage(problems.join(QStringLiteral("; "))
                             + QStringLiteral(": se mantiene el valor anterior."));
    return false;
}

// The recomputation: leaf run, chart backgrounds and leaf curves, canopy run, canopy and soil
// curves. It draws on the back surfaces, which become the shown charts only when every step
// has succeeded, so a failure leaves the charts of the last good recomputation on screen.
void FrmTulmera::Recompute()
{
    canopy::CanopyInputs inputs;
    const bool inputsAsTyped = ReadCanopyInputs(inputs);
    widgets::ChartView* leafView = leafChartPanel_->view();
    widgets::ChartView* canopyView = canopyChartPanel_->view();
    ChartSurfaces& back = surfaces_[back_];
    plot::RasterSurface& leafChart =
        DrawingSurface(back.leaf, plot::kLeafChartScale, leafView->SurfacePixelScale());
    plot::RasterSurface& canopyChart =
        DrawingSurface(back.canopy, plot::kCanopyChartScale, canopyView->SurfacePixelScale());
    const bool done = widgets::Guarded(statusBar(), QStringLiteral("No se pudo recalcular"), [&] {
        refresh::Recompute(leaf_, inputs, canopyState_, {leafChart, canopyChart}, background_,
                       refreshObserver_);
    });
    if (!done) {
        ShowCanopyInputs(lastGoodInputs_);  // the values the charts still show
        return;
    }
    lastGoodInputs_ = inputs;
    leafView->SetImage(leafChart.image());
    canopyView->SetImage(canopyChart.image());
    back_ = 1 - back_;
    if (inputsAsTyped) statusBar()->clearMessage();
}

// A back surface at the screen's current pixel scale: kept from one recomputation to the
// next, made anew when the window moved to a screen of another pixel ratio.
plot::RasterSurface& FrmTulmera::DrawingSurface(std::unique_ptr<plot::RasterSurface>& surface,
                                                const plot::ChartScale& scale, int pixelScale)
{
    if (!surface || surface->pixelScale() != pixelScale) {
        surface = std::make_unique<plot::RasterSurface>(scale, pixelScale);
    }
    return *surface;
}

void FrmTulmera::ShowCanopyInputs(const canopy::CanopyInputs& inputs)
{
    const std::array<double, 5> values = {inputs.lai, inputs.sunZenith, inputs.viewAngle,
                                          inputs.relAzimuth, inputs.hotSpot};
    for (std::size_t i = 0; i < values.size(); ++i) {
        canopyBoxes_[i]->setText(widgets::ValueText(values[i]));
    }
}

spreadsheet::MainExportHeader FrmTulmera::ExportHeader() const
{
    spreadsheet::MainExportHeader header;
    header.leaf = leaf_;
    header.lai = canopyState_.lai;
    header.sunZenith = canopyState_.sunZenith;
    header.hotSpot = canopyState_.hotSpot;
    header.architecture = canopyLists_[0]->currentText().toStdString();
    header.soil = canopyLists_[1]->currentText().toStdString();
    header.viewText = canopyBoxes_[2]->text().toStdString();
    header.azimuthText = canopyBoxes_[3]->text().toStdString();
    return header;
}

QString FrmTulmera::EmptyWorkingFiles()
{
    return widgets::EmptyFiles({kLeafSpectrumFile, kCanopySpectrumFile});
}

void FrmTulmera::closeEvent(QCloseEvent* event)
{
    const QString failure = EmptyWorkingFiles();
    if (!failure.isEmpty()) qWarning("%s", qPrintable(failure));
    QMainWindow::closeEvent(event);
}

}  // namespace tulmera::app
