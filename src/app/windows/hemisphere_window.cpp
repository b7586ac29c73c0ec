#include "app/windows/hemisphere_window.h"

#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "app/widgets/controls.h"
#include "app/widgets/file_saving.h"
#include "app/widgets/presentation_entry.h"
#include "app/widgets/settings_keys.h"
#include "app/widgets/window_settings.h"
#include "app/windows/quantity_texts.h"
#include "plot/figure_text.h"
#include "plot/hemisphere_pictures.h"
#include "plot/raster_figure.h"
#include "spectral/grid.h"
#include "textio/error.h"

namespace tulmera::app {
namespace {

constexpr int kSavedFigureWidth = 1600;  // pixels of a saved PNG, as the charts' figures

// The grid's directions, zenith by zenith and in each azimuth by azimuth, as
// plot::HemisphereValues orders its values.
std::vector<engine::ViewDirection> GridDirections()
{
    std::vector<engine::ViewDirection> views;
    const auto zeniths =
        static_cast<int>(std::lround(HemisphereWindow::kMaxZenithDeg / HemisphereWindow::kStepDeg));
    const auto azimuths = static_cast<int>(std::lround(360.0 / HemisphereWindow::kStepDeg));
    for (int i = 0; i <= zeniths; ++i) {
        for (int j = 0; j < azimuths; ++j) {
            views.push_back({i * HemisphereWindow::kStepDeg, j * HemisphereWindow::kStepDeg});
        }
    }
    return views;
}

}  // namespace

HemisphereWindow::HemisphereWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmHemisferio"));
    setWindowTitle(tr("Vista hemisférica"));
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    auto* row = new QHBoxLayout;
    auto* caption = new QLabel(tr("Longitud de onda:"), central);
    wavelength_ = new QSpinBox(central);
    wavelength_->setObjectName(QStringLiteral("spnLongitudOnda"));
    wavelength_->setRange(spectral::kFirstWavelengthNm,
                          spectral::WavelengthNm(spectral::kWavelengthCount - 1));
    wavelength_->setSingleStep(spectral::kWavelengthStepNm);
    wavelength_->setValue(kStartWavelengthNm);
    wavelength_->setSuffix(QStringLiteral(" nm"));
    wavelength_->setKeyboardTracking(false);  // a typed value counts once it is complete
    caption->setBuddy(wavelength_);
    row->addWidget(caption);
    row->addWidget(wavelength_);
    quantity_ = new QComboBox(central);
    quantity_->setObjectName(QStringLiteral("cmbMagnitudHemisferio"));
    quantity_->addItem(tr("Reflectividad a esa longitud de onda"));
    for (const std::string& name : multi::SweepQuantityNames()) {
        const auto quantity = multi::ParseSweepQuantity(name);
        if (quantity && quantity->kind != multi::SweepQuantity::Kind::Wavelength)
            quantity_->addItem(QuantityEntryText(name), QString::fromStdString(name));
    }
    row->addWidget(quantity_);
    row->addStretch(1);
    column->addLayout(row);
    picture_ = new QLabel(central);
    picture_->setObjectName(QStringLiteral("pctHemisferio"));
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    const int smallest = plot::SmallestHemisphereWidth(plot::FigureStyle::Normal());
    picture_->setMinimumSize(smallest, smallest / 2);
    column->addWidget(picture_, 1);
    setCentralWidget(central);
    statusBar()->setSizeGripEnabled(true);
    BuildMenu();
    // Only the grid's wavelengths: a typed 672 goes to 670 (the box steps by 5 from 400).
    connect(wavelength_, &QSpinBox::editingFinished, this, [this] {
        const int index =
            (wavelength_->value() - spectral::kFirstWavelengthNm + spectral::kWavelengthStepNm / 2)
            / spectral::kWavelengthStepNm;
        wavelength_->setValue(spectral::WavelengthNm(index));
    });
    connect(quantity_, &QComboBox::currentIndexChanged, this, [this](int entry) {
        wavelength_->setEnabled(entry == 0);
        Recompute();
    });
    connect(wavelength_, &QSpinBox::valueChanged, this, [this](int nm) {
        if ((nm - spectral::kFirstWavelengthNm) % spectral::kWavelengthStepNm == 0) Recompute();
    });
    // Its natural size, within the screen's free area (a large scale factor or a small screen).
    QSize size(1000, 560);
    if (const QScreen* shown = screen(); shown != nullptr) {
        size = size.boundedTo(shown->availableGeometry().size());
    }
    resize(size);
    new widgets::GeometryKeeper(this, objectName());
}

void HemisphereWindow::BuildMenu()
{
    QMenu* menu = menuBar()->addMenu(tr("&Archivo"));
    menu->setObjectName(QStringLiteral("mnuArchivoHemisferio"));
    struct Entry {
        QString text, name, filter, suffix;
        std::function<void(const QString&)> save;
    };
    const std::vector<Entry> entries = {
        {tr("Guardar figura PNG…"), QStringLiteral("mnuGuardarFiguraPng"), tr("Imagen PNG (*.png)"),
         QStringLiteral("png"), [this](const QString& name) { SaveFigure(name, false); }},
        {tr("Guardar figura SVG…"), QStringLiteral("mnuGuardarFiguraSvg"), tr("Imagen SVG (*.svg)"),
         QStringLiteral("svg"), [this](const QString& name) { SaveFigure(name, true); }},
        {tr("Guardar valores (CSV)…"), QStringLiteral("mnuGuardarValores"), tr("Tabla CSV (*.csv)"),
         QStringLiteral("csv"), [this](const QString& name) { SaveValues(name); }},
    };
    for (const Entry& entry : entries) {
        QAction* action = menu->addAction(entry.text);
        action->setObjectName(entry.name);
        const QString folder = entry.suffix == QStringLiteral("csv")
                                   ? QLatin1String(widgets::kSpectraFolder)
                                   : QLatin1String(widgets::kChartsFolder);
        connect(action, &QAction::triggered, this, [this, entry, folder] {
            widgets::ChooseFileToSave(this, tr("Vista hemisférica"), entry.filter, entry.suffix,
                                      folder, entry.save, tr("tulmera-vista-hemisferica"));
        });
    }
    QMenu* view = menuBar()->addMenu(tr("&Ver"));
    view->setObjectName(QStringLiteral("menuVer"));
    // Larger texts, thicker cut and axes on the figure shown and on the figures saved.
    presentation_ = new widgets::PresentationEntry(this, view, [this](bool) { Redraw(); });
}

plot::FigureStyle HemisphereWindow::Style() const
{
    return presentation_ != nullptr && presentation_->on() ? plot::FigureStyle::Presentation()
                                                           : plot::FigureStyle::Normal();
}

void HemisphereWindow::Follow(const leaf::LeafParameters& leaf, const canopy::CanopyInputs& inputs,
                              const canopy::CanopyState& state)
{
    followedLeaf_ = leaf;
    followedInputs_ = inputs;
    followedState_ = state;
    following_ = true;
    stale_ = true;
    if (isVisible()) Recompute();
}

void HemisphereWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (stale_) {
        Recompute();
    } else {
        Redraw();
    }
}

void HemisphereWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (isVisible()) Redraw();
}

// One leaf and canopy seen from every grid direction at the chosen wavelength, through the
// engine (its values are the exact path's within 1e-12); the map and the cut follow.
void HemisphereWindow::Recompute()
{
    if (!following_) return;
    const int nm = wavelength_->value();
    const std::optional<multi::SweepQuantity> quantity =
        quantity_->currentIndex() > 0
            ? multi::ParseSweepQuantity(quantity_->currentData().toString().toStdString())
            : std::nullopt;
    plot::HemisphereValues values;
    values.stepDeg = kStepDeg;
    values.maxZenithDeg = kMaxZenithDeg;
    values.sunZenithDeg = followedInputs_.sunZenith;
    const bool done = widgets::Guarded(
        statusBar(), tr("No se pudo calcular la vista hemisférica; se muestra la anterior"),
        [&] { values.values = quantity ? QuantityValues(*quantity) : ReflectanceValues(nm); });
    if (!done) return;
    values_ = std::move(values);
    shownMix_ = followedInputs_.skyMix;
    shownWavelengthNm_ = nm;
    shownQuantity_ =
        quantity ? std::optional(QString::fromStdString(quantity->name)) : std::nullopt;
    shownIsIndex_ = quantity && quantity->kind == multi::SweepQuantity::Kind::Index;
    stale_ = false;
    statusBar()->clearMessage();
    Redraw();
}

engine::CanopyScene HemisphereWindow::FollowedScene() const
{
    return {followedState_.lidf, followedState_.soilRefl, followedInputs_.visibility,
            followedInputs_.skyMix};
}

// The reflectance at one grid point, every direction through the engine's hemispherical view
// (the leaf and the sky computed once).
std::vector<std::optional<double>> HemisphereWindow::ReflectanceValues(int nm) const
{
    const int index = (nm - spectral::kFirstWavelengthNm) / spectral::kWavelengthStepNm;
    engine::CanopyBatch one;
    one.Append(followedLeaf_, followedInputs_.lai, followedInputs_.sunZenith, 0.0, 0.0,
               followedInputs_.hotSpot);
    const std::vector<engine::ViewDirection> views = GridDirections();
    const engine::HemisphereView view = engine::ViewHemisphere(FollowedScene(), one, views, index);
    std::vector<std::optional<double>> values;
    for (std::size_t i = 0; i < views.size(); ++i) {
        values.push_back(view.error[i].empty() ? std::optional(view.refl[i]) : std::nullopt);
    }
    return values;
}

// An index or a band value needs the whole spectrum of each direction: one canopy run per
// direction through the engine, then the quantity as the canopy sweep computes it.
std::vector<std::optional<double>> HemisphereWindow::QuantityValues(
    const multi::SweepQuantity& quantity) const
{
    const std::vector<engine::ViewDirection> views = GridDirections();
    engine::CanopyBatch batch;
    batch.Reserve(views.size());
    for (const engine::ViewDirection& view : views) {
        batch.Append(followedLeaf_, followedInputs_.lai, followedInputs_.sunZenith, view.viewZenith,
                     view.relAzimuth, followedInputs_.hotSpot);
    }
    engine::RunOptions options;
    options.threads = 2;
    const engine::CanopySpectraBatch spectra =
        engine::ComputeCanopySpectra(FollowedScene(), batch, options);
    std::vector<std::optional<double>> values;
    for (std::size_t i = 0; i < views.size(); ++i) {
        if (!spectra.error[i].empty()) {
            values.push_back(std::nullopt);
            continue;
        }
        spectral::Spectrum pct{};
        for (std::size_t k = 0; k < pct.size(); ++k) {
            pct[k] = 100.0 * spectra.refl[i * spectral::kWavelengthCount + k];
        }
        values.push_back(multi::QuantityValue(quantity, pct));
    }
    return values;
}

plot::HemisphereTexts HemisphereWindow::Texts() const
{
    plot::HemisphereTexts texts;
    if (shownQuantity_) {
        texts.title = tr("%1 de la cubierta").arg(*shownQuantity_).toStdString();
        texts.valueAxis =
            shownIsIndex_ ? shownQuantity_->toStdString() : tr("Reflectividad").toStdString();
    } else {
        texts.title =
            tr("Reflectividad de la cubierta a %1 nm").arg(shownWavelengthNm_).toStdString();
        texts.valueAxis = tr("Reflectividad").toStdString();
    }
    texts.planeAxis = tr("Ángulo de observación en el plano principal (°)").toStdString();
    texts.sun = tr("Sol").toStdString();
    texts.noValue = tr("Sin valor").toStdString();
    if (shownMix_ == canopy::SkyMix::Physical)
        texts.note = tr("Mezcla de cielo física").toStdString();
    return texts;
}

// The figure as wide as the picture's room allows, and no higher.
void HemisphereWindow::Redraw()
{
    if (values_.values.empty()) return;
    const plot::HemisphereTexts texts = Texts();
    const plot::FigureStyle style = Style();
    const int k = std::max(1, static_cast<int>(std::ceil(devicePixelRatioF() - 1e-9)));
    const int smallest = plot::SmallestHemisphereWidth(style);
    int width = std::max(smallest, picture_->width());
    const plot::HemisphereLayout trial =
        plot::LayOutHemisphere(values_, texts, width, style, plot::FigureTextMeasure());
    if (trial.frame.height > picture_->height()) {
        width = std::max(smallest, width * picture_->height() / std::max(1, trial.frame.height));
    }
    image_ = plot::HemisphereImage(values_, texts, width, k, style);
    image_.setDevicePixelRatio(k);
    picture_->setPixmap(QPixmap::fromImage(image_));
}

bool HemisphereWindow::SaveFigure(const QString& fileName, bool svg)
{
    const bool saved = widgets::Guarded(
        statusBar(),
        tr("No se pudo guardar la figura «%1»; el archivo anterior no cambió").arg(fileName), [&] {
            if (values_.values.empty()) throw Error("There are no values to save yet.");
            const plot::HemisphereTexts texts = Texts();
            const std::string path = QFile::encodeName(fileName).toStdString();
            const plot::FigureStyle style = Style();
            widgets::SaveWholeFile(
                fileName,
                svg ? plot::HemisphereSvg(values_, texts, style, path)
                    : plot::HemispherePng(values_, texts, kSavedFigureWidth, style, path));
        });
    if (saved) statusBar()->showMessage(tr("Figura guardada en «%1».").arg(fileName));
    return saved;
}

bool HemisphereWindow::SaveValues(const QString& fileName)
{
    const bool saved = widgets::Guarded(
        statusBar(),
        tr("No se pudieron guardar los valores «%1»; el archivo anterior no cambió").arg(fileName),
        [&] {
            if (values_.values.empty()) throw Error("There are no values to save yet.");
            widgets::SaveWholeFile(fileName, plot::HemisphereCsv(values_));
        });
    if (saved) statusBar()->showMessage(tr("Valores guardados en «%1».").arg(fileName));
    return saved;
}

}  // namespace tulmera::app
