#pragma once
#include <optional>
#include <string>
#include <vector>

#include "multi/canopy_sweep.h"
#include "multi/sweep_quantity.h"
#include "plot/quantity_chart.h"
#include "plot/sweep_chart.h"

// What the canopy sweep shows of a completed sweep: its curves, its quantity chart and the
// quantity's table.
namespace tulmera::multi {

// Clears both surfaces and draws every value's canopy reflectance in sweep order, in the
// colour ramp and with the legend boxes of the leaf sweep (plot::SweepColours).
void PaintCanopySweepCurves(const plot::SweepCharts& charts, const CanopySweepResult& result);

// How the quantity chart's y range is chosen: from zero for a reflectance (a band or a
// wavelength), so that a change of 0.01 does not fill the chart, unless the user zooms in on
// the data; an index always spans its data.
enum class QuantityZoom { Whole, Data };

// The axes PaintSweepQuantity uses for `quantity` of `result`.
plot::QuantityAxes SweepQuantityAxes(const CanopySweepResult& result, const SweepQuantity& quantity,
                                     QuantityZoom zoom = QuantityZoom::Whole);

// Draws `quantity` against the swept value (plot::PaintQuantityChart); returns its axes.
plot::QuantityAxes PaintSweepQuantity(plot::ChartSurface& chart, const CanopySweepResult& result,
                                      const SweepQuantity& quantity,
                                      QuantityZoom zoom = QuantityZoom::Whole);

// The quantity's table as CSV: the header "P,Q" (the parameter's short name and the quantity's
// name), then one row "value,quantity" per swept value: the value with 15 significant digits,
// as typed and as "MVS.dat" prints it (0.3, where 0.1 + 0.2 is 0.30000000000000004), the
// quantity in its shortest text that reads back exactly, an undefined one left empty; lines
// end in LF.
std::string SweepQuantityCsv(const CanopySweepResult& result, const SweepQuantity& quantity);

}  // namespace tulmera::multi
