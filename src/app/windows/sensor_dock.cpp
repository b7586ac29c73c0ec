#include "app/windows/sensor_dock.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/widgets/controls.h"
#include "app/widgets/core_texts.h"
#include "canopy/canopy_fluxes.h"
#include "plot/band_tables.h"
#include "plot/chart_background.h"
#include "sensor/band_tables.h"
#include "sensor/band_values.h"
#include "sensor/indices.h"
#include "textio/number_text.h"

namespace tulmera::app {
namespace {

constexpr int kPercentDecimals = 2;  // band values, percent
constexpr int kIndexDecimals = 4;
constexpr int kReipDecimals = 1;  // nm
constexpr std::size_t kReip = 7;  // REIP's place in sensor::kIndices
static_assert(sensor::kIndices[kReip].name == "REIP");
constexpr std::string_view kDefaultSensor = "Sentinel-2 MSI";
const QString kUndefined = QStringLiteral("—");
constexpr int kFluxDecimals = 4;

// The flux table's rows, in order, and the value each shows.
struct FluxRow {
    const char* caption;  // translated where shown
    double canopy::CanopyFluxes::*value;
};
constexpr std::array<FluxRow, 5> kFluxRows = {{
    {QT_TRANSLATE_NOOP("tulmera::app::SensorDock", "fAPAR"), &canopy::CanopyFluxes::fAPAR},
    {QT_TRANSLATE_NOOP("tulmera::app::SensorDock", "fCover"), &canopy::CanopyFluxes::fCover},
    {QT_TRANSLATE_NOOP("tulmera::app::SensorDock", "Albedo PAR (400–700 nm)"),
     &canopy::CanopyFluxes::albedoPar},
    {QT_TRANSLATE_NOOP("tulmera::app::SensorDock", "Albedo NIR (700–1300 nm)"),
     &canopy::CanopyFluxes::albedoNir},
    {QT_TRANSLATE_NOOP("tulmera::app::SensorDock", "Albedo onda corta (400–2500 nm)"),
     &canopy::CanopyFluxes::albedoShortwave},
}};

// Settings keys.
const QString kVisibleKey = QStringLiteral("sensorDock/visible");
const QString kAreaKey = QStringLiteral("sensorDock/area");
const QString kFloatingKey = QStringLiteral("sensorDock/floating");
const QString kGeometryKey = QStringLiteral("sensorDock/geometry");

QString FromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Fixed(const std::optional<double>& value, int decimals)
{
    return value ? QString::fromStdString(textio::FixedText(*value, decimals)) : kUndefined;
}

// The wavelengths a formula reads: the digits after each "ρ", in increasing order.
std::set<int> FormulaWavelengths(std::string_view formula)
{
    constexpr std::string_view kRho = "ρ";
    std::set<int> wavelengths;
    for (std::size_t at = formula.find(kRho); at != std::string_view::npos;
         at = formula.find(kRho, at + 1)) {
        int nm = 0;
        for (std::size_t i = at + kRho.size();
             i < formula.size() && formula[i] >= '0' && formula[i] <= '9'; ++i) {
            nm = nm * 10 + (formula[i] - '0');
        }
        if (nm > 0) wavelengths.insert(nm);
    }
    return wavelengths;
}

// True when `formula` names the index `name` as a whole word ("OSAVI" in TCARI/OSAVI's, not
// "SAVI").
bool NamesIndex(std::string_view formula, std::string_view name)
{
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    for (std::size_t at = formula.find(name); at != std::string_view::npos;
         at = formula.find(name, at + 1)) {
        const std::size_t end = at + name.size();
        if ((at == 0 || !isLetter(formula[at - 1]))
            && (end == formula.size() || !isLetter(formula[end]))) {
            return true;
        }
    }
    return false;
}

// An index's tooltip: its formula, the formulas of the indices it is built on, and every
// wavelength they read.
QString IndexTooltip(const sensor::IndexInfo& index)
{
    QString tip = FromView(index.name) + QStringLiteral(" = ") + FromView(index.formula);
    std::set<int> wavelengths = FormulaWavelengths(index.formula);
    for (const sensor::IndexInfo& other : sensor::kIndices) {
        if (other.name == index.name || !NamesIndex(index.formula, other.name)) continue;
        tip += QStringLiteral("\n") + FromView(other.name) + QStringLiteral(" = ")
               + FromView(other.formula);
        wavelengths.merge(FormulaWavelengths(other.formula));
    }
    QStringList texts;
    for (const int nm : wavelengths) texts << QString::number(nm);
    return tip + tulmera::app::SensorDock::tr("\nLongitudes de onda: ")
           + texts.join(QStringLiteral(", ")) + QStringLiteral(" nm");
}

QString RegionText(const sensor::Band& band)
{
    return widgets::BandRegionText(sensor::RegionName(sensor::RegionOf(band)));
}

// "B4 (rojo)": a band's own name and its region.
QString BandLabel(const sensor::Sensor& sensor, std::size_t band)
{
    return QStringLiteral("%1 (%2)").arg(QString::fromStdString(sensor::BandName(sensor, band)),
                                         RegionText(sensor.bands[band]));
}

// The bands of `sensor` an index reads, in the order of its wavelengths ("B4, B8"), with "—"
// for a wavelength no band holds; the indices it is built on count as read.
QString BandsRead(const sensor::IndexInfo& index, const sensor::Sensor& sensor)
{
    std::set<int> wavelengths = FormulaWavelengths(index.formula);
    for (const sensor::IndexInfo& other : sensor::kIndices) {
        if (other.name != index.name && NamesIndex(index.formula, other.name))
            wavelengths.merge(FormulaWavelengths(other.formula));
    }
    QStringList names;
    for (const int nm : wavelengths) {
        const std::optional<std::size_t> band = sensor::BandHolding(sensor, nm);
        const QString name =
            band ? QString::fromStdString(sensor::BandName(sensor, *band)) : kUndefined;
        if (!names.contains(name)) names << name;
    }
    return names.join(QStringLiteral(", "));
}

QTableWidget* MakeTable(const QString& name, const QStringList& headers, QWidget* parent)
{
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->setVisible(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    // Columns are fitted to their contents when the sensor changes, not at each refresh:
    // measuring every cell's text at each refresh would cost more than the charts.
    table->setWordWrap(false);
    // As wide as its columns and as high as its rows ask, one text line a row.
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    table->verticalHeader()->setMinimumSectionSize(table->fontMetrics().height());
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setStretchLastSection(false);
    return table;
}

void SetCell(QTableWidget* table, int row, int column, const QString& text)
{
    QTableWidgetItem* item = table->item(row, column);
    if (item == nullptr) {
        item = new QTableWidgetItem;
        if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(row, column, item);
    }
    item->setText(text);
}

}  // namespace

SensorDock::SensorDock(QMainWindow* window, QStatusBar* status)
    : QDockWidget(tr("Sensor e índices"), window), window_(window), status_(status)
{
    setObjectName(QStringLiteral("sensorDock"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable
                | QDockWidget::DockWidgetFloatable);
    auto* content = new QWidget(this);
    auto* column = new QVBoxLayout(content);
    sensorName_ = new QLabel(content);
    sensorName_->setObjectName(QStringLiteral("sensorName"));
    QFont bold = sensorName_->font();
    bold.setBold(true);
    sensorName_->setFont(bold);
    sensorChooser_ = new QComboBox(content);
    sensorChooser_->setObjectName(QStringLiteral("sensorChooser"));
    sensorChooser_->setToolTip(tr("El sensor que se muestra con la cuadrícula"));
    for (const sensor::Sensor& s : sensor::kSensors) sensorChooser_->addItem(FromView(s.name));
    sensorChooser_->setCurrentText(FromView(kDefaultSensor));
    chosenSensor_ = sensorChooser_->currentIndex();
    bandTable_ = MakeTable(QStringLiteral("bandTable"),
                           {tr("Banda"), tr("Región"), tr("Límites (nm)"), tr("Refl. hoja (%)"),
                            tr("Trans. hoja (%)"), tr("Refl. dosel (%)"), tr("Refl. suelo (%)")},
                           content);
    indexSource_ = new QComboBox(content);
    indexSource_->setObjectName(QStringLiteral("indexSource"));
    indexSource_->addItem(tr("Índices del espectro cada 5 nm"));
    indexSource_->addItem(tr("Índices de las bandas del sensor"));
    indexSource_->setToolTip(
        tr("<b>Origen de los índices</b><br>Del espectro simulado cada 5 nm, en las longitudes "
           "de onda de cada fórmula, o de los valores de banda del sensor: cada longitud de onda "
           "toma el valor de la banda que la contiene."));
    indexSourceNote_ = new QLabel(content);
    indexSourceNote_->setObjectName(QStringLiteral("indexSourceNote"));
    indexSourceNote_->setWordWrap(true);
    indexTable_ =
        MakeTable(QStringLiteral("indexTable"), {tr("Índice"), tr("Valor"), tr("Bandas")}, content);
    indexTable_->setRowCount(sensor::kIndexCount);
    for (std::size_t i = 0; i < sensor::kIndices.size(); ++i) {
        const sensor::IndexInfo& index = sensor::kIndices[i];
        const int row = static_cast<int>(i);
        SetCell(indexTable_, row, 0,
                FromView(index.name) + (i == kReip ? QStringLiteral(" (nm)") : QString()));
        SetCell(indexTable_, row, 1, kUndefined);
        const QString tip = IndexTooltip(index);
        indexTable_->item(row, 0)->setToolTip(tip);
        indexTable_->item(row, 1)->setToolTip(tip);
    }
    indexTable_->setColumnHidden(2, true);  // the bands read, with the band-based indices
    broadbandNdvi_ = new QLabel(content);
    broadbandNdvi_->setObjectName(QStringLiteral("broadbandNdvi"));
    broadbandNdvi_->setWordWrap(true);  // the dock may narrow beside the charts
    fluxTable_ =
        MakeTable(QStringLiteral("fluxTable"), {tr("Flujo del dosel"), tr("Valor")}, content);
    fluxTable_->setRowCount(static_cast<int>(kFluxRows.size()));
    for (std::size_t i = 0; i < kFluxRows.size(); ++i) {
        SetCell(fluxTable_, static_cast<int>(i), 0, tr(kFluxRows[i].caption));
        SetCell(fluxTable_, static_cast<int>(i), 1, kUndefined);
    }
    // The captions never change: the columns fit them and the widest value once, and the
    // table is as high as its five rows, so that nothing of it needs scrolling.
    fluxTable_->resizeColumnsToContents();
    fluxTable_->setColumnWidth(
        1, std::max(fluxTable_->columnWidth(1),
                    fluxTable_->fontMetrics().horizontalAdvance(QStringLiteral("0.00000")) + 12));
    fluxTable_->setMinimumHeight(fluxTable_->horizontalHeader()->sizeHint().height()
                                 + fluxTable_->verticalHeader()->length()
                                 + 2 * fluxTable_->frameWidth());
    column->addWidget(sensorName_);
    column->addWidget(sensorChooser_);
    column->addWidget(bandTable_, 3);
    column->addWidget(indexSource_);
    column->addWidget(indexSourceNote_);
    column->addWidget(indexTable_, 4);
    column->addWidget(broadbandNdvi_);
    column->addWidget(fluxTable_, 2);
    setWidget(content);

    viewAction_ = new QAction(tr("&Sensor e índices"), this);
    viewAction_->setObjectName(QStringLiteral("viewSensorDock"));
    viewAction_->setCheckable(true);

    Restore();
    viewAction_->setChecked(!isHidden());
    connect(viewAction_, &QAction::triggered, this, [this](bool shown) { setVisible(shown); });
    connect(this, &QDockWidget::dockLocationChanged, this, [this] { Remember(); });
    connect(this, &QDockWidget::topLevelChanged, this, [this] { Remember(); });
    connect(sensorChooser_, &QComboBox::activated, this, [this](int index) {
        chosenSensor_ = index;
        Render();
    });
    connect(indexSource_, &QComboBox::activated, this, [this] {
        fittedSensor_ = nullptr;  // the bands column comes or goes: fit the columns again
        Render();
    });
}

// Shown or hidden by the view entry, the dock's close button or the settings, whether or not
// the window is on screen yet.
bool SensorDock::event(QEvent* event)
{
    const bool result = QDockWidget::event(event);
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) {
        viewAction_->setChecked(!isHidden());
        if (!isHidden() && stale_) Render();
        Remember();
    }
    return result;
}

// Where the settings put the dock; hidden and at the right when they say nothing.
void SensorDock::Restore()
{
    restoring_ = true;
    const QSettings settings;
    auto area = static_cast<Qt::DockWidgetArea>(
        settings.value(kAreaKey, static_cast<int>(Qt::RightDockWidgetArea)).toInt());
    if (area != Qt::LeftDockWidgetArea && area != Qt::RightDockWidgetArea
        && area != Qt::TopDockWidgetArea && area != Qt::BottomDockWidgetArea) {
        area = Qt::RightDockWidgetArea;
    }
    window_->addDockWidget(area, this);
    if (settings.value(kFloatingKey, false).toBool()) {
        setFloating(true);
        restoreGeometry(settings.value(kGeometryKey).toByteArray());
    }
    setVisible(settings.value(kVisibleKey, false).toBool());
    restoring_ = false;
}

void SensorDock::Remember() const
{
    if (restoring_) return;  // the state being restored is already the remembered one
    QSettings settings;
    settings.setValue(kVisibleKey, !isHidden());
    settings.setValue(kAreaKey, static_cast<int>(window_->dockWidgetArea(
                                    const_cast<SensorDock*>(this))));  // Qt's API is not const
    settings.setValue(kFloatingKey, isFloating());
    if (isFloating()) settings.setValue(kGeometryKey, saveGeometry());
}

QSize SensorDock::RoomBeside() const
{
    // Nothing is QSize(0, 0): a default QSize is (-1, -1) and would take a pixel off a sum.
    if (isHidden() || isFloating()) return {0, 0};
    const Qt::DockWidgetArea area = window_->dockWidgetArea(const_cast<SensorDock*>(this));
    // The dock and the separator between it and the window's content.
    const int separator = style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this);
    if (area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea) {
        return {PreferredWidth() + separator, 0};
    }
    return {0, sizeHint().height() + separator};
}

int SensorDock::PreferredWidth() const
{
    return fontMetrics().horizontalAdvance(QLatin1Char('x')) * 44;
}

const sensor::Sensor& SensorDock::ShownSensor() const
{
    if (checkedEntry_ >= plot::kFirstSensorEntry && checkedEntry_ <= plot::kBackgroundEntryCount)
        return plot::SensorOfEntry(checkedEntry_);
    return sensor::kSensors[static_cast<std::size_t>(chosenSensor_)];
}

void SensorDock::Show(const canopy::CanopyState& state, int checkedEntry, canopy::SkyMix skyMix)
{
    shown_ = state;
    checkedEntry_ = checkedEntry;
    skyMix_ = skyMix;
    stale_ = true;
    if (!isHidden()) Render();
}

void SensorDock::Render()
{
    sensorChooser_->setEnabled(checkedEntry_ == plot::kGridEntry);
    if (!shown_) return;
    const sensor::Sensor& sensor = ShownSensor();
    // The chooser names the sensor shown: the checked entry's, or the one chosen in it.
    sensorChooser_->setCurrentText(FromView(sensor.name));
    widgets::Guarded(status_, tr("No se pudieron mostrar los valores del sensor"), [&] {
        sensorName_->setText(FromView(sensor.name));
        FillBands(sensor);
        FillIndices(sensor);
        if (fittedSensor_ != &sensor) FitColumns(sensor);
        stale_ = false;
    });
    FillFluxes();  // after the band values: its failure leaves them shown
}

// The fluxes of the shown canopy with its sky mix, or "—" for all of them when they cannot be
// computed; never throws.
void SensorDock::FillFluxes()
{
    std::optional<canopy::CanopyFluxes> fluxes;
    if (shown_->lai > 0.0) {  // else no canopy was run: nothing to compute, nothing to report
        widgets::Guarded(status_, tr("No se pudieron calcular los flujos del dosel"),
                         [&] { fluxes = canopy::ComputeCanopyFluxes(*shown_, skyMix_); });
    }
    for (std::size_t i = 0; i < kFluxRows.size(); ++i) {
        const std::optional<double> value =
            fluxes ? std::optional<double>((*fluxes).*kFluxRows[i].value) : std::nullopt;
        SetCell(fluxTable_, static_cast<int>(i), 1, Fixed(value, kFluxDecimals));
    }
}

void SensorDock::FillBands(const sensor::Sensor& sensor)
{
    const canopy::CanopyState& s = *shown_;
    const std::array<const spectral::Spectrum*, 4> spectra = {&s.leafReflPct, &s.leafTransPct,
                                                              &s.canopyReflPct, &s.soilRefl};
    std::array<std::vector<std::optional<double>>, 4> means;
    for (std::size_t k = 0; k < spectra.size(); ++k)
        means[k] = sensor::BandMeans(*spectra[k], sensor);
    bandTable_->setRowCount(static_cast<int>(sensor.bands.size()));
    for (std::size_t b = 0; b < sensor.bands.size(); ++b) {
        const int row = static_cast<int>(b);
        SetCell(bandTable_, row, 0, QString::fromStdString(sensor::BandName(sensor, b)));
        SetCell(bandTable_, row, 1, RegionText(sensor.bands[b]));
        bandTable_->item(row, 1)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        SetCell(bandTable_, row, 2,
                QStringLiteral("%1–%2").arg(sensor.bands[b].lowerNm).arg(sensor.bands[b].upperNm));
        for (std::size_t k = 0; k < spectra.size(); ++k)
            SetCell(bandTable_, row, static_cast<int>(k) + 3, Fixed(means[k][b], kPercentDecimals));
    }
}

// Fits the columns to the band names, limits and headers of `sensor`; values never need more
// than a header's width, or the room of the widest index value.
void SensorDock::FitColumns(const sensor::Sensor& sensor)
{
    bandTable_->resizeColumnsToContents();
    indexTable_->resizeColumnsToContents();
    const int valueWidth =
        indexTable_->fontMetrics().horizontalAdvance(QStringLiteral("-00000.0000")) + 12;
    indexTable_->setColumnWidth(1, std::max(indexTable_->columnWidth(1), valueWidth));
    fittedSensor_ = &sensor;
}

bool SensorDock::FromBands() const { return indexSource_->currentIndex() == 1; }

void SensorDock::FillIndices(const sensor::Sensor& sensor)
{
    const spectral::Spectrum rho = sensor::FractionOfPercent(shown_->canopyReflPct);
    const bool fromBands = FromBands();
    const sensor::IndexValues values =
        fromBands ? sensor::ComputeBandIndices(rho, sensor) : sensor::ComputeIndices(rho);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int row = static_cast<int>(i);
        SetCell(indexTable_, row, 1, Fixed(values[i], i == kReip ? kReipDecimals : kIndexDecimals));
        SetCell(indexTable_, row, 2,
                fromBands ? BandsRead(sensor::kIndices[i], sensor) : QString());
        indexTable_->item(row, 2)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    indexTable_->setColumnHidden(2, !fromBands);
    indexSourceNote_->setText(
        fromBands ? tr("Con las bandas de %1: cada ρλ es el valor medio de la banda que contiene "
                       "λ; «—» donde ninguna banda la contiene.")
                        .arg(FromView(sensor.name))
                  : tr("Del espectro simulado cada 5 nm, en las longitudes de onda exactas de "
                       "cada fórmula; no dependen del sensor."));
    const sensor::NdviBands bands = sensor::NdviBandsOf(sensor);
    const QString red = bands.red ? BandLabel(sensor, *bands.red) : kUndefined;
    const QString nir = BandLabel(sensor, bands.nir);
    broadbandNdvi_->setText(
        tr("NDVI de banda ancha (bandas %1 y %2): %3")
            .arg(red, nir, Fixed(sensor::BroadbandNdvi(rho, sensor), kIndexDecimals)));
}

}  // namespace tulmera::app
