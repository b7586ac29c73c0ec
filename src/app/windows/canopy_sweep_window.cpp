#include "app/windows/canopy_sweep_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/widgets/chart_panel.h"
#include "app/widgets/controls.h"
#include "app/widgets/core_texts.h"
#include "app/widgets/presentation_entry.h"
#include "app/widgets/value_messages.h"
#include "app/windows/quantity_texts.h"
#include "leaf/leaf_models.h"
#include "multi/canopy_sweep_charts.h"
#include "multi/sweep_quantity.h"
#include "plot/chart_figures.h"
#include "plot/chart_geometry.h"
#include "plot/figure.h"
#include "plot/quantity_chart.h"
#include "plot/thick_pens.h"
#include "textio/staged_files.h"
#include "textio/working_files.h"

namespace tulmera::app {
namespace {

using widgets::ChartDecorations;  // unqualified: lupdate takes a qualified return type for a class

using multi::CanopySweptParameter;

// The chooser's texts, in the order of CanopySweptParameter.
constexpr std::array<const char*, multi::kCanopySweptParameterCount> kParameterTexts = {
    QT_TRANSLATE_NOOP("tulmera::app::CanopySweepWindow", "Indice de área foliar (LAI)"),
    QT_TRANSLATE_NOOP("tulmera::app::CanopySweepWindow", "Ángulo cenital solar"),
    QT_TRANSLATE_NOOP("tulmera::app::CanopySweepWindow", "Ángulo de observación"),
    QT_TRANSLATE_NOOP("tulmera::app::CanopySweepWindow", "Ángulo acimutal relativo"),
    QT_TRANSLATE_NOOP("tulmera::app::CanopySweepWindow", "Parámetro Hot-Spot"),
    QT_TRANSLATE_NOOP("tulmera::app::CanopySweepWindow", "Observación en el plano principal"),
    QT_TRANSLATE_NOOP("tulmera::app::CanopySweepWindow", "Estructura interna de la hoja (N)"),
    QT_TRANSLATE_NOOP("tulmera::app::CanopySweepWindow", "Contenido de clorofila a+b (µg/cm²)"),
    QT_TRANSLATE_NOOP("tulmera::app::CanopySweepWindow", "Espesor equivalente de agua (cm)"),
    QT_TRANSLATE_NOOP("tulmera::app::CanopySweepWindow", "Contenido de materia seca (g/cm²)"),
};

constexpr std::array<const char*, 3> kLimitTexts = {
    QT_TRANSLATE_NOOP("tulmera::app::CanopySweepWindow", "Límite inferior:"),
    QT_TRANSLATE_NOOP("tulmera::app::CanopySweepWindow", "Límite superior:"),
    QT_TRANSLATE_NOOP("tulmera::app::CanopySweepWindow", "Intervalo:")};

constexpr std::array<const char*, 3> kLimitTips = {
    QT_TRANSLATE_NOOP("tulmera::app::CanopySweepWindow",
                      "<b>Límite inferior</b><br>El primer valor del barrido, en la unidad del "
                      "parámetro."),
    QT_TRANSLATE_NOOP("tulmera::app::CanopySweepWindow",
                      "<b>Límite superior</b><br>El último valor del barrido, en la unidad del "
                      "parámetro."),
    QT_TRANSLATE_NOOP("tulmera::app::CanopySweepWindow",
                      "<b>Intervalo</b><br>El paso entre dos valores del barrido.")};

ChartDecorations CurvesDecorations()
{
    widgets::ChartDecorations d;
    d.title = tulmera::app::CanopySweepWindow::tr("Reflectividad de la cubierta");
    d.titleName = QStringLiteral("lblTituloCurvas");
    d.valueLabels = {{20, "0.2"}, {40, "0.4"}, {60, "0.6"}, {80, "0.8"}, {100, "1.0"}};
    d.valueAxisTitle = tulmera::app::CanopySweepWindow::tr("Reflectividad");
    d.valueAxisTitleName = QStringLiteral("lblEjeReflectividad");
    for (int nm = 400; nm <= 2500; nm += 300)
        d.wavelengthLabels.push_back({double(nm), QString::number(nm)});
    d.axisTitle = tulmera::app::CanopySweepWindow::tr("LONGITUD DE ONDA (nm)");
    d.axisTitleName = QStringLiteral("lblEjeCurvas");
    d.strip =
        widgets::ChartDecorations::Strip{QStringLiteral("pctlegend"), plot::kLegendStripScale,
                                         QStringLiteral("lblPrimero"), QStringLiteral("lblUltimo")};
    return d;
}

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

// The title of the quantity chart's swept axis: the chooser's text, with the unit of an angle.
QString SweptAxisTitle(CanopySweptParameter swept)
{
    QString title = tulmera::app::CanopySweepWindow::tr(kParameterTexts[std::size_t(swept)]);
    switch (swept) {
        case CanopySweptParameter::Sun:
        case CanopySweptParameter::View:
        case CanopySweptParameter::Azimuth:
        case CanopySweptParameter::Plane:
            return title + QStringLiteral(" (°)");
        default:
            return title;
    }
}

// The first name of the quantity chart's axis numbers: after the sweep chart's.
constexpr int kFirstQuantityLabel = 20;

// The box's first value: a water band.
constexpr int kStartWavelengthNm = 1650;

}  // namespace

CanopySweepWindow::CanopySweepWindow(const leaf::LeafParameters& leaf,
                                     const canopy::CanopyInputs& canopy, QWidget* parent)
    : QMainWindow(parent), leaf_(leaf), canopy_(canopy)
{
    setObjectName(QStringLiteral("frmMultiSailh"));
    setWindowTitle(tr("Simulación múltiple: modelo SAILH"));

    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->addWidget(BuildControls());

    curvesPanel_ = new widgets::ChartPanel(QStringLiteral("pctMSailh"), plot::kSweepChartScale,
                                           CurvesDecorations(), central);
    row->addWidget(curvesPanel_, 1);

    auto* quantityColumn = new QVBoxLayout;
    quantityList_ = new QComboBox(central);
    quantityList_->setObjectName(QStringLiteral("cmbMagnitud"));
    FillQuantityList();
    wavelengthBox_ = new QSpinBox(central);
    wavelengthBox_->setObjectName(QStringLiteral("spnLongitudOnda"));
    wavelengthBox_->setRange(spectral::kFirstWavelengthNm,
                             spectral::WavelengthNm(spectral::kWavelengthCount - 1));
    wavelengthBox_->setSingleStep(spectral::kWavelengthStepNm);
    wavelengthBox_->setValue(kStartWavelengthNm);
    wavelengthBox_->setSuffix(QStringLiteral(" nm"));
    wavelengthBox_->setKeyboardTracking(false);  // a value once typed, not each digit
    wavelengthBox_->setEnabled(false);           // until its entry is chosen
    wavelengthBox_->setToolTip(
        tr("<b>Longitud de onda</b><br>La reflectividad a esta longitud de onda (400 a 2500 nm, "
           "cada 5 nm), al elegir «Otra longitud de onda» en la lista."));
    auto* quantityRow = new QHBoxLayout;
    quantityRow->addWidget(quantityList_, 1);
    quantityRow->addWidget(wavelengthBox_);
    quantityColumn->addLayout(quantityRow);
    yAxisLabel_ = new QLabel(central);
    yAxisLabel_->setObjectName(QStringLiteral("lblEjeY"));
    quantityColumn->addWidget(yAxisLabel_);
    quantityPanel_ = new widgets::ChartPanel(QStringLiteral("pctMagnitud"),
                                             plot::kQuantityChartScale, {}, central);
    quantityView_ = quantityPanel_->view();
    quantityColumn->addWidget(quantityPanel_, 1);
    xAxisLabel_ = new QLabel(central);
    xAxisLabel_->setObjectName(QStringLiteral("lblEjeX"));
    quantityColumn->addWidget(xAxisLabel_);
    zoomBox_ = new QCheckBox(tr("Ampliar al rango de los datos"), central);
    zoomBox_->setObjectName(QStringLiteral("chkAmpliar"));
    zoomBox_->setToolTip(
        tr("<b>Ampliar</b><br>Sin marcar, una reflectividad se dibuja desde 0, para que un "
           "cambio pequeño no parezca grande; marcado, la escala abarca solo los datos."));
    quantityColumn->addWidget(zoomBox_);
    row->addLayout(quantityColumn, 1);
    setCentralWidget(central);

    // The sweep runs with the main window's sky mix: its charts say so when it is not the
    // classic one, as the main window's canopy chart does.
    if (canopy_.skyMix == canopy::SkyMix::Physical) {
        for (widgets::ChartView* view : {curvesPanel_->view(), quantityView_})
            view->SetNote(tr("Mezcla de cielo física"));
    }

    Connect();
    BuildSharing();
    TakeHeldValues();
    ChooseParameter(0);
    ShowCurves();
    RedrawQuantity();
}

CanopySweepWindow::~CanopySweepWindow() = default;

QWidget* CanopySweepWindow::BuildControls()
{
    auto* group = new QWidget(this);
    auto* form = new QFormLayout(group);
    parameterList_ = new QComboBox(group);
    parameterList_->setObjectName(QStringLiteral("cmbParametro"));
    for (const char* text : kParameterTexts) parameterList_->addItem(tr(text));
    parameterList_->setToolTip(
        tr("<b>Parámetro</b><br>El que toma los valores del barrido; los demás quedan como en "
           "la ventana principal."));
    form->addRow(tr("Parámetro:"), parameterList_);
    for (std::size_t i = 0; i < limitBoxes_.size(); ++i) {
        limitBoxes_[i] = new QLineEdit(group);
        limitBoxes_[i]->setObjectName(QStringLiteral("txtLimite(%1)").arg(i));
        limitBoxes_[i]->setToolTip(tr(kLimitTips[i]));
        form->addRow(tr(kLimitTexts[i]), limitBoxes_[i]);
    }
    refusals_ = std::make_unique<widgets::RefusalMarks>(QStringLiteral("lblRechazo"), group);
    form->addRow(refusals_->note());
    runButton_ = new QPushButton(tr("Ejecutar"), group);
    runButton_->setObjectName(QStringLiteral("btok"));
    exportButton_ = new QPushButton(tr("Hoja de calculo"), group);
    exportButton_->setObjectName(QStringLiteral("cmdfich"));
    exportButton_->setEnabled(false);
    form->addRow(runButton_);
    form->addRow(exportButton_);
    heldLabel_ = new QLabel(group);
    heldLabel_->setObjectName(QStringLiteral("lblValoresFijos"));
    heldLabel_->setWordWrap(true);
    heldLabel_->setToolTip(
        tr("<b>Valores fijos</b><br>Los de la ventana principal al pulsar "
           "Ejecutar; el parámetro del barrido toma los suyos."));
    form->addRow(heldLabel_);
    return group;
}

void CanopySweepWindow::Connect()
{
    connect(parameterList_, &QComboBox::currentIndexChanged, this,
            [this](int index) { ChooseParameter(index); });
    connect(runButton_, &QPushButton::clicked, this, [this] { Run(); });
    // While a limit is marked, each finished edit checks the limits again, so that a mark goes
    // as soon as its box holds a good value.
    for (QLineEdit* box : limitBoxes_) {
        connect(box, &QLineEdit::editingFinished, this, [this] {
            if (!refusals_->note()->isHidden()) ReadLimits(HeldRequest());
        });
    }
    connect(quantityList_, &QComboBox::currentIndexChanged, this, [this] {
        wavelengthBox_->setEnabled(quantityList_->currentData().toString() == OtherWavelengthKey());
        RedrawQuantity();
    });
    connect(wavelengthBox_, &QSpinBox::valueChanged, this, [this] { ChooseWavelength(); });
    connect(zoomBox_, &QCheckBox::toggled, this, [this] { RedrawQuantity(); });
    // A chart shown at another size is drawn again at it, from the sweep in memory; queued, so
    // that a drag that resizes many times redraws once.
    for (widgets::ChartView* view : {curvesPanel_->view(), curvesPanel_->stripView()}) {
        connect(
            view, &widgets::ChartView::Resized, this,
            [this, view] {
                if (!DrawnAtShownSize(view)) ShowCurves();
            },
            Qt::QueuedConnection);
    }
    connect(
        quantityView_, &widgets::ChartView::Resized, this,
        [this] {
            if (!DrawnAtShownSize(quantityView_)) RedrawQuantity();
        },
        Qt::QueuedConnection);
    connect(exportButton_, &QPushButton::clicked, this, [this] {
        if (!result_) return;
        const auto quantity = ChosenQuantity();
        if (!quantity) return;
        emit ExportRequested(
            {std::string(multi::CanopyParameterName(result_->swept)), quantity->name,
             result_->values,
             multi::QuantityValues(*quantity, result_->canopyReflPct, result_->fluxes)});
    });
}

// A parameter chosen: its lesson limits in the three boxes.
void CanopySweepWindow::ChooseParameter(int index)
{
    if (index < 0) return;
    refusals_->Clear();
    const multi::SweepLimits limits =
        multi::DefaultCanopyLimits(static_cast<CanopySweptParameter>(index));
    const std::array<double, 3> values = {limits.lower, limits.upper, limits.interval};
    for (std::size_t i = 0; i < values.size(); ++i) {
        limitBoxes_[i]->setText(widgets::ValueText(values[i]));
    }
    if (!result_) RedrawQuantity();  // the empty chart's axis title names the new parameter
}

// The sweep: read the limits, run every step in memory, then publish "MVS.dat" whole; the
// charts change only when all of it succeeded, so a refusal or failure leaves the last good
// sweep, its file and its charts.
void CanopySweepWindow::Run()
{
    TakeHeldValues();
    multi::CanopySweepRequest request = HeldRequest();
    const std::optional<multi::SweepLimits> limits = ReadLimits(request);
    if (!limits) return;
    request.limits = *limits;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::optional<multi::CanopySweepResult> next;
    const bool done = widgets::Guarded(statusBar(), tr("La simulación no se realizó"), [&] {
        multi::CanopySweepResult computed = multi::ComputeCanopySweep(request);
        textio::StagedFiles staged;
        multi::StageCanopySweepFile(computed, staged);
        staged.Publish();
        next = std::move(computed);
    });
    QApplication::restoreOverrideCursor();
    if (!done) return;
    result_ = std::move(next);
    shownRequest_ = request;
    ShowCurves();
    RedrawQuantity();
    const QString name = Utf8(std::string(multi::CanopyParameterName(result_->swept)));
    curvesPanel_->SetStripLabels(
        name + QStringLiteral(" = ") + widgets::ValueText(result_->values.front()),
        name + QStringLiteral(" = ") + widgets::ValueText(result_->values.back()));
    exportButton_->setEnabled(true);
    widgets::ShowProblems(statusBar(), {});
}

bool CanopySweepWindow::DrawnAtShownSize(const widgets::ChartView* view)
{
    const plot::ChartScale shown = view->DisplayedScale();
    const int k = view->SurfacePixelScale();
    return view->image().size() == QSize(shown.widthPx * k, shown.heightPx * k);
}

void CanopySweepWindow::ShowCurves()
{
    // At the size the charts are shown, not stretched from their first one.
    const int pixelScale = curvesPanel_->view()->SurfacePixelScale();
    plot::RasterSurface curves(curvesPanel_->view()->DisplayedScale(), pixelScale);
    plot::RasterSurface legend(curvesPanel_->stripView()->DisplayedScale(), pixelScale);
    curves.Clear();
    legend.Clear();
    plot::ThickPens thick(curves, CurveScale());
    if (result_) multi::PaintCanopySweepCurves({thick, legend}, *result_);
    curvesPanel_->view()->SetImage(curves.image());
    curvesPanel_->stripView()->SetImage(legend.image());
}

// Chart (b) from the sweep in memory: changing the quantity never runs the sweep again.
void CanopySweepWindow::RedrawQuantity()
{
    plot::RasterSurface chart(quantityView_->DisplayedScale(), quantityView_->SurfacePixelScale());
    chart.Clear();
    const auto quantity = ChosenQuantity();
    if (result_ && quantity) {
        plot::ThickPens thick(chart, CurveScale());
        const plot::QuantityAxes axes =
            multi::PaintSweepQuantity(thick, *result_, *quantity, ChosenZoom());
        const QString name = Utf8(std::string(multi::CanopyParameterName(result_->swept)));
        xAxisLabel_->setText(
            tr("%1: %2 a %3")
                .arg(name, widgets::ValueText(axes.xMin), widgets::ValueText(axes.xMax)));
        // Four significant digits: the curve's range to read, not its values to copy.
        yAxisLabel_->setText(tr("%1: %2 a %3")
                                 .arg(Utf8(quantity->name), widgets::ValueText(axes.yMin, 4),
                                      widgets::ValueText(axes.yMax, 4)));
        NumberQuantityAxes(axes, QuantityEntryText(quantity->name), result_->swept);
    } else if (!result_) {
        // Numbered already before the first sweep, so that the chart keeps its place.
        NumberQuantityAxes({0, 1, 0, 1}, quantityList_->currentText(),
                           static_cast<CanopySweptParameter>(parameterList_->currentIndex()));
    }
    quantityView_->SetImage(chart.image());
}

// The quantity chart's axis numbers at the ticks its saved figure has, and the axes' titles.
void CanopySweepWindow::NumberQuantityAxes(const plot::QuantityAxes& axes, const QString& quantity,
                                           CanopySweptParameter swept)
{
    const plot::Figure figure = plot::QuantityChartFigure(axes, {}, {});
    ChartDecorations d;
    // Chart units 0 .. 1 run from the axis's value at its start to the one at its end.
    const auto place = [](const plot::FigureAxis& axis,
                          std::vector<ChartDecorations::AxisLabel>& out) {
        for (const double tick : axis.ticks) {
            out.push_back({(tick - axis.atStart) / (axis.atEnd - axis.atStart),
                           Utf8(plot::TickText(axis, tick))});
        }
    };
    place(figure.y, d.valueLabels);
    place(figure.x, d.wavelengthLabels);
    d.firstLabelIndex = kFirstQuantityLabel;
    d.valueAxisTitle = quantity;
    d.valueAxisTitleName = QStringLiteral("lblEjeMagnitud");
    d.axisTitle = SweptAxisTitle(swept);
    d.axisTitleName = QStringLiteral("lblEjeParametro");
    quantityPanel_->SetAxes(d);
}

void CanopySweepWindow::ApplyPresentation(bool on)
{
    ShowPresentationTexts(on);
    ShowCurves();
    RedrawQuantity();
}

void CanopySweepWindow::ShowPresentationTexts(bool on)
{
    curvesPanel_->SetPresentation(on);
    quantityPanel_->SetPresentation(on);
    const double scale = on ? widgets::ChartPanel::kPresentationTextScale : 1.0;
    for (QWidget* text : {static_cast<QWidget*>(xAxisLabel_), static_cast<QWidget*>(yAxisLabel_),
                          static_cast<QWidget*>(quantityList_)}) {
        QFont font = text->font();
        font.setPointSizeF(QApplication::font(text).pointSizeF() * scale);
        text->setFont(font);
    }
}

int CanopySweepWindow::CurveScale() const
{
    return presentation_ != nullptr && presentation_->on()
               ? plot::FigureStyle::Presentation().curveScale
               : 1;
}

multi::QuantityZoom CanopySweepWindow::ChosenZoom() const
{
    return zoomBox_->isChecked() ? multi::QuantityZoom::Data : multi::QuantityZoom::Whole;
}

void CanopySweepWindow::FollowValues(HeldValues source)
{
    heldSource_ = std::move(source);
    TakeHeldValues();
}

void CanopySweepWindow::TakeHeldValues()
{
    if (heldSource_) {
        if (const auto held = heldSource_()) std::tie(leaf_, canopy_) = *held;
    }
    const auto v = [](double x) { return widgets::ValueText(x); };
    QString leafLine =
        QStringLiteral("N %1, Cab %2, Cw %3").arg(v(leaf_.N), v(leaf_.Cab), v(leaf_.Cw));
    if (leaf::ModelHasParameter(leaf_.model, "Cm"))
        leafLine += QStringLiteral(", Cm %1").arg(v(leaf_.Cm));
    for (const leaf::LeafParameterField& field : leaf::kLeafParameterFields) {
        const std::string_view name = field.name;
        if (name == "N" || name == "Cab" || name == "Cw" || name == "Cm") continue;
        if (!leaf::ModelHasParameter(leaf_.model, name)) continue;
        leafLine += QStringLiteral(", %1 %2").arg(
            QLatin1String(name.data(), static_cast<qsizetype>(name.size())), v(leaf_.*field.value));
    }
    heldLabel_->setText(tr("Valores fijos:") + QLatin1Char('\n') + leafLine + QLatin1Char('\n')
                        + tr("LAI %1, sol %2°, observación %3°, acimut %4°, hot-spot %5")
                              .arg(v(canopy_.lai), v(canopy_.sunZenith), v(canopy_.viewAngle),
                                   v(canopy_.relAzimuth), v(canopy_.hotSpot))
                        + QLatin1Char('\n') + widgets::CoreText(canopy_.leafArchitecture)
                        + QLatin1Char('\n') + widgets::CoreText(canopy_.soil) + QLatin1Char('\n')
                        + tr("Visibilidad %1 km").arg(canopy::VisibilityKm(canopy_.visibility)));
}

QString CanopySweepWindow::LimitName(std::size_t i)
{
    return widgets::ControlName(tr(kLimitTexts[i]));
}

QString CanopySweepWindow::EmptyWorkingFiles() { return widgets::EmptyFiles({kCanopySweepFile}); }

}  // namespace tulmera::app
