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
#include <memory>

#include "app/widgets/chart_panel.h"
#include "app/widgets/controls.h"
#include "app/widgets/file_saving.h"
#include "app/widgets/settings_keys.h"
#include "plot/chart_images.h"
#include "plot/raster_surface.h"
#include "plot/svg_surface.h"
#include "textio/staged_files.h"

namespace tulmera::widgets {
namespace {

constexpr int kLargestMenuScale = 4;

// The surfaces of one format, and the bytes of their files.
class SavedSurfaces {
public:
    SavedSurfaces(const std::vector<ChartFile>& charts, ChartImageFormat format) : format_(format)
    {
        for (const ChartFile& chart : charts) {
            if (format.svg) {
                svg_.push_back(std::make_unique<plot::SvgSurface>(chart.scale));
                surfaces_.push_back(svg_.back().get());
            } else {
                raster_.push_back(
                    std::make_unique<plot::RasterSurface>(chart.scale, format.pixelScale));
                surfaces_.push_back(raster_.back().get());
            }
            surfaces_.back()->Clear();
        }
    }

    const std::vector<plot::ChartSurface*>& surfaces() const { return surfaces_; }

    std::string Bytes(std::size_t index, const std::string& path) const
    {
        return format_.svg ? svg_[index]->Bytes(path)
                           : plot::PngBytes(raster_[index]->image(), path);
    }

private:
    ChartImageFormat format_;
    std::vector<std::unique_ptr<plot::RasterSurface>> raster_;
    std::vector<std::unique_ptr<plot::SvgSurface>> svg_;
    std::vector<plot::ChartSurface*> surfaces_;
};

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

void AddChartImageEntries(QMenu* menu, QWidget* parent,
                          const std::function<void(const QString&, ChartImageFormat)>& onChosen)
{
    const auto addEntry = [&](const QString& text, const QString& name, ChartImageFormat format) {
        QAction* action = menu->addAction(text);
        action->setObjectName(menu->objectName() + name);
        const QString filter =
            format.svg ? QCoreApplication::translate("ChartSaving", "Imagen SVG (*.svg)")
                       : QCoreApplication::translate("ChartSaving", "Imagen PNG (*.png)");
        const QString suffix = format.svg ? QStringLiteral("svg") : QStringLiteral("png");
        QObject::connect(action, &QAction::triggered, parent, [=] {
            ChooseFileToSave(parent, QCoreApplication::translate("ChartSaving", "Guardar gráficos"),
                             filter, suffix, QLatin1String(kChartsFolder),
                             [=](const QString& fileName) { onChosen(fileName, format); });
        });
    };
    for (int k = 1; k <= kLargestMenuScale; ++k) {
        addEntry(QCoreApplication::translate("ChartSaving", "PNG %1×…").arg(k),
                 QStringLiteral("Png(%1)").arg(k), {k, false});
    }
    addEntry(QCoreApplication::translate("ChartSaving", "SVG…"), QStringLiteral("Svg"), {1, true});
}

void AddSharingMenu(QMainWindow* window,
                    const std::function<void(const QString&, ChartImageFormat)>& onImages,
                    const std::function<void(const QString&)>& onSpectra)
{
    QMenu* fileMenu =
        window->menuBar()->addMenu(QCoreApplication::translate("ChartSaving", "&Archivo"));
    fileMenu->setObjectName(QStringLiteral("mnuArchivo"));
    QMenu* imagesMenu =
        fileMenu->addMenu(QCoreApplication::translate("ChartSaving", "Guardar gráficos…"));
    imagesMenu->setObjectName(QStringLiteral("mnuGuardarGraficos"));
    AddChartImageEntries(imagesMenu, window, onImages);
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
