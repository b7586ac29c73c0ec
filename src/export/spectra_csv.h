#pragma once
#include <optional>
#include <string>
#include <vector>

#include "canopy/canopy_fluxes.h"
#include "canopy/canopy_run.h"
#include "export/output_texts.h"
#include "leaf/leaf_parameters.h"
#include "leaf/leaf_spectrum.h"
#include "multi/canopy_sweep.h"
#include "multi/sweep.h"
#include "plot/kept_spectra.h"

// The spectra as CSV files for other programs (pandas, R): comment lines starting with "#"
// that name the program version and every parameter, one header line, then one row per
// sample. Numbers are fractions (reflectance 0.05, not 5 percent) in their shortest text that
// reads back exactly, with a point as decimal separator whatever the locale; lines end in LF.
namespace tulmera::exports {

// What the main window shows: the leaf parameters, the canopy inputs of the last canopy run
// (absent after a leaf run alone), and the spectra in percent as a canopy run keeps them
// (leafReflPct and leafTransPct always; canopyReflPct and soilRefl with canopy inputs).
struct MainSpectra {
    leaf::LeafParameters leaf = leaf::kStartLeafParameters;
    std::optional<canopy::CanopyInputs> canopyInputs;
    canopy::CanopyState state;
    // The kept references ("Fijar espectros"), written after the live spectra.
    std::vector<plot::KeptSpectra> kept = {};
};

// The header line of MainSpectraCsv, without its line end.
inline constexpr const char* kMainSpectraHeader =
    "wavelength_nm,leaf_reflectance,leaf_transmittance,canopy_reflectance,soil_reflectance";

// The columns MainSpectraCsv adds after kMainSpectraHeader when given the canopy's fluxes.
inline constexpr const char* kMainFluxesHeader = "rsot,rdot,rsdt,rddt,absorptance";

// The main spectra file: the comment lines, kMainSpectraHeader, then 421 rows (400 .. 2500 nm)
// of the wavelength and each spectrum divided by 100. Without canopy inputs, the canopy and
// soil fields are empty (missing values, not zeros). With `fluxes` (of the same canopy run),
// also the columns of kMainFluxesHeader (fractions, canopy::CanopyFluxes). A physical sky mix
// is named among the settings. Each kept set k (1, 2, ...) adds a comment line
// "# kept_k = <label>" and, after those, the columns kept_k_leaf_reflectance,
// kept_k_leaf_transmittance and kept_k_canopy_reflectance (empty at 2500 nm, where the canopy
// chart ends); without kept sets and fluxes the file is as before. The leaf architecture and
// the soil are written by their `names`. Throws tulmera::Error when a value is not finite: no
// such number is ever written.
std::string MainSpectraCsv(const MainSpectra& spectra, const canopy::CanopyFluxes* fluxes = nullptr,
                           const ListNames& names = {});

// The spectra of a leaf sweep: its request, the swept values in order and one leaf spectrum
// (fractions) per value.
struct SweepSpectra {
    multi::SweepRequest request;
    std::vector<double> values;
    std::vector<leaf::LeafSpectrum> spectra;
};

// The leaf spectrum of every value `request` sweeps, as each sweep step computes it. Throws
// tulmera::Error as multi::CheckedSweepValues and leaf::ComputeLeafSpectrum do.
SweepSpectra ComputeSweepSpectra(const multi::SweepRequest& request);

// The header line of SweepSpectraCsv, without its line end.
inline constexpr const char* kSweepSpectraHeader =
    "parameter,value,wavelength_nm,reflectance,transmittance";

// The sweep file in long form: the comment lines, kSweepSpectraHeader, then for each value in
// order 421 rows: the swept parameter's name, the value (15 significant digits, as typed and
// as the sweep file prints it), the wavelength, reflectance and transmittance. Throws
// tulmera::Error for a value that is not finite, or when `spectra` holds a different number of
// values and spectra.
std::string SweepSpectraCsv(const SweepSpectra& spectra);

// The header line of CanopySweepSpectraCsv, without its line end.
inline constexpr const char* kCanopySweepSpectraHeader =
    "parameter,value,wavelength_nm,reflectance";

// A canopy sweep in long form: the comment lines (the swept parameter, its limits and the held
// leaf parameters and canopy inputs, the leaf architecture and the soil by their `names`;
// those the swept one sets are left out), then
// kCanopySweepSpectraHeader, then for each value in order 421 rows: the swept parameter's
// short name (multi::CanopyParameterName), the value (15 significant digits, as typed), the
// wavelength and the canopy reflectance. Throws tulmera::Error for a value that is not finite, or
// when `result` holds a different number of values and spectra.
std::string CanopySweepSpectraCsv(const multi::CanopySweepRequest& request,
                                  const multi::CanopySweepResult& result,
                                  const ListNames& names = {});

}  // namespace tulmera::exports
