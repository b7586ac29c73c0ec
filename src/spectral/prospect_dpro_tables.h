#pragma once
#include "spectral/grid.h"

namespace tulmera::spectral {

// The constant tables of the PROSPECT-D and PROSPECT-PRO leaf models, one value per grid
// wavelength (source: data/prospect_dpro_5nm.csv, whose note gives their origin). PROSPECT-D
// reads every column but kProt and kCBC; PROSPECT-PRO every column but kCm. Neither has a base
// absorption.
struct ProspectDproTables {
    Spectrum wavelength;  // nm: 400, 405, ... 2500
    Spectrum refIndex;    // refractive index of the leaf material
    Spectrum kCab;        // chlorophyll a+b specific absorption, cm²/µg; 0 from 785 nm on
    Spectrum kCar;        // carotenoid specific absorption, cm²/µg; 0 from 565 nm on
    Spectrum kAnth;       // anthocyanin specific absorption, cm²/µg; 0 from 690 nm on
    Spectrum kBrown;      // brown pigment absorption per unit of Cbrown; 0 from 1100 nm on
    Spectrum kCw;         // water specific absorption, 1/cm; above 0 everywhere
    Spectrum kCm;         // dry matter specific absorption, cm²/g; above 0 everywhere
    Spectrum kProt;       // protein specific absorption, cm²/g; 0 up to 1430 nm
    Spectrum kCBC;        // carbon-based constituents' specific absorption, cm²/g; above 0
};

// The tables, built from the compiled-in data (nothing is read from disk). Every call gives
// the same values.
const ProspectDproTables& LoadProspectDproTables();

}  // namespace tulmera::spectral
