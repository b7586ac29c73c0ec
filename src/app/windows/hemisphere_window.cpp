#include "app/windows/hemisphere_window.h"

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
#include "app/widgets/settings_keys.h"
#include "app/widgets/window_settings.h"
#include "engine/engine.h"
#include "plot/chart_images.h"
#include "plot/figure_text.h"
#include "plot/raster_figure.h"
#include "plot/svg_figure.h"
#include "spectral/grid.h"
#include "textio/error.h"

namespace tulmera::app {
namespace {

constexpr int kSavedFigureWidth = 1600;  // pixels of a saved PNG, as the charts' figures
constexpr int kSmallestFigureWidth = 560;

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

// The figure at `width` figure units and `pixelScale` image pixels per unit.
QImage FigureAt(const plot::HemisphereValues& values, const plot::HemisphereTexts& texts, int width,
                int pixelScale)
{
    const plot::FigureStyle style = plot::FigureStyle::Normal();
    const plot::HemisphereLayout layout =
        plot::LayOutHemisphere(values, texts, width, style, plot::FigureTextMeasure());
    plot::RasterFigure surface(layout.frame, pixelScale, layout.frame.width * pixelScale);
    plot::DrawHemisphereFigure(surface, values, texts, layout, style);
    return surface.Image();
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
    row->addStretch(1);
    column->addLayout(row);
    picture_ = new QLabel(central);
    picture_->setObjectName(QStringLiteral("pctHemisferio"));
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    picture_->setMinimumSize(kSmallestFigureWidth, kSmallestFigureWidth / 2);
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
                                      folder, entry.save);
        });
    }
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
    const int index = (nm - spectral::kFirstWavelengthNm) / spectral::kWavelengthStepNm;
    plot::HemisphereValues values;
    values.stepDeg = kStepDeg;
    values.maxZenithDeg = kMaxZenithDeg;
    values.sunZenithDeg = followedInputs_.sunZenith;
    const bool done = widgets::Guarded(
        statusBar(), tr("No se pudo calcular la vista hemisférica; se muestra la anterior"), [&] {
            const engine::CanopyScene scene{followedState_.lidf, followedState_.soilRefl,
                                            followedInputs_.visibility, followedInputs_.skyMix};
            engine::CanopyBatch one;
            one.Append(followedLeaf_, followedInputs_.lai, followedInputs_.sunZenith, 0.0, 0.0,
                       followedInputs_.hotSpot);
            const std::vector<engine::ViewDirection> views = GridDirections();
            const engine::HemisphereView view = engine::ViewHemisphere(scene, one, views, index);
            for (std::size_t i = 0; i < views.size(); ++i) {
                values.values.push_back(view.error[i].empty() ? std::optional(view.refl[i])
                                                              : std::nullopt);
            }
        });
    if (!done) return;
    values_ = std::move(values);
    shownMix_ = followedInputs_.skyMix;
    shownWavelengthNm_ = nm;
    stale_ = false;
    statusBar()->clearMessage();
    Redraw();
}

plot::HemisphereTexts HemisphereWindow::Texts() const
{
    plot::HemisphereTexts texts;
    texts.title = tr("Reflectividad de la cubierta a %1 nm").arg(shownWavelengthNm_).toStdString();
    texts.valueAxis = tr("Reflectividad").toStdString();
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
    const int k = std::max(1, static_cast<int>(std::ceil(devicePixelRatioF() - 1e-9)));
    int width = std::max(kSmallestFigureWidth, picture_->width());
    const plot::HemisphereLayout trial = plot::LayOutHemisphere(
        values_, texts, width, plot::FigureStyle::Normal(), plot::FigureTextMeasure());
    if (trial.frame.height > picture_->height()) {
        width = std::max(kSmallestFigureWidth,
                         width * picture_->height() / std::max(1, trial.frame.height));
    }
    image_ = FigureAt(values_, texts, width, k);
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
            if (svg) {
                const plot::FigureStyle style = plot::FigureStyle::Normal();
                const plot::HemisphereLayout layout = plot::LayOutHemisphere(
                    values_, texts, plot::kFigureUnitsWide, style, plot::FigureTextMeasure());
                plot::SvgFigure surface(layout.frame);
                plot::DrawHemisphereFigure(surface, values_, texts, layout, style);
                widgets::SaveWholeFile(fileName, surface.Bytes(path, texts.title));
            } else {
                const plot::RasterFigureSize size = plot::RasterFigureSizeFor(kSavedFigureWidth);
                widgets::SaveWholeFile(
                    fileName,
                    plot::PngBytes(FigureAt(values_, texts, size.width, size.pixelScale), path));
            }
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
