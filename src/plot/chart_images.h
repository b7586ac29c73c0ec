#pragma once
#include <QImage>
#include <string>

#include "plot/chart_background.h"
#include "spectral/grid.h"

// Pictures of the main window's charts, for slides and teaching material.
namespace tulmera::plot {

struct MainChartImages {
    QImage leaf;    // kLeafChartScale times the pixel scale
    QImage canopy;  // kCanopyChartScale times the pixel scale
};

// Draws both charts as the main window does after a refresh, from the working files of the
// current directory: the background chosen by `background` on both, the leaf curves from
// "VP.dat", and, when `soilRefl` is given (percent), the canopy curve from "VS.dat" and the
// soil curve on top of it; without it the canopy chart shows only its background.
// `pixelScale` (1 .. kMaxPixelScale) makes the same drawing with that many times the pixels.
// Throws tulmera::Error as PaintProspect and PaintSailh do (file and record named).
MainChartImages RenderMainCharts(const ChartBackground& background, int pixelScale,
                                 const spectral::Spectrum* soilRefl = nullptr);

// Writes `image` as a PNG file at `path`, replacing any file there as a whole (never a half
// written file). Throws tulmera::Error naming the file and the reason on failure.
void SavePng(const QImage& image, const std::string& path);

}  // namespace tulmera::plot
