#pragma once
#include <cstdint>

#include "canopy/canopy_run.h"
#include "leaf/leaf_parameters.h"
#include "lut/lut_fit.h"
#include "lut/table_spec.h"

// The table the table, engine and fit benchmarks share: the canopy fit's default ranges (N, Cab,
// Cw, Cm and LAI vary) with the geometry held at sun 30°, view 10°, hot spot 0.05.
inline tulmera::lut::TableSpec FitTableSpec(std::uint64_t samples, std::uint64_t seed = 1)
{
    using namespace tulmera;
    canopy::CanopyInputs canopyInputs = canopy::StartCanopyInputs();
    canopyInputs.sunZenith = 30;
    canopyInputs.viewAngle = 10;
    canopyInputs.hotSpot = 0.05;
    lut::TableSpec spec =
        lut::WithFitRanges(lut::HeldSpec(leaf::kStartLeafParameters, canopyInputs));
    spec.samples = samples;
    spec.seed = seed;
    return spec;
}
