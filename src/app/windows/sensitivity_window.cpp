#include "app/windows/sensitivity_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "app/widgets/chart_panel.h"
#include "app/widgets/controls.h"
#include "app/widgets/file_saving.h"
#include "app/widgets/output_texts.h"
#include "app/widgets/presentation_entry.h"
#include "gsa/gsa_files.h"
#include "gsa/quantities.h"
#include "gsa/sensitivity_charts.h"
#include "plot/figure.h"
#include "plot/raster_surface.h"
#include "plot/thick_pens.h"
#include "spectral/grid.h"

namespace tulmera::app {
namespace {

// The inputs' labels, in gsa input order.
constexpr std::array<const char*, gsa::kInputCount> kParameterTexts = {
    QT_TRANSLATE_NOOP("tulmera::app::SensitivityWindow", "Estructura de la hoja (N)"),
    QT_TRANSLATE_NOOP("tulmera::app::SensitivityWindow", "Clorofila a+b, Cab (µg/cm²)"),
    QT_TRANSLATE_NOOP("tulmera::app::SensitivityWindow", "Agua, Cw (cm)"),
    QT_TRANSLATE_NOOP("tulmera::app::SensitivityWindow", "Materia seca, Cm (g/cm²)"),
    QT_TRANSLATE_NOOP("tulmera::app::SensitivityWindow", "Índice de área foliar (LAI)"),
    QT_TRANSLATE_NOOP("tulmera::app::SensitivityWindow", "Ángulo cenital solar (°)"),
    QT_TRANSLATE_NOOP("tulmera::app::SensitivityWindow", "Ángulo de observación (°)"),
    QT_TRANSLATE_NOOP("tulmera::app::SensitivityWindow", "Ángulo acimutal relativo (°)"),
    QT_TRANSLATE_NOOP("tulmera::app::SensitivityWindow", "Parámetro Hot-Spot"),
    QT_TRANSLATE_NOOP("tulmera::app::SensitivityWindow", "Carotenoides, Car (µg/cm²)"),
    QT_TRANSLATE_NOOP("tulmera::app::SensitivityWindow", "Antocianos, Anth (µg/cm²)"),
    QT_TRANSLATE_NOOP("tulmera::app::SensitivityWindow", "Pigmentos pardos, Cbrown (0 a 1)"),
    QT_TRANSLATE_NOOP("tulmera::app::SensitivityWindow", "Proteínas, Prot (g/cm²)"),
    QT_TRANSLATE_NOOP("tulmera::app::SensitivityWindow",
                      "Otros constituyentes de carbono, CBC (g/cm²)"),
};

constexpr std::array<int, 7> kSampleSizes = {64, 128, 256, 512, 1024, 2048, 4096};
constexpr int kDefaultSampleSize = 2;  // 256: the lesson answers in about a second
constexpr std::size_t kSpectrumQuantities = spectral::kWavelengthCount;

// The two charts and the ends of their file names ("<name>-areas.png").
std::vector<widgets::ChartFile> ChartFiles()
{
    const QString areas = QCoreApplication::translate("tulmera::app::SensitivityWindow", "-areas");
    const QString bars = QCoreApplication::translate("tulmera::app::SensitivityWindow", "-barras");
    return {{gsa::kTotalOrderChartScale, areas, std::nullopt},
            {gsa::kIndexBarsChartScale, bars, std::nullopt}};
}

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

// What the worker thread and the window share: the window reads `done` while the worker runs
// and the rest only after the thread has finished.
struct SensitivityWindow::Job {
    gsa::GsaSpec spec;
    std::atomic<bool> cancel{false};
    std::atomic<std::uint64_t> done{0};
    std::optional<Result> result;
    std::string failure;  // tulmera::Error's sentence, when the analysis failed
};

SensitivityWindow::SensitivityWindow(const leaf::LeafParameters& leaf,
                                     const canopy::CanopyInputs& canopy, QWidget* parent)
    : QMainWindow(parent), held_(gsa::HeldAnalysis(leaf, canopy))
{
    setObjectName(QStringLiteral("frmSensibilidad"));
    setWindowTitle(tr("Análisis de sensibilidad"));
    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->addWidget(BuildControls());
    auto* charts = new QVBoxLayout;
    areasView_ = new widgets::ChartView(gsa::kTotalOrderChartScale, true, central);
    areasView_->setObjectName(QStringLiteral("pctAreas"));
    charts->addWidget(new QLabel(tr("Parte de cada parámetro en los efectos totales (ST), "
                                    "400 a 2500 nm"),
                                 central));
    charts->addWidget(areasView_, 1);
    firstOrderBox_ = new QCheckBox(tr("Índices de primer orden"), central);
    firstOrderBox_->setObjectName(QStringLiteral("chkPrimerOrden"));
    firstOrderBox_->setToolTip(
        tr("<b>Índices de primer orden</b><br>Dibuja sobre las áreas, en el tono oscuro de cada "
           "parámetro, su S1: la parte de la varianza que explica él solo, sin sus "
           "interacciones (escala de 0 a 1)."));
    charts->addWidget(firstOrderBox_);
    legend_ = new QLabel(central);
    legend_->setObjectName(QStringLiteral("lblLeyenda"));
    charts->addWidget(legend_);
    quantityList_ = new QComboBox(central);
    quantityList_->setObjectName(QStringLiteral("cmbMagnitud"));
    charts->addWidget(quantityList_);
    barsView_ = new widgets::ChartView(gsa::kIndexBarsChartScale, true, central);
    barsView_->setObjectName(QStringLiteral("pctBarras"));
    charts->addWidget(
        new QLabel(tr("S1 (claro) y ST (intenso) con su intervalo del 95 %"), central));
    charts->addWidget(barsView_, 1);
    row->addLayout(charts, 1);
    setCentralWidget(central);
    BuildSharing();
    connect(runButton_, &QPushButton::clicked, this, [this] { Run(); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { Cancel(); });
    connect(quantityList_, &QComboBox::currentIndexChanged, this, [this] { Redraw(); });
    connect(firstOrderBox_, &QCheckBox::toggled, this, [this] { Redraw(); });
    Redraw();
}

SensitivityWindow::~SensitivityWindow()
{
    if (job_) job_->cancel.store(true);
    if (worker_) {
        worker_->wait();
        delete worker_;  // it has no parent; Finish() never runs for it now
    }
}

QWidget* SensitivityWindow::BuildControls()
{
    auto* group = new QWidget(this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(tr("Variar"), group), 0, 0);
    grid->addWidget(new QLabel(tr("Desde (o valor fijo)"), group), 0, 2);
    grid->addWidget(new QLabel(tr("Hasta"), group), 0, 3);
    gsa::GsaSpec lesson = held_;
    gsa::SetLessonRanges(lesson);
    int at = 0;
    for (std::size_t p = 0; p < gsa::kInputCount; ++p) {
        if (!gsa::ModelReads(held_.leafModel, p)) continue;  // PROSPECT-PRO's Cm, ...
        ++at;
        const lut::ParameterRange& r = gsa::InputRange(lesson, p);
        varyBoxes_[p] = new QCheckBox(group);
        varyBoxes_[p]->setObjectName(QStringLiteral("chkVariar(%1)").arg(p));
        varyBoxes_[p]->setChecked(r.varies);
        grid->addWidget(varyBoxes_[p], at, 0);
        grid->addWidget(new QLabel(tr(kParameterTexts[p]), group), at, 1);
        for (std::size_t end = 0; end < 2; ++end) {
            auto* box = new QLineEdit(group);
            box->setObjectName(QStringLiteral("txtRango(%1,%2)").arg(p).arg(end));
            box->setText(widgets::ValueText(end == 0 ? r.lo : r.hi));
            rangeBoxes_[p][end] = box;
            grid->addWidget(box, at, 2 + static_cast<int>(end));
        }
        rangeBoxes_[p][1]->setEnabled(r.varies);
        connect(varyBoxes_[p], &QCheckBox::toggled, rangeBoxes_[p][1], &QLineEdit::setEnabled);
    }
    const int below = at + 1;
    grid->addWidget(new QLabel(tr("Muestras base (N):"), group), below, 1);
    samplesList_ = new QComboBox(group);
    samplesList_->setObjectName(QStringLiteral("cmbMuestras"));
    for (const int n : kSampleSizes) samplesList_->addItem(QString::number(n));
    samplesList_->setCurrentIndex(kDefaultSampleSize);
    samplesList_->setToolTip(
        tr("<b>Muestras base</b><br>Una potencia de dos: la secuencia de Sobol solo está "
           "equilibrada sobre potencias de dos. Se hacen N·(k + 2) simulaciones."));
    grid->addWidget(samplesList_, below, 2);
    runButton_ = new QPushButton(tr("Ejecutar"), group);
    runButton_->setObjectName(QStringLiteral("btok"));
    cancelButton_ = new QPushButton(tr("Cancelar"), group);
    cancelButton_->setObjectName(QStringLiteral("cmdCancelar"));
    cancelButton_->setEnabled(false);
    grid->addWidget(runButton_, below + 1, 1);
    grid->addWidget(cancelButton_, below + 1, 2);
    progress_ = new QProgressBar(group);
    progress_->setObjectName(QStringLiteral("barProgreso"));
    progress_->setValue(0);
    grid->addWidget(progress_, below + 2, 1, 1, 3);
    grid->setRowStretch(below + 3, 1);
    return group;
}

void SensitivityWindow::BuildSharing()
{
    widgets::AddSharingMenu(
        this,
        [this](const QString& fileName, widgets::ChartImageFormat format) {
            SaveChartImages(fileName, format);
        },
        [this](const QString& fileName) { SaveIndicesCsv(fileName); },
        [this] { return presentation_ != nullptr && presentation_->on(); });
    QMenu* view = menuBar()->addMenu(tr("&Ver"));
    view->setObjectName(QStringLiteral("menuVer"));
    // Thicker lines and bars' edges on both charts, on screen and in the saved figures.
    presentation_ = new widgets::PresentationEntry(this, view, [this](bool) { Redraw(); });
    widgets::AddCopyChartAction(areasView_);
    widgets::AddCopyChartAction(barsView_);
}

// The analysis settings the controls ask for, or nothing after saying in the status line what
// is wrong.
std::optional<gsa::GsaSpec> SensitivityWindow::ReadSpec()
{
    gsa::GsaSpec spec = held_;
    spec.samples = static_cast<std::uint64_t>(
        kSampleSizes.at(static_cast<std::size_t>(std::max(0, samplesList_->currentIndex()))));
    spec.quantities = {gsa::QuantitySet::Spectrum, gsa::QuantitySet::Indices,
                       gsa::QuantitySet::Fluxes};
    QStringList problems;
    for (std::size_t p = 0; p < gsa::kInputCount; ++p) {
        if (!varyBoxes_[p]) continue;  // held as the main window has it
        const bool varies = varyBoxes_[p]->isChecked();
        const std::optional<double> lo = widgets::ParseValueText(rangeBoxes_[p][0]->text());
        const std::optional<double> hi =
            varies ? widgets::ParseValueText(rangeBoxes_[p][1]->text()) : lo;
        if (!lo || !hi) {
            problems << tr("%1: un extremo no es un número.").arg(tr(kParameterTexts[p]));
            continue;
        }
        gsa::InputRange(spec, p) = {*lo, *hi, varies};
        const std::optional<std::string> problem = gsa::InputRangeProblem(spec, p);
        if (varies && !(*lo < *hi)) {
            problems << tr("%1: el extremo inferior debe ser menor que el superior.")
                            .arg(tr(kParameterTexts[p]));
        } else if (problem) {
            problems << tr("%1: rango no válido (%2)").arg(tr(kParameterTexts[p]), Utf8(*problem));
        }
    }
    if (problems.isEmpty() && gsa::VariedParameters(spec).size() < 2) {
        problems << tr("Hay que variar al menos dos parámetros.");
    }
    if (!problems.isEmpty()) {
        widgets::ShowProblems(statusBar(), problems);
        return std::nullopt;
    }
    return spec;
}

// "Ejecutar": the analysis on a worker thread; the window stays live and shows its progress.
void SensitivityWindow::Run()
{
    if (worker_) return;
    const std::optional<gsa::GsaSpec> spec = ReadSpec();
    if (!spec) return;
    auto job = std::make_shared<Job>();
    job->spec = *spec;
    job_ = job;
    progress_->setRange(0, static_cast<int>(gsa::SimulationCount(*spec)));
    progress_->setValue(0);
    runButton_->setEnabled(false);
    cancelButton_->setEnabled(true);
    statusBar()->showMessage(tr("Calculando %1 simulaciones…").arg(gsa::SimulationCount(*spec)));
    worker_ = QThread::create([job] {
        try {
            Result result{
                job->spec, gsa::QuantityNames(job->spec), gsa::VariedNames(job->spec), {}};
            const int threads = static_cast<int>(std::max(1, QThread::idealThreadCount()));
            result.indices = gsa::RunAnalysis(
                job->spec,
                {threads, &job->cancel, [&job](std::uint64_t done) { job->done.store(done); }});
            job->result = std::move(result);
        } catch (const std::exception& e) {  // a model failure or the cancellation
            job->failure = e.what();
        }
    });
    auto* timer = new QTimer(worker_);
    connect(timer, &QTimer::timeout, this,
            [this, job] { progress_->setValue(static_cast<int>(job->done.load())); });
    connect(worker_, &QThread::finished, this, [this] { Finish(); });
    timer->start(100);
    worker_->start();
}

void SensitivityWindow::Cancel()
{
    if (job_) job_->cancel.store(true);
}

// The worker ended: a completed analysis replaces the shown one; otherwise the last good one
// stays and the status line says why.
void SensitivityWindow::Finish()
{
    const std::shared_ptr<Job> job = std::move(job_);
    worker_->deleteLater();
    worker_ = nullptr;
    runButton_->setEnabled(true);
    cancelButton_->setEnabled(false);
    if (job->result) {
        result_ = std::move(job->result);
        progress_->setValue(progress_->maximum());
        const int previous = quantityList_->currentIndex();
        const QSignalBlocker blocker(quantityList_);
        quantityList_->clear();
        for (std::size_t q = kSpectrumQuantities; q < result_->quantities.size(); ++q)
            quantityList_->addItem(Utf8(result_->quantities[q]));
        quantityList_->setCurrentIndex(std::max(0, previous));
        QString legend;
        for (std::size_t i = 0; i < result_->parameters.size(); ++i) {
            const plot::Rgb c = gsa::ParameterColor(i);
            legend += QStringLiteral("<span style='color:rgb(%1,%2,%3)'>&#9632;</span> %4 &nbsp; ")
                          .arg(c.r)
                          .arg(c.g)
                          .arg(c.b)
                          .arg(Utf8(result_->parameters[i]).toHtmlEscaped());
        }
        legend_->setText(legend);
        Redraw();
        statusBar()->showMessage(tr("Análisis terminado."));
    } else if (job->cancel.load()) {
        statusBar()->showMessage(tr("Análisis cancelado; se muestra el anterior."));
    } else {
        statusBar()->showMessage(tr("El análisis no se realizó: ") + Utf8(job->failure));
    }
    emit AnalysisFinished();
}

void SensitivityWindow::Redraw()
{
    plot::RasterSurface areas(gsa::kTotalOrderChartScale, areasView_->SurfacePixelScale());
    plot::RasterSurface bars(gsa::kIndexBarsChartScale, barsView_->SurfacePixelScale());
    areas.Clear();
    bars.Clear();
    const int curveScale = presentation_ != nullptr && presentation_->on()
                               ? plot::FigureStyle::Presentation().curveScale
                               : 1;
    plot::ThickPens areasPens(areas, curveScale), barsPens(bars, curveScale);
    if (result_) {
        const std::vector<gsa::QuantityIndices> spectrum(
            result_->indices.begin(),
            result_->indices.begin() + static_cast<std::ptrdiff_t>(kSpectrumQuantities));
        gsa::DrawTotalOrderShares(areasPens, spectrum, result_->parameters.size());
        if (firstOrderBox_->isChecked())
            gsa::DrawFirstOrderLines(areasPens, spectrum, result_->parameters.size());
        const int chosen = quantityList_->currentIndex();
        if (chosen >= 0) {
            gsa::DrawIndexBars(
                barsPens, result_->indices[kSpectrumQuantities + static_cast<std::size_t>(chosen)]);
        }
    }
    areasView_->SetImage(areas.image());
    barsView_->SetImage(bars.image());
}

bool SensitivityWindow::SaveChartImages(const QString& fileName, widgets::ChartImageFormat format)
{
    if (!result_) {
        statusBar()->showMessage(
            tr("Todavía no hay ningún análisis que guardar: pulse «Ejecutar»."));
        return false;
    }
    const int chosen = std::max(0, quantityList_->currentIndex());
    return widgets::SaveChartFiles(
        statusBar(), fileName, ChartFiles(), format,
        [result = *result_, chosen,
         firstOrder = firstOrderBox_->isChecked()](const std::vector<plot::ChartSurface*>& charts) {
            const std::vector<gsa::QuantityIndices> spectrum(
                result.indices.begin(),
                result.indices.begin() + static_cast<std::ptrdiff_t>(kSpectrumQuantities));
            gsa::DrawTotalOrderShares(*charts[0], spectrum, result.parameters.size());
            if (firstOrder)
                gsa::DrawFirstOrderLines(*charts[0], spectrum, result.parameters.size());
            gsa::DrawIndexBars(
                *charts[1], result.indices[kSpectrumQuantities + static_cast<std::size_t>(chosen)]);
        });
}

bool SensitivityWindow::SaveIndicesCsv(const QString& fileName)
{
    if (!result_) {
        statusBar()->showMessage(
            tr("Todavía no hay ningún análisis que guardar: pulse «Ejecutar»."));
        return false;
    }
    // The settings line names the leaf angles and the soil in the window's language; the copy
    // of the analysis' settings serves that line only.
    gsa::GsaSpec named = result_->spec;
    const exports::ListNames names = widgets::WindowOutputTexts().lists;
    named.model.leafArchitecture = exports::NameOf(names, named.model.leafArchitecture);
    named.model.soil = exports::NameOf(names, named.model.soil);
    return widgets::SaveSpectraFile(statusBar(), fileName, [result = *result_, named] {
        return gsa::IndicesCsvText(gsa::SettingsText(named), result.quantities, result.parameters,
                                   result.indices);
    });
}

}  // namespace tulmera::app
