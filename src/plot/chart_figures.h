#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "plot/figure.h"
#include "plot/quantity_chart.h"

// The figures of the program's charts: the main window's leaf and canopy charts, the sweep
// chart and the quantity chart, each with its axes and the legend of the curves it draws.
namespace tulmera::plot {

// The figures' texts in one language. The defaults are English, as the batch runner writes
// them; the windows give their own language's.
struct FigureTexts {
    std::string wavelengthAxis = "Wavelength (nm)";
    std::string reflectanceAxis = "Reflectance";
    std::string transmittanceAxis = "Transmittance";
    std::string leafReflectance = "Leaf reflectance";
    std::string leafTransmittance = "Leaf transmittance";
    std::string canopyReflectance = "Canopy reflectance";
    std::string soilReflectance = "Soil reflectance";
    std::string measuredLeafReflectance = "Measured leaf reflectance";
    std::string measuredLeafTransmittance = "Measured leaf transmittance";
    std::string measuredCanopyReflectance = "Measured canopy reflectance";
    std::string fitted = "Fit";  // a fit's curve, not yet applied
};

// Which measured spectra a main chart draws over its model curves.
struct MeasuredCurves {
    bool leafReflectance = false;
    bool leafTransmittance = false;
    bool canopyReflectance = false;
    // A fit's curves on the leaf chart, on the canopy chart.
    bool fittedLeaf = false;
    bool fittedCanopy = false;
};

// The leaf chart: wavelength across, the reflectance up on the left, the transmittance on the
// right running from 0 at the top to 1 at the bottom, as its red curve is drawn.
Figure LeafChartFigure(const FigureTexts& texts, const MeasuredCurves& measured = {});

// The canopy chart: reflectance 0 .. 0.7 up; the canopy and the soil curves.
Figure CanopyChartFigure(const FigureTexts& texts, const MeasuredCurves& measured = {});

// At most this many curves of a sweep are named in its legend.
inline constexpr std::size_t kMaxSweepLegendCurves = 12;

// The sweep chart (leaf or canopy reflectance of a family of curves): one legend entry per
// curve in its colour of the sweep's ramp, captioned `curveCaptions` in sweep order ("Cab =
// 40"); of a longer sweep evenly chosen curves, the first and the last among them.
Figure SweepChartFigure(const FigureTexts& texts, const std::string& title,
                        const std::vector<std::string>& curveCaptions);

// The captions of a sweep's curves: "Cab = 40", the value with up to 6 significant digits.
std::vector<std::string> SweepCurveCaptions(std::string_view parameter,
                                            const std::vector<double>& values);

// The quantity chart whose data span `axes` (as PaintQuantityChart placed them): `xTitle`
// across (the swept parameter), `quantity` up.
Figure QuantityChartFigure(const QuantityAxes& axes, const std::string& xTitle,
                           const std::string& quantity);

}  // namespace tulmera::plot
