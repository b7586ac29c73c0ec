#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "lut/table_spec.h"

// What a sensitivity analysis asks: which parameters vary over which ranges (the others held),
// how many base samples, which model outputs it explains and how its intervals are drawn.
namespace tulmera::gsa {

// The groups of model outputs an analysis can explain.
enum class QuantitySet {
    Spectrum,  // the canopy reflectance at every grid wavelength, "400" .. "2500"
    Indices,   // the narrow-band vegetation indices ("NDVI", ...)
    Fluxes,    // fAPAR, fCover and the albedos (PAR, NIR, shortwave)
    Bands,     // the band means of one sensor (its band names)
};

struct GsaSpec {
    // The held parameters and the varied ones (varies == true, lo < hi), with the leaf
    // architecture, soil and sky of every simulation. Its samples, seed and sampling are unused.
    lut::TableSpec model;
    std::uint64_t samples = 0;  // N, the base sample size: a power of two, at least 2
    std::uint64_t seed = 0;     // of the bootstrap resamples (the Sobol design has none)
    int bootstrap = 200;        // resamples for the 95 % intervals, at least 1
    std::vector<QuantitySet> quantities = {QuantitySet::Spectrum};  // distinct, in output order
    std::string sensor;  // a name of sensor::kSensors when quantities holds Bands

    bool operator==(const GsaSpec&) const = default;
};

// The ranges of the classroom lesson, set as varied in `model` (the rest stays held): LAI
// 0.5-6, Cab 10-80 µg/cm², Cw 0.002-0.04 cm, Cm 0.002-0.02 g/cm², N 1-2.5.
void SetLessonRanges(lut::TableSpec& model);

// The varied parameters of `spec`, in Parameter order: k of them.
std::vector<lut::Parameter> VariedParameters(const GsaSpec& spec);

// The simulations of an analysis with k varied parameters and N base samples: N·(k + 2).
std::uint64_t SimulationCount(const GsaSpec& spec);

// "spectrum", "indices", "fluxes"; for Bands the sensor's name.
std::string QuantitySetName(QuantitySet set, const std::string& sensor);

}  // namespace tulmera::gsa
