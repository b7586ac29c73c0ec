#pragma once
#include <string>

#include "canopy/leaf_angles.h"
#include "canopy/sky_ratio.h"
#include "spectral/grid.h"
#include "textio/field_reader.h"
#include "textio/staged_files.h"
#include "textio/working_files.h"

namespace tulmera::canopy {

// What the canopy run reads from the main window's controls.
struct CanopyInputs {
    double lai;         // txtSailh(0), leaf area index, m²/m²
    double sunZenith;   // txtSailh(1), degrees
    double viewAngle;   // txtSailh(2), degrees, signed -75..75; the model uses |viewAngle|
    double relAzimuth;  // txtSailh(3), degrees
    double hotSpot;     // txtSailh(4)
    std::string leafArchitecture;     // text of cmbSailh(0)
    std::string soil;                 // text of cmbSailh(1)
    Visibility visibility;            // which tipocielo option is selected
    SkyMix skyMix = SkyMix::Classic;  // how direct and diffuse reflectances are mixed
};

// The main window's start values: LAI 0.1, sun 0, view 0, azimuth 0, hot spot 0, "Planofilo",
// the first soil of the list, 15 km.
CanopyInputs StartCanopyInputs();

// The canopy model's values, kept from one run to the next (the export reads lai, sunZenith
// and hotSpot; the soil curve reads soilRefl). All zeros before the first run.
struct CanopyState {
    double lai = 0, sunZenith = 0, viewZenith = 0, relAzimuth = 0, hotSpot = 0;
    spectral::Spectrum leafReflPct{}, leafTransPct{}, soilRefl{}, skyRatioPct{}, canopyReflPct{};
    LeafAngleDistribution lidf{};
    int visibilityKm = 0;

    bool operator==(const CanopyState&) const = default;
};

// Throws tulmera::Error naming the parameter when a number of `inputs` is not finite or the
// LAI is not above 0: what a canopy run would refuse, checked before any work.
void CheckCanopyInputs(const CanopyInputs& inputs);

// The canopy run in memory, from the leaf spectra in percent: selects the leaf angles, the
// soil and the sky ratio, in this order, then computes the canopy reflectance at every grid
// point with the sky mix inputs.skyMix names (CanopyReflectancePct). An architecture or soil text
// that matches no list item keeps the distribution or soil of `previous` (a soil never chosen is
// all zeros: a black soil). Returns the new state; throws tulmera::Error for bad inputs
// (CheckCanopyInputs), when no leaf architecture was ever chosen (all frequencies 0: no leaves to
// intercept light), or naming the wavelength of a model fault.
CanopyState ComputeCanopySpectrum(const CanopyInputs& inputs, const spectral::Spectrum& leafReflPct,
                                  const spectral::Spectrum& leafTransPct,
                                  const CanopyState& previous);

// The text of a canopy spectrum file: 421 lines "400,0.0338266047637353" CR LF, the
// wavelength, a comma and canopyReflPct / 100 as number text, no blanks.
std::string CanopySpectrumText(const spectral::Spectrum& canopyReflPct);

// Reads the leaf spectra back from a leaf spectrum file (three numbers a line: wavelength,
// reflectance, transmittance, 421 lines) as percent (100·value). Throws tulmera::Error naming
// the file, and the line and field when it is short or malformed. `readName`, when not empty,
// is read in place of `fileName` (a staged copy); messages name `fileName`.
void ReadLeafSpectrumPct(const std::string& fileName, spectral::Spectrum& leafReflPct,
                         spectral::Spectrum& leafTransPct, const std::string& readName = {});

// The same from a leaf spectrum file's content in `reader` (its file name names it in messages).
void ReadLeafSpectrumPct(textio::FieldReader reader, spectral::Spectrum& leafReflPct,
                         spectral::Spectrum& leafTransPct);

// The canopy run: reads "VP.dat" (kLeafSpectrumFile), runs the model over the grid, replaces
// "VS.dat" (kCanopySpectrumFile) whole, and only then commits everything into `state`. Throws
// tulmera::Error, with `state` and "VS.dat" untouched, on any failure: a missing, short or
// malformed "VP.dat", bad inputs, a model fault, a file that cannot be written.
void RunSailh(const CanopyInputs& inputs, CanopyState& state);

// The canopy run as one step of a larger run: reads the leaf spectra as the run sees them
// (staged.ReadName("VP.dat"), the staged leaf text of the same run when there is one), runs
// the model and stages the new "VS.dat" in `staged` without publishing it. Returns the new
// state; `previous` is only read. Throws tulmera::Error as RunSailh does.
CanopyState StageSailh(const CanopyInputs& inputs, const CanopyState& previous,
                       textio::StagedFiles& staged);

}  // namespace tulmera::canopy
