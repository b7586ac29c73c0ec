#pragma once
#include "spectral/grid.h"

namespace tulmera::spectral {

// The constant tables of the leaf model, one value per grid wavelength (source:
// data/leaf_constants.csv, whose note gives their origin).
struct LeafTables {
    Spectrum wavelength;  // nm: 400, 405, ... 2500
    Spectrum refIndex;    // refractive index of the leaf material
    Spectrum kBase;       // base absorption, added undivided by N; 0 from 485 nm on
    Spectrum kCab;        // chlorophyll a+b specific absorption, cm²/µg; 0 from 755 nm on
    Spectrum kCw;         // water specific absorption, 1/cm; 0 up to 945 nm
    Spectrum kCm;         // dry matter specific absorption, cm²/g; 3.18 up to 795 nm, never 0
};

// The leaf tables, built from the compiled-in data (nothing is read from disk). Every call
// gives the same values.
const LeafTables& LoadLeafTables();

}  // namespace tulmera::spectral
