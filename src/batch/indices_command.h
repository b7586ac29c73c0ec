#pragma once
#include <string>

#include "batch/batch_command.h"
#include "canopy/canopy_fluxes.h"
#include "sensor/band_tables.h"
#include "spectral/grid.h"

namespace tulmera::batch {

// The CSV text `indices` prints, lines ending in LF: "quantity,value", one row per narrow-band
// index of `canopyRefl` (fractions) in sensor::kIndices order, then, when `sensor` is given,
// one row "NAME band B,value" per band (the band mean) and "NAME NDVI,value", and last, when
// `fluxes` is given, the rows "fAPAR", "fCover", "albedo PAR", "albedo NIR" and "albedo
// shortwave". Numbers in their shortest text that reads back exactly; an undefined value
// leaves its field empty.
std::string IndicesCsv(const spectral::Spectrum& canopyRefl, const sensor::Sensor* sensor,
                       const canopy::CanopyFluxes* fluxes = nullptr);

// `indices`: the runs of `canopy` (the same options, "VP.dat" and "VS.dat" written, images with
// --png), then the indices of the canopy reflectance as IndicesCsv on standard output. --sensor
// NAME adds that sensor's band values; an unknown name is a usage error listing the valid ones.
BatchCommand IndicesCommand();

}  // namespace tulmera::batch
