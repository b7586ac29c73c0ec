#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "plot/chart_figures.h"
#include "plot/chart_surface.h"
#include "plot/figure.h"

class QMainWindow;
class QMenu;
class QStatusBar;
class QWidget;

namespace tulmera::widgets {
class ChartView;
}

// "Guardar gráficos…" and "Copiar gráfico", for every window that shows charts: the charts
// drawn again from the inputs they show, as PNG images at 1× to 4× or as SVG pictures.
namespace tulmera::widgets {

// How the charts are saved: SVG, or PNG at `pixelScale` image pixels per chart pixel (1 .. 4);
// or, with `figure`, as complete figures (axes, numbers, legend): PNG `figureWidth` pixels
// wide or SVG, in the style `presentation` asks for.
struct ChartImageFormat {
    int pixelScale = 1;
    bool svg = false;
    bool figure = false;
    int figureWidth = kDefaultFigureWidth;
    bool presentation = false;

    static constexpr int kDefaultFigureWidth = 1600;
};

// One chart of a window's set: its coordinates, the end of its file name ("-hoja") and its
// figure; a chart without one (a legend strip) is saved as a plot area in figures too.
struct ChartFile {
    plot::ChartScale scale;
    QString suffix;
    std::optional<plot::Figure> figure;
};

// The figures' texts in the window's language.
plot::FigureTexts WindowFigureTexts();

// Draws the charts anew: one surface per ChartFile, in order, all cleared. Throws
// tulmera::Error when they cannot be drawn.
using ChartPainter = std::function<void(const std::vector<plot::ChartSurface*>&)>;

// Draws `charts` by `paint` on surfaces of `format` and writes them as
// "<name><suffix>.png" (or .svg) beside `fileName` ("<name>.png" or "<name>.svg"), all
// replaced together or none. Says in `status`, in Spanish, which files were saved or why not
// (the previous files then stay). True when saved.
bool SaveChartFiles(QStatusBar* status, const QString& fileName,
                    const std::vector<ChartFile>& charts, ChartImageFormat format,
                    const ChartPainter& paint);

// Fills `menu` with "Figura PNG (1600 px)…", "Figura PNG (3200 px)…" and "Figura SVG…" (object
// names: the menu's own plus "FiguraPng(1600)", "FiguraPng(3200)", "FiguraSvg"), then the plot
// areas alone, "PNG 1×…" to "PNG 4×…" and "SVG…" ("Png(k)" and "Svg"); each opens the save
// dialog in the folder last used for charts and calls `onChosen` with the file chosen and its
// format, figures in presentation style while `presenting` says so.
void AddChartImageEntries(QMenu* menu, QWidget* parent,
                          const std::function<void(const QString&, ChartImageFormat)>& onChosen,
                          const std::function<bool()>& presenting = {});

// Adds the menu "Archivo" to `window`'s menu bar with "Guardar gráficos…" (mnuGuardarGraficos,
// filled by AddChartImageEntries, calling `onImages`) and "Guardar espectros (CSV)…"
// (mnuGuardarEspectros: the save dialog, then `onSpectra` with the file chosen).
void AddSharingMenu(QMainWindow* window,
                    const std::function<void(const QString&, ChartImageFormat)>& onImages,
                    const std::function<void(const QString&)>& onSpectra,
                    const std::function<bool()>& presenting = {});

// Gives `view` a context menu entry "Copiar gráfico" (object name: the view's own plus
// "_copiar") that puts the picture it shows on the clipboard.
void AddCopyChartAction(ChartView* view);

}  // namespace tulmera::widgets
