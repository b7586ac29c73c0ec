#include "app/windows/leaf_sweep_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>
#include <cmath>
#include <exception>
#include <optional>

#include "app/widgets/chart_panel.h"
#include "app/widgets/controls.h"
#include "app/widgets/core_texts.h"
#include "app/widgets/output_texts.h"
#include "app/widgets/parameter_tips.h"
#include "app/widgets/pictures.h"
#include "app/widgets/presentation_entry.h"
#include "app/widgets/value_messages.h"
#include "domain/input_domain.h"
#include "leaf/leaf_models.h"
#include "plot/figure.h"
#include "plot/thick_pens.h"
#include "textio/staged_files.h"
#include "textio/working_files.h"

namespace tulmera::app {

using namespace multi;
namespace {

using widgets::ChartDecorations;  // unqualified: lupdate takes a qualified return type for a class

constexpr std::array<const char*, kSweptParameterCount> kRowBarNames = {
    "hsN", "hscab", "hscw", "hscm", "hscar", "hsanth", "hscbrown", "hsprot", "hscbc"};
constexpr std::array<const char*, kSweptParameterCount> kRowTextNames = {
    "txtN", "txtcab", "txtcw", "txtcm", "txtcar", "txtanth", "txtcbrown", "txtprot", "txtcbc"};
// The input each row is, for its tip.
constexpr std::array<domain::Input, kSweptParameterCount> kRowInputs = {
    domain::Input::N,      domain::Input::Cab,  domain::Input::Cw,
    domain::Input::Cm,     domain::Input::Car,  domain::Input::Anth,
    domain::Input::Cbrown, domain::Input::Prot, domain::Input::CBC};
constexpr std::array<const char*, 3> kLimitBarNames = {"vsmax", "vsmin", "vsinter"};
constexpr std::array<const char*, 3> kLimitLabelNames = {"lblmax", "lblmin", "lblinter"};
constexpr int kButtonPicture = 20;

QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A caption after a sweep with its units as the window's language writes them: in Spanish as
// the captions always were ("Cab = 15 u.g.cm-2"), in English "Cab = 15 µg/cm²".
QString CaptionInWindowUnits(std::string_view caption)
{
    const exports::SweepHeaderTexts file, shown = widgets::WindowOutputTexts().sweepHeader;
    QString text = Utf8(caption);  // Cab's unit first: it ends in Cm's
    text.replace(Utf8(file.cabUnit), Utf8(shown.cabUnit));
    text.replace(Utf8(file.cmUnit), Utf8(shown.cmUnit));
    return text;
}

// A limit bar's top is its largest value: the set-up tables give it as Min.
void SetUpLimitBar(widgets::DescendingScrollBar* bar, const ScrollSetup& s)
{
    bar->SetUp(s.min, s.max, s.smallChange, s.largeChange, s.value);
}

QLabel* MakeLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

// Keeps a word-wrapped label at least as high as its lines need at the width it was given:
// a grid takes a label's height from its single-line hint, which cuts the third line of the
// instructions at a large scale or font.
class WrappedHeightKeeper : public QObject {
public:
    explicit WrappedHeightKeeper(QLabel* label) : QObject(label), label_(label)
    {
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == label_ && event->type() == QEvent::Resize) {
            const int needed = label_->heightForWidth(label_->width());
            // Only a change re-lays the group out, so the resizes this causes settle.
            if (needed > 0 && needed != label_->minimumHeight()) label_->setMinimumHeight(needed);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QLabel* label_;
};

ChartDecorations SweepChartDecorations()
{
    widgets::ChartDecorations d;
    d.title = tulmera::app::LeafSweepWindow::tr("Gráfico de Reflectividad");
    d.titleName = QStringLiteral("Label14");
    d.valueLabels = {{20, "0.2"}, {40, "0.4"}, {60, "0.6"}, {80, "0.8"}, {100, "1.0"}};
    d.valueAxisTitle = tulmera::app::LeafSweepWindow::tr("Reflectividad");
    d.valueAxisTitleName = QStringLiteral("lblEjeReflectividad");
    for (int nm = 400; nm <= 2500; nm += 300)
        d.wavelengthLabels.push_back({double(nm), QString::number(nm)});
    d.axisTitle = tulmera::app::LeafSweepWindow::tr("LONGITUD DE ONDA (nm)");
    d.axisTitleName = QStringLiteral("Label9");
    d.strip = widgets::ChartDecorations::Strip{QStringLiteral("pctlegend"), plot::kLegendStripScale,
                                               QStringLiteral("Label6"), QStringLiteral("Label7")};
    return d;
}

}  // namespace

LeafSweepWindow::LeafSweepWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMultiProspect"));
    setWindowTitle(tr("Simulación múltiple: modelo PROSPECT"));

    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    auto* controls = new QVBoxLayout;
    controls->addWidget(BuildParameterGroup());
    controls->addWidget(BuildLimitGroup());
    refusals_ = std::make_unique<widgets::RefusalMarks>(QStringLiteral("lblRechazo"), central);
    controls->addWidget(refusals_->note());
    controls->addWidget(BuildButtons());
    controls->addStretch(1);
    row->addLayout(controls, 1);  // the chart column takes twice the room the controls do

    auto* chartColumn = new QVBoxLayout;
    chartPanel_ = new widgets::ChartPanel(QStringLiteral("pctMProspect"), plot::kSweepChartScale,
                                          SweepChartDecorations(), central);
    chartColumn->addWidget(chartPanel_, 1);
    heldValuesCaption_ = MakeLabel(QStringLiteral("Label8"), QString(), central);
    chartColumn->addWidget(heldValuesCaption_);
    row->addLayout(chartColumn, 2);
    setCentralWidget(central);
    statusBar()->setSizeGripEnabled(false);

    chart_ = std::make_unique<plot::RasterSurface>(plot::kSweepChartScale,
                                                   chartPanel_->view()->SurfacePixelScale());
    legend_ = std::make_unique<plot::RasterSurface>(plot::kLegendStripScale,
                                                    chartPanel_->stripView()->SurfacePixelScale());
    Connect();
    BuildSharing();
    StartUp();
}

LeafSweepWindow::~LeafSweepWindow() = default;

QWidget* LeafSweepWindow::BuildParameterGroup()
{
    auto* group = new QWidget(this);
    auto* grid = new QGridLayout(group);
    auto* instruction =
        MakeLabel(QStringLiteral("Label1"),
                  tr("Selecciona el parámetro con el que deseas realizar múltiples simulaciones y "
                     "establece un valor fijo para el resto de parámetros"),
                  group);
    instruction->setWordWrap(true);
    new WrappedHeightKeeper(instruction);
    grid->addWidget(instruction, 0, 0, 1, 2);
    for (std::size_t i = 0; i < parameterOptions_.size(); ++i) {
        const ParameterRow& p = RowOf(static_cast<SweptParameter>(i));
        const int at = static_cast<int>(i);
        auto* option = new QRadioButton(widgets::CoreText(p.caption), group);
        option->setObjectName(QStringLiteral("btOption(%1)").arg(at));
        parameterOptions_[i] = option;
        parameterBars_[i] =
            widgets::MakeScrollBar(Qt::Horizontal, QLatin1String(kRowBarNames[i]), p.bar, group);
        auto* text = new QLineEdit(group);
        text->setObjectName(QLatin1String(kRowTextNames[i]));
        text->setFixedWidth(text->fontMetrics().horizontalAdvance(QStringLiteral("0.00000")) + 16);
        text->setAlignment(Qt::AlignRight);
        parameterBoxes_[i] = text;
        const QString tip = widgets::ParameterTip(kRowInputs[i], double(p.bar.min) / p.divisor,
                                                  double(p.bar.max) / p.divisor);
        for (QWidget* control : {static_cast<QWidget*>(option), static_cast<QWidget*>(text),
                                 static_cast<QWidget*>(parameterBars_[i])}) {
            control->setToolTip(tip);
        }
        grid->addWidget(option, 1 + 2 * at, 0, 1, 2);
        grid->addWidget(parameterBars_[i], 2 + 2 * at, 0);
        grid->addWidget(text, 2 + 2 * at, 1);
    }
    grid->setColumnMinimumWidth(0, 240);
    grid->setColumnStretch(0, 1);  // the bars take the width, each box stays beside its bar
    return group;
}

// The tip of limit bar i (vsmax, vsmin, vsinter) and its box.
QString LeafSweepWindow::LimitTip(std::size_t i)
{
    switch (i) {
        case 0:
            return tr(
                "<b>Límite superior</b><br>El último valor del parámetro elegido, en su "
                "unidad.");
        case 1:
            return tr(
                "<b>Límite inferior</b><br>El primer valor del parámetro elegido, en su "
                "unidad.");
        default:
            return tr(
                "<b>Intervalo</b><br>El paso entre dos simulaciones, en la unidad del "
                "parámetro elegido.");
    }
}

QWidget* LeafSweepWindow::BuildLimitGroup()
{
    auto* group = new QWidget(this);
    auto* grid = new QGridLayout(group);
    auto* instruction = MakeLabel(QStringLiteral("Label5"),
                                  tr("Establece el valor máximo, mínimo y el intervalo de "
                                     "variación para realizar la simulación múltiple"),
                                  group);
    instruction->setWordWrap(true);
    new WrappedHeightKeeper(instruction);
    grid->addWidget(instruction, 0, 0, 1, 3);
    for (std::size_t i = 0; i < kLimitBarNames.size(); ++i) {
        const int column = static_cast<int>(i);
        grid->addWidget(MakeLabel(QStringLiteral("Label%1").arg(column + 2),
                                  widgets::CoreText(kLimitCaptions[i]), group),
                        1, column, Qt::AlignHCenter);
        auto* bar = new widgets::DescendingScrollBar(QLatin1String(kLimitBarNames[i]), group);
        bar->setFixedHeight(110);
        limitBars_[i] = bar;
        bar->setToolTip(LimitTip(i));
        grid->addWidget(bar, 2, column, Qt::AlignHCenter);
        auto* value = new QLineEdit(group);
        value->setObjectName(QLatin1String(kLimitLabelNames[i]));
        value->setFixedWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0.00000"))
                             + 16);
        value->setAlignment(Qt::AlignCenter);
        limitValues_[i] = value;
        value->setToolTip(LimitTip(i));
        grid->addWidget(value, 3, column, Qt::AlignHCenter);
    }
    return group;
}

QWidget* LeafSweepWindow::BuildButtons()
{
    auto* group = new QWidget(this);
    // The way back on a line of its own, so that the controls keep their width.
    auto* column = new QVBoxLayout(group);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    column->addLayout(row);
    const auto makeButton = [&](const char* name, const QString& caption,
                                widgets::Picture picture) {
        auto* button = new QPushButton(caption, group);
        button->setObjectName(QLatin1String(name));
        button->setIcon(
            QIcon(widgets::PicturePixmap(picture, kButtonPicture, devicePixelRatioF())));
        button->setIconSize(QSize(kButtonPicture, kButtonPicture));
        row->addWidget(button);
        return button;
    };
    runButton_ = makeButton("btok", tr("Ejecutar"), widgets::Picture::Run);
    exportButton_ = makeButton("cmdfich", tr("Hoja de calculo"), widgets::Picture::Sheet);
    exitButton_ = makeButton("Command2", tr("Sailr"), widgets::Picture::Leave);
    backButton_ = new QPushButton(tr("Volver a la ventana principal"), group);
    backButton_->setObjectName(QStringLiteral("cmdVolver"));
    backButton_->setToolTip(tr("Cierra esta ventana y vuelve a la principal con sus valores"));
    column->addWidget(backButton_, 0, Qt::AlignLeft);
    return group;
}

void LeafSweepWindow::Connect()
{
    for (std::size_t i = 0; i < parameterOptions_.size(); ++i) {
        connect(parameterOptions_[i], &QRadioButton::clicked, this,
                [this, i] { SetUpFor(static_cast<SweptParameter>(i)); });
    }
    for (std::size_t i = 0; i < parameterBars_.size(); ++i) {
        connect(parameterBars_[i], &QScrollBar::valueChanged, this, [this, i](int value) {
            refusals_->Accept(parameterBoxes_[i]);
            parameterBoxes_[i]->setText(
                Utf8(ScrollText(value, RowOf(static_cast<SweptParameter>(i)).divisor)));
            exportButton_->setEnabled(false);
        });
    }
    for (std::size_t i = 0; i < limitBars_.size(); ++i) {
        connect(limitBars_[i], &widgets::DescendingScrollBar::DescendingValueChanged, this,
                [this, i] {
                    refusals_->Accept(limitValues_[i]);
                    ShowLimit(static_cast<int>(i));
                    exportButton_->setEnabled(false);
                });
    }
    for (std::size_t i = 0; i < limitValues_.size(); ++i) {
        connect(limitValues_[i], &QLineEdit::editingFinished, this,
                [this, i] { ApplyLimitText(i); });
    }
    for (std::size_t i = 0; i < parameterBoxes_.size(); ++i) {
        connect(parameterBoxes_[i], &QLineEdit::editingFinished, this,
                [this, i] { ApplyHeldText(i); });
    }
    connect(runButton_, &QPushButton::clicked, this, [this] { Run(); });
    for (widgets::ChartView* view : {chartPanel_->view(), chartPanel_->stripView()}) {
        connect(
            view, &widgets::ChartView::Resized, this, [this] { RedrawIfResized(); },
            Qt::QueuedConnection);
    }
    connect(exportButton_, &QPushButton::clicked, this,
            [this] { emit ExportRequested(valueCount_); });
    connect(exitButton_, &QPushButton::clicked, this, &LeafSweepWindow::ExitRequested);
    connect(backButton_, &QPushButton::clicked, this, &LeafSweepWindow::BackToMainRequested);
}

// Window load: a clear chart and the sweep of N from 1 to 4 by 0.1 with the others held at
// their scroll bars' values.
void LeafSweepWindow::StartUp()
{
    chart_->Clear();
    ShowCharts();
    parameterOptions_[0]->setChecked(true);
    ShowModel(leaf::LeafModel::Classic);
    SetUpFor(SweptParameter::N);
}

// The rows `model` reads shown, the others hidden; the title names the model unless classic.
void LeafSweepWindow::ShowModel(leaf::LeafModel model)
{
    model_ = model;
    for (std::size_t i = 0; i < parameterOptions_.size(); ++i) {
        const bool shown =
            leaf::ModelHasParameter(model, ParameterName(static_cast<SweptParameter>(i)));
        for (QWidget* control :
             {static_cast<QWidget*>(parameterOptions_[i]), static_cast<QWidget*>(parameterBars_[i]),
              static_cast<QWidget*>(parameterBoxes_[i])}) {
            control->setVisible(shown);
        }
    }
    if (!leaf::ModelHasParameter(model, ParameterName(Selected()))) {
        parameterOptions_[0]->setChecked(true);
    }
    switch (model) {
        case leaf::LeafModel::Classic:
            setWindowTitle(tr("Simulación múltiple: modelo PROSPECT"));
            break;
        case leaf::LeafModel::ProspectD:
            setWindowTitle(tr("Simulación múltiple: modelo PROSPECT-D"));
            break;
        case leaf::LeafModel::ProspectPro:
            setWindowTitle(tr("Simulación múltiple: modelo PROSPECT-PRO"));
            break;
    }
}

SweptParameter LeafSweepWindow::Selected() const
{
    for (std::size_t i = 0; i < parameterOptions_.size(); ++i) {
        if (parameterOptions_[i]->isChecked()) return static_cast<SweptParameter>(i);
    }
    return SweptParameter::N;  // one option is always selected
}

void LeafSweepWindow::SetUpFor(SweptParameter parameter)
{
    refusals_->Clear();
    const LimitBars& limits = LimitBarsOf(parameter);
    const std::array<ScrollSetup, 3> setups = {limits.upper, limits.lower, limits.interval};
    for (std::size_t i = 0; i < setups.size(); ++i) SetUpLimitBar(limitBars_[i], setups[i]);

    const auto swept = static_cast<std::size_t>(parameter);
    for (std::size_t i = 0; i < parameterBoxes_.size(); ++i) {
        const bool isSwept = i == swept;
        parameterBoxes_[i]->setEnabled(!isSwept);
        parameterBoxes_[i]->setReadOnly(isSwept);
        parameterBars_[i]->setEnabled(!isSwept);
        parameterBoxes_[i]->setText(
            isSwept ? QString()
                    : Utf8(ScrollText(parameterBars_[i]->value(),
                                      RowOf(static_cast<SweptParameter>(i)).divisor)));
    }
    for (int bar = 0; bar < 3; ++bar) ShowLimit(bar);
    exportButton_->setEnabled(false);
}

// lblmax, lblmin (bars 0 and 1) or lblinter (bar 2) from its bar, with the divisors of the
// parameter being swept.
void LeafSweepWindow::ShowLimit(int bar)
{
    const LimitBars& limits = LimitBarsOf(Selected());
    const int divisor = bar == 2 ? limits.intervalDivisor : limits.limitDivisor;
    const auto at = static_cast<std::size_t>(bar);
    limitValues_[at]->setText(Utf8(ScrollText(limitBars_[at]->DescendingValue(), divisor)));
}

SweepTexts LeafSweepWindow::ReadTexts() const
{
    SweepTexts texts;
    texts.swept = Selected();
    texts.model = model_;
    for (std::size_t i = 0; i < texts.fixed.size(); ++i) {
        texts.fixed[i] = parameterBoxes_[i]->text().toStdString();
    }
    texts.upper = limitValues_[0]->text().toStdString();
    texts.lower = limitValues_[1]->text().toStdString();
    texts.interval = limitValues_[2]->text().toStdString();
    return texts;
}

// The run: a request that cannot run is refused and changes nothing; otherwise the export is
// disabled until the sweep has completed, under the hourglass pointer.
void LeafSweepWindow::Run()
{
    const SweepTexts texts = ReadTexts();
    SweepRequest request;
    try {
        request = ReadSweepRequest(texts);
    } catch (const std::exception& e) {  // a box holding no number: said in full, not hovered
        const QString reason =
            tr("No se puede ejecutar la simulación: %1").arg(QString::fromUtf8(e.what()));
        refusals_->Refuse(nullptr, reason);
        widgets::ShowProblems(statusBar(), {reason});
        return;
    }
    if (request.lower > request.upper) {
        const QString reason =
            tr("Límite inferior: %1 está por encima del límite superior %2.")
                .arg(widgets::ValueText(request.lower), widgets::ValueText(request.upper));
        refusals_->Refuse(limitValues_[1], reason);
        widgets::ShowProblems(statusBar(), {reason});
        return;
    }
    try {
        CheckedSweepValues(request);
    } catch (const std::exception& e) {
        // Said in full beside the limits: the interval is what makes too many values.
        const QString reason =
            tr("No se puede ejecutar la simulación: %1").arg(QString::fromUtf8(e.what()));
        refusals_->Refuse(limitValues_[2], reason);
        widgets::ShowProblems(statusBar(), {reason});
        return;
    }
    MakeSurfacesForView();

    exportButton_->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    int count = 0;
    const bool done = widgets::Guarded(statusBar(), tr("La simulación se detuvo"), [&] {
        plot::ThickPens curves(*chart_, CurveScale());
        count = RunSweep(request, {curves, *legend_});
    });
    ShowCharts();
    shownRequest_.reset();
    readoutCurves_.clear();
    if (done) {
        refusals_->Clear();  // every value was accepted
        valueCount_ = count;
        shownRequest_ = request;
        const SweepCaptions captions = CaptionsAfterSweep(request, texts);
        chartPanel_->SetStripLabels(CaptionInWindowUnits(captions.lowerLimit),
                                    CaptionInWindowUnits(captions.upperLimit));
        heldValuesCaption_->setText(CaptionInWindowUnits(captions.heldValues));
        exportButton_->setEnabled(true);
        widgets::ShowProblems(statusBar(), {});
    }
    QApplication::restoreOverrideCursor();
}

// The chart surfaces are made anew, empty, when asked (`anew`), when the chart is shown at
// another size or the window has moved to a screen of another pixel ratio since they were
// made. Returns whether they were.
bool LeafSweepWindow::MakeSurfacesForView(bool anew)
{
    const widgets::ChartView* view = chartPanel_->view();
    const widgets::ChartView* strip = chartPanel_->stripView();
    const plot::ChartScale chartScale = view->DisplayedScale();
    const plot::ChartScale stripScale = strip->DisplayedScale();
    const int pixelScale = view->SurfacePixelScale();
    if (!anew && chart_->pixelScale() == pixelScale && chart_->scale().widthPx == chartScale.widthPx
        && chart_->scale().heightPx == chartScale.heightPx
        && legend_->scale().widthPx == stripScale.widthPx) {
        return false;
    }
    chart_ = std::make_unique<plot::RasterSurface>(chartScale, pixelScale);
    legend_ = std::make_unique<plot::RasterSurface>(stripScale, strip->SurfacePixelScale());
    return true;
}

// After a resize the chart is drawn again at its new size.
void LeafSweepWindow::RedrawIfResized()
{
    if (MakeSurfacesForView()) Redraw();
}

// The last completed sweep drawn again on the surfaces, which are new: its working files are
// already those of its request, so the redraw stages them and never publishes. Without one
// the chart stays empty.
void LeafSweepWindow::Redraw()
{
    if (shownRequest_) {
        widgets::Guarded(statusBar(), tr("No se pudo redibujar el gráfico"), [&] {
            textio::StagedFiles redraw;
            plot::ThickPens curves(*chart_, CurveScale());
            StageSweep(*shownRequest_, {curves, *legend_}, redraw);
        });
    }
    ShowCharts();
}

// Presentation mode: larger texts around the chart, thicker curves on it.
void LeafSweepWindow::ApplyPresentation(bool on)
{
    chartPanel_->SetPresentation(on);
    MakeSurfacesForView(true);
    Redraw();
}

int LeafSweepWindow::CurveScale() const
{
    return presentation_ != nullptr && presentation_->on()
               ? plot::FigureStyle::Presentation().curveScale
               : 1;
}

void LeafSweepWindow::ShowCharts()
{
    chartPanel_->view()->SetImage(chart_->image());
    chartPanel_->stripView()->SetImage(legend_->image());
}

void LeafSweepWindow::ShowMessage(const QString& message) { statusBar()->showMessage(message); }

QString LeafSweepWindow::EmptyWorkingFiles()
{
    return widgets::EmptyFiles({kSweepFile, kSweepCurveFile});
}

void LeafSweepWindow::closeEvent(QCloseEvent* event)
{
    const QString failure = EmptyWorkingFiles();
    if (!failure.isEmpty()) qWarning("%s", qPrintable(failure));
    QMainWindow::closeEvent(event);
}

}  // namespace tulmera::app
