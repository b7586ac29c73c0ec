#include "app/frm_tulmera.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/widgets/chart_panel.h"
#include "app/widgets/controls.h"
#include "plot/chart_background.h"
#include "plot/chart_geometry.h"
#include "plot/raster_surface.h"
#include "spectral/soil_library.h"
#include "textio/working_files.h"

namespace tulmera::app {
namespace {

using widgets::ScrollRange;

// One parameter row of the window: caption, scroll bar range and the divisor that turns the
// bar's integer into the parameter's value.
struct ParameterRow {
    const char* caption;
    ScrollRange range;
    int divisor;
};

// clang-format off
constexpr std::array<ParameterRow, 4> kLeafRows = {{
    {"Estructura interna de la hoja (N):",      {100,  400,  1,   50,  100},  100},
    {"Contenido de clorofila a+b (u.g.cm-2):",  {1500, 9000, 10, 1500, 1500}, 100},
    {"Espesor equivalente de agua (cm):",       {1,    700,  1,  100,  1},    10000},
    {"Contenido de materia seca (g.cm-2):",     {20,   400,  10,  50,  20},   10000},
}};

constexpr std::array<ParameterRow, 5> kCanopyRows = {{
    {"Indice de área foliar (LAI):",  {10,    700,  10, 100,  10}, 100},
    {"Ángulo cenital solar:",         {0,     9000, 10, 1000, 0},  100},
    {"Ángulo de observación:",        {-7500, 7500, 10, 1000, 0},  100},
    {"Ángulo acimutal relativo:",     {0,     1800, 10, 100,  0},  10},
    {"Parámetro Hot-Spot:",           {0,     100,  5,  10,   0},  100},
}};

// clang-format on

const QColor kSoilSwatchColor(200, 100, 0);  // Line3, set when the window loads

QString Indexed(const char* name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QLineEdit* MakeValueBox(const QString& name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("-0.00000")) + 16);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QLabel* MakeTitle(const QString& name, const QString& text, QWidget* parent)
{
    auto* title = new QLabel(text, parent);
    title->setObjectName(name);
    QFont font = title->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.15);
    title->setFont(font);
    return title;
}

std::vector<widgets::ChartDecorations::AxisLabel> WavelengthLabels()
{
    std::vector<widgets::ChartDecorations::AxisLabel> labels;
    for (int nm = 400; nm <= 2500; nm += 300) labels.push_back({double(nm), QString::number(nm)});
    return labels;
}

widgets::ChartDecorations LeafChartDecorations()
{
    widgets::ChartDecorations d;
    d.legend = {{"Line1", QColor(0, 255, 0), 3, "Reflectividad Hoja"},
                {"Line2", QColor(255, 0, 0), 3, "Transmisividad Hoja"}};
    d.valueLabels = {{100, "1.0"}, {80, "0.8"}, {60, "0.6"}, {40, "0.4"}, {20, "0.2"}};
    d.wavelengthLabels = WavelengthLabels();
    d.firstLabelIndex = 0;
    d.axisTitle = QStringLiteral("LONGITUD DE ONDA (nm)");
    d.axisTitleName = QStringLiteral("Label2");
    return d;
}

widgets::ChartDecorations CanopyChartDecorations()
{
    widgets::ChartDecorations d;
    d.legend = {{"Line4", QColor(0, 255, 0), 3, "Reflectividad Dosel"},
                {"Line3", QColor(0, 0, 0), 1, "Reflectividad suelo"}};
    d.valueLabels = {{60, "0.6"}, {50, "0.5"}, {40, "0.4"}, {30, "0.3"}, {20, "0.2"}, {10, "0.1"}};
    d.wavelengthLabels = WavelengthLabels();
    d.firstLabelIndex = 13;
    d.axisTitle = QStringLiteral("LONGITUD DE ONDA (nm)");
    d.axisTitleName = QStringLiteral("Label1");
    return d;
}

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

void FrmTulmera::SetRefreshObserver(std::function<void(RefreshStep)> observer)
{
    refreshObserver_ = std::move(observer);
}

void FrmTulmera::BuildMenus()
{
    QMenu* menu1 = menuBar()->addMenu(QStringLiteral("Archivo"));
    menu1->setObjectName(QStringLiteral("menu1"));
    ui_.menu11 = menu1->addAction(QStringLiteral("Ver hoja de calculo"));
    ui_.menu11->setObjectName(QStringLiteral("menu11"));
    QMenu* menu12 = menu1->addMenu(QStringLiteral("Simulación múltiple"));
    menu12->setObjectName(QStringLiteral("menu12"));
    ui_.menu121 = menu12->addAction(QStringLiteral("Modelo Prospect"));
    ui_.menu121->setObjectName(QStringLiteral("menu121"));
    ui_.menu13 = menu1->addAction(QStringLiteral("Sailr"));
    ui_.menu13->setObjectName(QStringLiteral("menu13"));

    QMenu* menu2 = menuBar()->addMenu(QStringLiteral("Configuracion"));
    menu2->setObjectName(QStringLiteral("menu2"));
    QMenu* menu21 = menu2->addMenu(QStringLiteral("Gráficos"));
    menu21->setObjectName(QStringLiteral("menu21"));
    for (int entry = 1; entry <= plot::kBackgroundEntryCount; ++entry) {
        const std::string_view caption =
            plot::kBackgroundCaptions[static_cast<std::size_t>(entry - 1)];
        QAction* action = menu21->addAction(
            QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
        action->setObjectName(Indexed("menu211", entry));
        action->setCheckable(true);
        action->setChecked(entry == background_.checkedEntry);
        ui_.menu211[static_cast<std::size_t>(entry)] = action;
    }
}

QWidget* FrmTulmera::BuildProspectGroup()
{
    auto* group = new QWidget(this);
    auto* row = new QHBoxLayout(group);
    auto* controls = new QGridLayout;
    controls->addWidget(
        MakeTitle(QStringLiteral("Label3"), QStringLiteral("Modelo PROSPECT"), group), 0, 0, 1, 2);
    for (int i = 0; i < 4; ++i) {
        const ParameterRow& p = kLeafRows[static_cast<std::size_t>(i)];
        const auto at = static_cast<std::size_t>(i);
        ui_.lblProspect[at] = new QLabel(QString::fromUtf8(p.caption), group);
        ui_.lblProspect[at]->setObjectName(Indexed("lblProspect", i));
        ui_.hsbProspect[at] =
            widgets::MakeScrollBar(Qt::Horizontal, Indexed("hsbProspect", i), p.range, group);
        ui_.txtProspect[at] = MakeValueBox(Indexed("txtProspect", i), group);
        controls->addWidget(ui_.lblProspect[at], 1 + 2 * i, 0, 1, 2);
        controls->addWidget(ui_.hsbProspect[at], 2 + 2 * i, 0);
        controls->addWidget(ui_.txtProspect[at], 2 + 2 * i, 1);
    }
    controls->setRowStretch(9, 1);
    controls->setColumnMinimumWidth(0, 260);
    row->addLayout(controls, 1);
    ui_.prospectPanel = new widgets::ChartPanel(
        QStringLiteral("pctProspect"), plot::kLeafChartScale, LeafChartDecorations(), group);
    row->addWidget(ui_.prospectPanel, 0, Qt::AlignTop);
    return group;
}

QWidget* FrmTulmera::BuildSailhGroup()
{
    auto* group = new QWidget(this);
    auto* row = new QHBoxLayout(group);
    auto* controls = new QGridLayout;
    controls->addWidget(MakeTitle(QStringLiteral("Label5"), QStringLiteral("Modelo SAILH"), group),
                        0, 0, 1, 2);
    for (int i = 0; i < 5; ++i) {
        const ParameterRow& p = kCanopyRows[static_cast<std::size_t>(i)];
        const auto at = static_cast<std::size_t>(i);
        auto* caption = new QLabel(QString::fromUtf8(p.caption), group);
        caption->setObjectName(Indexed("lblSailh", i + 3));
        ui_.lblSailh[at + 3] = caption;
        ui_.hsbSailh[at] =
            widgets::MakeScrollBar(Qt::Horizontal, Indexed("hsbSailh", i), p.range, group);
        ui_.txtSailh[at] = MakeValueBox(Indexed("txtSailh", i), group);
        controls->addWidget(caption, 1 + 2 * i, 0, 1, 2);
        controls->addWidget(ui_.hsbSailh[at], 2 + 2 * i, 0);
        controls->addWidget(ui_.txtSailh[at], 2 + 2 * i, 1);
    }

    const auto addList = [&](int index, const char* caption, const QStringList& items,
                             int gridRow) {
        auto* label = new QLabel(QString::fromUtf8(caption), group);
        label->setObjectName(Indexed("lblSailh", index));
        ui_.lblSailh[static_cast<std::size_t>(index)] = label;
        auto* combo = new QComboBox(group);
        combo->setObjectName(Indexed("cmbSailh", index));
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);  // a typed text is used, not added
        combo->addItems(items);
        combo->setCurrentIndex(0);
        ui_.cmbSailh[static_cast<std::size_t>(index)] = combo;
        controls->addWidget(label, gridRow, 0, 1, 2);
        controls->addWidget(combo, gridRow + 1, 0, 1, 2);
    };
    QStringList architectures;
    for (const std::string_view name : canopy::kLeafArchitectureNames) {
        architectures << QString::fromUtf8(name.data(), static_cast<int>(name.size()));
    }
    QStringList soils;
    for (const std::string_view key : spectral::kSoilKeys) {
        soils << QString::fromUtf8(key.data(), static_cast<int>(key.size()));
    }
    addList(0, "Arquitectura del dosel", architectures, 11);
    addList(1, "Reflectividad del suelo:", soils, 13);

    ui_.lblSailh[2] = new QLabel(QStringLiteral("Visibilidad atmosférica:"), group);
    ui_.lblSailh[2]->setObjectName(Indexed("lblSailh", 2));
    auto* visibility = new QHBoxLayout;
    visibility->addWidget(ui_.lblSailh[2]);
    for (int i = 0; i < 2; ++i) {
        auto* option =
            new QRadioButton(i == 0 ? QStringLiteral("15 Km") : QStringLiteral("50 Km"), group);
        option->setObjectName(Indexed("tipocielo", i));
        option->setChecked(i == 0);
        ui_.tipocielo[static_cast<std::size_t>(i)] = option;
        visibility->addWidget(option);
    }
    visibility->addStretch(1);
    controls->addLayout(visibility, 15, 0, 1, 2);
    controls->setRowStretch(16, 1);
    controls->setColumnMinimumWidth(0, 260);
    row->addLayout(controls, 1);
    ui_.sailhPanel = new widgets::ChartPanel(QStringLiteral("pctSailh"), plot::kCanopyChartScale,
                                             CanopyChartDecorations(), group);
    row->addWidget(ui_.sailhPanel, 0, Qt::AlignTop);
    return group;
}

void FrmTulmera::Connect()
{
    for (QScrollBar* bar : ui_.hsbProspect) {
        connect(bar, &QScrollBar::valueChanged, this, [this] { LeafParameterSequence(); });
    }
    for (QScrollBar* bar : ui_.hsbSailh) {
        connect(bar, &QScrollBar::valueChanged, this, [this] { CanopyParameterSequence(); });
    }
    for (QRadioButton* option : ui_.tipocielo) {
        connect(option, &QRadioButton::clicked, this, [this] { Recompute(); });
    }
    for (QComboBox* combo : ui_.cmbSailh) {
        connect(combo, &QComboBox::activated, this, [this] { Recompute(); });
    }
    for (int entry = 1; entry <= 8; ++entry) {
        connect(ui_.menu211[static_cast<std::size_t>(entry)], &QAction::triggered, this,
                [this, entry] { ChooseBackground(entry); });
    }
    connect(ui_.menu11, &QAction::triggered, this, &FrmTulmera::ExportRequested);
    connect(ui_.menu121, &QAction::triggered, this, &FrmTulmera::MultipleSimulationRequested);
    connect(ui_.menu13, &QAction::triggered, this, &FrmTulmera::ExitRequested);
}

// Start-up: the value texts from the bars, then a first recomputation. The soil swatch takes
// its colour here.
void FrmTulmera::Load()
{
    RefreshLeafTexts();
    SetLeafParametersFromTexts();
    RefreshSailhTexts();
    ui_.sailhPanel->swatch(1)->SetColor(kSoilSwatchColor);
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
    for (int i = 1; i <= 8; ++i) ui_.menu211[static_cast<std::size_t>(i)]->setChecked(false);
    ui_.menu211[static_cast<std::size_t>(entry)]->setChecked(true);
    background_.checkedEntry = entry;
    Recompute();
}

void FrmTulmera::RefreshLeafTexts()
{
    for (std::size_t i = 0; i < kLeafRows.size(); ++i) {
        ui_.txtProspect[i]->setText(widgets::ValueText(
            static_cast<double>(ui_.hsbProspect[i]->value()) / kLeafRows[i].divisor));
    }
}

void FrmTulmera::RefreshSailhTexts()
{
    for (std::size_t i = 0; i < kCanopyRows.size(); ++i) {
        ui_.txtSailh[i]->setText(widgets::ValueText(static_cast<double>(ui_.hsbSailh[i]->value())
                                                    / kCanopyRows[i].divisor));
    }
}

// The leaf texts always come from the bars, so they always read back as numbers.
void FrmTulmera::SetLeafParametersFromTexts()
{
    std::array<double, 4> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = widgets::ParseValueText(ui_.txtProspect[i]->text()).value_or(0.0);
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
        const QString text = ui_.txtSailh[i]->text();
        const std::optional<double> value = widgets::ParseValueText(text);
        const QString caption = ui_.lblSailh[i + 3]->text();
        if (!value) {
            problems << QStringLiteral("%1 «%2» no es un número").arg(caption, text.trimmed());
        } else if (i == 0 && !(*value > 0.0)) {
            problems << QStringLiteral("%1 debe ser mayor que 0").arg(caption);
        } else {
            *targets[i] = *value;
            continue;
        }
        *targets[i] = previous[i];
        ui_.txtSailh[i]->setText(widgets::ValueText(previous[i]));
    }
    inputs.leafArchitecture = ui_.cmbSailh[0]->currentText().toStdString();
    inputs.soil = ui_.cmbSailh[1]->currentText().toStdString();
    inputs.visibility =
        ui_.tipocielo[0]->isChecked() ? canopy::Visibility::Km15 : canopy::Visibility::Km50;
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
    widgets::ChartView* leafView = ui_.prospectPanel->view();
    widgets::ChartView* canopyView = ui_.sailhPanel->view();
    ChartSurfaces& back = surfaces_[back_];
    plot::RasterSurface& leafChart =
        DrawingSurface(back.leaf, plot::kLeafChartScale, leafView->SurfacePixelScale());
    plot::RasterSurface& canopyChart =
        DrawingSurface(back.canopy, plot::kCanopyChartScale, canopyView->SurfacePixelScale());
    const bool done = widgets::Guarded(statusBar(), QStringLiteral("No se pudo recalcular"), [&] {
        app::Recompute(leaf_, inputs, canopyState_, {leafChart, canopyChart}, background_,
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
        ui_.txtSailh[i]->setText(widgets::ValueText(values[i]));
    }
}

spreadsheet::MainExportHeader FrmTulmera::ExportHeader() const
{
    spreadsheet::MainExportHeader header;
    header.leaf = leaf_;
    header.lai = canopyState_.lai;
    header.sunZenith = canopyState_.sunZenith;
    header.hotSpot = canopyState_.hotSpot;
    header.architecture = ui_.cmbSailh[0]->currentText().toStdString();
    header.soil = ui_.cmbSailh[1]->currentText().toStdString();
    header.viewText = ui_.txtSailh[2]->text().toStdString();
    header.azimuthText = ui_.txtSailh[3]->text().toStdString();
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
