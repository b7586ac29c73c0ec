#pragma once
#include <string>
#include <vector>

#include "engine/engine.h"
#include "gsa/gsa_spec.h"

// The model outputs an analysis explains, named and computed from one simulation.
namespace tulmera::gsa {

// Whether the quantities of `spec` need the canopy's fluxes besides its reflectance.
bool NeedsFluxes(const GsaSpec& spec);

// The names of the quantities of `spec`, set after set in spec.quantities' order: the grid
// wavelengths ("400" .. "2500"), the index names of sensor::kIndices, "fAPAR", "fCover",
// "albedoPAR", "albedoNIR", "albedoShortwave", or the sensor's band names. Throws
// tulmera::Error when spec.sensor is needed and names no sensor of the list.
std::vector<std::string> QuantityNames(const GsaSpec& spec);

// Appends the quantities of one simulation (its 421 reflectances as fractions; fluxes only
// read when NeedsFluxes) in QuantityNames' order. An undefined value (an index whose denominator is
// 0, a band holding no grid sample) is appended as NaN, which the estimators read as "no index for
// this quantity" and never write.
void AppendQuantities(const GsaSpec& spec, const double* reflectance,
                      const engine::FluxScalars& fluxes, std::vector<double>& out);

}  // namespace tulmera::gsa
