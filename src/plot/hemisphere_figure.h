#pragma once
#include <optional>
#include <string>
#include <vector>

#include "plot/figure.h"
#include "plot/figure_surface.h"

// The figure of a hemispherical view: a polar map of one value over the view directions
// (centre = nadir, radius = view zenith, angle = view azimuth relative to the sun, clockwise
// from the top, where the sun's side lies) with its colour bar, and beside it the cut through
// the principal plane as a line chart. Drawn in figure units on any FigureSurface, so that the
// window, PNG and SVG show one and the same picture.
namespace tulmera::plot {

// The values on a regular grid: view zenith 0, step, .. maxZenith and relative azimuth 0,
// step, .. below 360 (degrees; the step divides 180 and maxZenith), the value of zenith i and
// azimuth j at values[i · AzimuthCount() + j]; nothing where the model gives none.
struct HemisphereValues {
    double stepDeg = 5;
    double maxZenithDeg = 80;
    double sunZenithDeg = 0;  // the sun's direction: this zenith at relative azimuth 0
    std::vector<std::optional<double>> values;

    int ZenithCount() const;
    int AzimuthCount() const;
    const std::optional<double>& At(int zenith, int azimuth) const;
};

// The principal plane: view angles -maxZenith .. maxZenith by step, v >= 0 the view zenith v
// at relative azimuth 0 (the sun's side, where the hot spot lies), v < 0 the view zenith |v| at
// relative azimuth 180, as the canopy sweep's plane does.
struct PlaneCut {
    std::vector<double> viewAngle;
    std::vector<std::optional<double>> value;
};
PlaneCut PrincipalPlane(const HemisphereValues& grid);

// The figure's texts; the defaults are English.
struct HemisphereTexts {
    std::string title;  // above everything, may be empty
    std::string valueAxis = "Reflectance";
    std::string planeAxis = "View angle in the principal plane (°)";
    std::string sun = "Sun";
    std::string noValue = "No value";
    std::string note;  // small, at the top right (how the values were computed); may be empty
};

// The colour of the map's cells with no value, and the colour of `fraction` (0 .. 1, clamped)
// of the way from the scale's lowest to its highest value (a ramp from dark violet through
// blue and green to yellow, readable in grey too).
inline constexpr Rgb kNoValueGrey{175, 175, 175};
Rgb RampColour(double fraction);

// The narrowest figure in `style` (figure units) whose texts all fit, the long axis title of the
// cut included: 560 at the usual text size, as much wider as the texts are larger.
int SmallestHemisphereWidth(const FigureStyle& style);

// Where the parts lie. `frame` is the layout a FigureSurface is made with: the whole picture,
// its plot area that of the plane cut.
struct HemisphereLayout {
    FigureLayout frame;
    Figure cut;          // the plane cut's axes, as PaintFigureFrame draws them
    double centreX = 0;  // the map's nadir
    double centreY = 0;
    double radius = 0;  // of the disc, which reaches maxZenith + step / 2
    FigureRect bar;     // the colour bar
    double low = 0;     // the values at the bar's bottom and top
    double high = 1;
    Ticks ticks;         // of the bar and of the cut's value axis
    double legendY = 0;  // the baseline of the row under the map
    double titleBaseline = 0;
    double noteBaseline = 0;
};

// The layout of the figure of `grid` in a picture `width` figure units wide (at least
// kMinFigureWidth). The colour scale spans the least to the greatest value (widened when they
// are equal; 0 .. 1 when there is none).
HemisphereLayout LayOutHemisphere(const HemisphereValues& grid, const HemisphereTexts& texts,
                                  int width, const FigureStyle& style, const TextMeasure& measure);

// Draws the whole figure: the map, its rings, the sun's mark and the colour bar on the frame
// layer, the cut's curve on the plot-area layer (its solid pens style.curveScale times wider),
// then the cut's frame and every text. Cannot fail.
void DrawHemisphereFigure(FigureSurface& surface, const HemisphereValues& grid,
                          const HemisphereTexts& texts, const HemisphereLayout& layout,
                          const FigureStyle& style);

// The values as CSV: the header "view_zenith,azimuth,value", then one row per direction,
// zenith by zenith and in each azimuth by azimuth, the numbers in their shortest text that
// reads back exactly, a direction without value with an empty value; lines end in LF.
std::string HemisphereCsv(const HemisphereValues& grid);

}  // namespace tulmera::plot
