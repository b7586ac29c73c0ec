#include "app/widgets/chart_saving.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <array>
#include <memory>

#include "app/widgets/chart_panel.h"
#include "app/widgets/controls.h"
#include "app/widgets/file_saving.h"
#include "app/widgets/settings_keys.h"
#include "plot/chart_images.h"
#include "plot/figure_text.h"
#include "plot/raster_figure.h"
#include "plot/raster_surface.h"
#include "plot/svg_figure.h"
#include "plot/svg_surface.h"
#include "plot/thick_pens.h"
#include "textio/staged_files.h"

namespace tulmera::widgets {
namespace {

constexpr int kLargestMenuScale = 4;
constexpr std::array<int, 2> kFigureMenuWidths = {ChartImageFormat::kDefaultFigureWidth, 3200};

// The surfaces of one format, and the bytes of their files: per chart a plot area alone or,
// for a figure, the figure whose plot-area layer the charts are drawn on.
class SavedSurfaces {
public:
    SavedSurfaces(const std::vector<ChartFile>& charts, ChartImageFormat format)
        : format_(format),
          style_(format.presentation ? plot::FigureStyle::Presentation()
                                     : plot::FigureStyle::Normal())
    {
        for (const ChartFile& chart : charts) {
            Drawn drawn;
            if (format.figure && chart.figure) {
                AddFigure(drawn, *chart.figure);
            } else if (format.svg) {
                drawn.svg = std::make_unique<plot::SvgSurface>(chart.scale);
                drawn.surface = drawn.svg.get();
            } else {
                drawn.raster =
                    std::make_unique<plot::RasterSurface>(chart.scale, format.pixelScale);
                drawn.surface = drawn.raster.get();
            }
            drawn.surface->Clear();
            drawn_.push_back(std::move(drawn));
            surfaces_.push_back(drawn_.back().surface);
        }
    }

    const std::vector<plot::ChartSurface*>& surfaces() const { return surfaces_; }

    // The file of chart `index`; a figure's frame is drawn now, around what the charts drew.
    std::string Bytes(std::size_t index, const std::string& path) const
    {
        const Drawn& drawn = drawn_[index];
        if (drawn.rasterFigure) {
            plot::PaintFigureFrame(*drawn.rasterFigure, *drawn.figure, drawn.layout, style_);
            return plot::PngBytes(drawn.rasterFigure->Image(), path);
        }
        if (drawn.svgFigure) {
            plot::PaintFigureFrame(*drawn.svgFigure, *drawn.figure, drawn.layout, style_);
            return drawn.svgFigure->Bytes(path, drawn.figure->title);
        }
        return format_.svg ? drawn.svg->Bytes(path) : plot::PngBytes(drawn.raster->image(), path);
    }

private:
    struct Drawn {
        std::unique_ptr<plot::RasterSurface> raster;
        std::unique_ptr<plot::SvgSurface> svg;
        std::optional<plot::Figure> figure;
        plot::FigureLayout layout;
        std::unique_ptr<plot::RasterFigure> rasterFigure;
        std::unique_ptr<plot::SvgFigure> svgFigure;
        std::unique_ptr<plot::ThickPens> thick;
        plot::ChartSurface* surface = nullptr;  // what the charts are drawn on
    };

    void AddFigure(Drawn& drawn, const plot::Figure& figure)
    {
        drawn.figure = figure;
        plot::FigureSurface* surface = nullptr;
        if (format_.svg) {
            drawn.layout = plot::LayOutFigure(figure, plot::kFigureUnitsWide, style_,
                                              plot::FigureTextMeasure());
            drawn.svgFigure = std::make_unique<plot::SvgFigure>(drawn.layout);
            surface = drawn.svgFigure.get();
        } else {
            const plot::RasterFigureSize size = plot::RasterFigureSizeFor(format_.figureWidth);
            drawn.layout =
                plot::LayOutFigure(figure, size.width, style_, plot::FigureTextMeasure());
            drawn.rasterFigure = std::make_unique<plot::RasterFigure>(drawn.layout, size.pixelScale,
                                                                      format_.figureWidth);
            surface = drawn.rasterFigure.get();
        }
        surface->Clear();
        drawn.surface = &surface->PlotArea();
        if (style_.curveScale > 1) {
            drawn.thick = std::make_unique<plot::ThickPens>(surface->PlotArea(), style_.curveScale);
            drawn.surface = drawn.thick.get();
        }
    }

    ChartImageFormat format_;
    plot::FigureStyle style_;
    std::vector<Drawn> drawn_;
    std::vector<plot::ChartSurface*> surfaces_;
};

std::string Utf8(const QString& text) { return text.toStdString(); }

}  // namespace

bool SaveChartFiles(QStatusBar* status, const QString& fileName,
                    const std::vector<ChartFile>& charts, ChartImageFormat format,
                    const ChartPainter& paint)
{
    const QFileInfo file(fileName);
    const QString base = file.dir().filePath(file.completeBaseName());
    const QString extension = format.svg ? QStringLiteral(".svg") : QStringLiteral(".png");
    QStringList written;
    const bool saved = Guarded(
        status,
        QCoreApplication::translate(
            "ChartSaving",
            "No se pudieron guardar los gráficos «%1»; los archivos anteriores no cambiaron")
            .arg(fileName),
        [&] {
            const SavedSurfaces drawn(charts, format);
            paint(drawn.surfaces());
            textio::StagedFiles images;
            for (std::size_t i = 0; i < charts.size(); ++i) {
                const QString name = base + charts[i].suffix + extension;
                const std::string path = QFile::encodeName(name).toStdString();
                images.Stage(path, drawn.Bytes(i, path));
                written.push_back(QStringLiteral("«") + name + QStringLiteral("»"));
            }
            images.Publish();
        });
    if (saved) {
        status->showMessage(
            QCoreApplication::translate("ChartSaving", "Gráficos guardados en %1.")
                .arg(written.join(QCoreApplication::translate("ChartSaving", ", "))));
    }
    return saved;
}

plot::FigureTexts WindowFigureTexts()
{
    plot::FigureTexts texts;
    texts.wavelengthAxis = Utf8(QCoreApplication::translate("Figures", "Longitud de onda (nm)"));
    texts.reflectanceAxis = Utf8(QCoreApplication::translate("Figures", "Reflectividad"));
    texts.transmittanceAxis = Utf8(QCoreApplication::translate("Figures", "Transmisividad"));
    texts.leafReflectance =
        Utf8(QCoreApplication::translate("Figures", "Reflectividad de la hoja"));
    texts.leafTransmittance =
        Utf8(QCoreApplication::translate("Figures", "Transmisividad de la hoja"));
    texts.canopyReflectance =
        Utf8(QCoreApplication::translate("Figures", "Reflectividad de la cubierta"));
    texts.soilReflectance = Utf8(QCoreApplication::translate("Figures", "Reflectividad del suelo"));
    texts.measuredLeafReflectance =
        Utf8(QCoreApplication::translate("Figures", "Reflectividad medida de la hoja"));
    texts.measuredLeafTransmittance =
        Utf8(QCoreApplication::translate("Figures", "Transmisividad medida de la hoja"));
    texts.measuredCanopyReflectance =
        Utf8(QCoreApplication::translate("Figures", "Reflectividad medida de la cubierta"));
    texts.fitted = Utf8(QCoreApplication::translate("Figures", "Ajuste"));
    return texts;
}

void AddChartImageEntries(QMenu* menu, QWidget* parent,
                          const std::function<void(const QString&, ChartImageFormat)>& onChosen,
                          const std::function<bool()>& presenting)
{
    const auto addEntry = [&](const QString& text, const QString& name, ChartImageFormat format) {
        QAction* action = menu->addAction(text);
        action->setObjectName(menu->objectName() + name);
        const QString filter =
            format.svg ? QCoreApplication::translate("ChartSaving", "Imagen SVG (*.svg)")
                       : QCoreApplication::translate("ChartSaving", "Imagen PNG (*.png)");
        const QString suffix = format.svg ? QStringLiteral("svg") : QStringLiteral("png");
        QObject::connect(action, &QAction::triggered, parent, [=] {
            ChartImageFormat chosen = format;
            chosen.presentation = chosen.figure && presenting && presenting();
            ChooseFileToSave(parent, QCoreApplication::translate("ChartSaving", "Guardar gráficos"),
                             filter, suffix, QLatin1String(kChartsFolder),
                             [=](const QString& fileName) { onChosen(fileName, chosen); });
        });
    };
    for (const int width : kFigureMenuWidths) {
        ChartImageFormat figure;
        figure.figure = true;
        figure.figureWidth = width;
        addEntry(QCoreApplication::translate("ChartSaving", "Figura PNG (%1 px)…").arg(width),
                 QStringLiteral("FiguraPng(%1)").arg(width), figure);
    }
    ChartImageFormat svgFigure;
    svgFigure.figure = true;
    svgFigure.svg = true;
    addEntry(QCoreApplication::translate("ChartSaving", "Figura SVG…"), QStringLiteral("FiguraSvg"),
             svgFigure);
    menu->addSection(QCoreApplication::translate("ChartSaving", "Solo el área del gráfico"));
    for (int k = 1; k <= kLargestMenuScale; ++k) {
        addEntry(QCoreApplication::translate("ChartSaving", "PNG %1×…").arg(k),
                 QStringLiteral("Png(%1)").arg(k), {k, false, false});
    }
    addEntry(QCoreApplication::translate("ChartSaving", "SVG…"), QStringLiteral("Svg"),
             {1, true, false});
}

void AddSharingMenu(QMainWindow* window,
                    const std::function<void(const QString&, ChartImageFormat)>& onImages,
                    const std::function<void(const QString&)>& onSpectra,
                    const std::function<bool()>& presenting)
{
    QMenu* fileMenu =
        window->menuBar()->addMenu(QCoreApplication::translate("ChartSaving", "&Archivo"));
    fileMenu->setObjectName(QStringLiteral("mnuArchivo"));
    QMenu* imagesMenu =
        fileMenu->addMenu(QCoreApplication::translate("ChartSaving", "Guardar gráficos…"));
    imagesMenu->setObjectName(QStringLiteral("mnuGuardarGraficos"));
    AddChartImageEntries(imagesMenu, window, onImages, presenting);
    QAction* spectra =
        fileMenu->addAction(QCoreApplication::translate("ChartSaving", "Guardar espectros (CSV)…"));
    spectra->setObjectName(QStringLiteral("mnuGuardarEspectros"));
    QObject::connect(spectra, &QAction::triggered, window, [window, onSpectra] {
        ChooseFileToSave(window,
                         QCoreApplication::translate("ChartSaving", "Guardar espectros (CSV)"),
                         QCoreApplication::translate("ChartSaving", "Tabla CSV (*.csv)"),
                         QStringLiteral("csv"), QLatin1String(kSpectraFolder), onSpectra);
    });
}

void AddCopyChartAction(ChartView* view)
{
    auto* copy = new QAction(QCoreApplication::translate("ChartSaving", "Copiar gráfico"), view);
    copy->setObjectName(view->objectName() + QStringLiteral("_copiar"));
    QObject::connect(copy, &QAction::triggered, view,
                     [view] { QApplication::clipboard()->setImage(view->image()); });
    view->addAction(copy);
    view->setContextMenuPolicy(Qt::ActionsContextMenu);
}

}  // namespace tulmera::widgets
