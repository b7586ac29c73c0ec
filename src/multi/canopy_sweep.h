#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "canopy/canopy_run.h"
#include "domain/input_domain.h"
#include "leaf/leaf_parameters.h"
#include "multi/sweep_quantity.h"
#include "spectral/grid.h"
#include "textio/staged_files.h"

// The canopy multiple simulation: one canopy or leaf parameter swept from a lower to an upper
// limit in a fixed interval (a running sum, as the leaf sweep steps), every step run in memory
// through the leaf model (when a leaf parameter is swept) and the canopy model. Its file
// "MVS.dat" holds per value a header line and the 421 lines of that value's "VS.dat".
namespace tulmera::multi {

// The parameters a canopy sweep can sweep, in the order of the window's chooser.
// Plane is the view angle in the principal plane: v >= 0 is the view angle v at relative
// azimuth 0 (the sun's side, where the hot spot lies), v < 0 the view angle |v| at relative
// azimuth 180 (the forward side).
enum class CanopySweptParameter { Lai, Sun, View, Azimuth, HotSpot, Plane, N, Cab, Cw, Cm };
inline constexpr int kCanopySweptParameterCount = 10;

// The short name of the header lines and the batch runner: "LAI", "sun", "view", "azimuth",
// "hotspot", "plane", "N", "Cab", "Cw", "Cm".
std::string_view CanopyParameterName(CanopySweptParameter parameter);

// The parameter of that short name (exactly as CanopyParameterName writes it), if any.
std::optional<CanopySweptParameter> CanopyParameterNamed(std::string_view name);

// Limits and interval of a sweep.
struct SweepLimits {
    double lower;
    double upper;
    double interval;
};

// The limits a sweep of `parameter` starts from, chosen for the lesson it makes: LAI 0.5 to 8 by
// 0.5 (NDVI saturates), sun 0 to 80 by 10, view -80 to 80 by 5, azimuth 0 to 180 by 10, hot spot
// 0 to 1 by 0.1, plane -80 to 80 by 5, and the leaf sweep's start limits for N, Cab, Cw, Cm.
SweepLimits DefaultCanopyLimits(CanopySweptParameter parameter);

// What a canopy sweep needs: the swept parameter, the held leaf parameters and canopy inputs
// (the swept one's value in them is ignored) and the limits.
struct CanopySweepRequest {
    CanopySweptParameter swept = CanopySweptParameter::Lai;
    leaf::LeafParameters leaf = leaf::kStartLeafParameters;
    canopy::CanopyInputs canopy = canopy::StartCanopyInputs();
    SweepLimits limits = DefaultCanopyLimits(CanopySweptParameter::Lai);
};

// The inputs of one step: the held ones with the swept one set to `value` (for Plane, the view
// angle |value| and the relative azimuth 0 or 180).
struct CanopyStepInputs {
    leaf::LeafParameters leaf;
    canopy::CanopyInputs canopy;
};
CanopyStepInputs CanopyStepOf(const CanopySweepRequest& request, double value);

// The first input of `step` outside its accepted range (domain/input_domain.h), leaf first;
// nothing when every input is accepted.
std::optional<domain::DomainProblem> FirstRefusedInput(const CanopyStepInputs& step);

// The model input that sweeping `swept` changes (the view angle for the principal plane).
domain::Input SweptInput(CanopySweptParameter swept);

// The leaf spectra of `p` in percent as the canopy run sees them: printed as "VP.dat" prints
// them (15 significant digits) and read back as the canopy run reads "VP.dat", so that a canopy
// computed from them in memory has the digits of the canopy run. Throws tulmera::Error as
// leaf::ComputeLeafSpectrum does.
void LeafSpectraAsRead(const leaf::LeafParameters& p, spectral::Spectrum& reflPct,
                       spectral::Spectrum& transPct);

// The values `request` would sweep (SweepValues: running sum, <= upper + 1e-4, at most 1000),
// after checking every step's leaf and canopy numbers against the accepted ranges
// (domain/input_domain.h), all before any step runs. Throws tulmera::Error naming the
// parameter and the refused value ("Cannot sweep LAI. Value 1 of 17, LAI = 0, is outside 0
// (excluded) to 100."); changes nothing.
std::vector<double> CheckedCanopySweepValues(const CanopySweepRequest& request);

// A completed sweep: the values and, per value, the canopy reflectance in percent and the
// canopy's broadband fluxes with the run's sky mix (nothing for a value whose fluxes could not
// be computed: its flux quantities are undefined, its reflectance stays).
struct CanopySweepResult {
    CanopySweptParameter swept = CanopySweptParameter::Lai;
    std::vector<double> values;
    std::vector<spectral::Spectrum> canopyReflPct;
    std::vector<std::optional<FluxScalars>> fluxes;
};

// Runs the sweep in memory: checks it (CheckedCanopySweepValues), then per value the leaf model
// (once when a canopy parameter is swept), its spectrum printed as "VP.dat" prints it and read
// back as the canopy run reads it, and the canopy model. Throws tulmera::Error for a refused
// request, or naming the value ("value 3 of 17, LAI = 1.5") when a step fails; nothing is
// written.
CanopySweepResult ComputeCanopySweep(const CanopySweepRequest& request);

// The text of "MVS.dat": per value the line "P = v " (P the short name, v in the printed number
// layout, CR LF), then its 421 lines exactly as "VS.dat" holds them (CanopySpectrumText).
std::string CanopySweepText(const CanopySweepResult& result);

// Stages "MVS.dat" (kCanopySweepFile) whole with CanopySweepText. Throws tulmera::Error.
void StageCanopySweepFile(const CanopySweepResult& result, textio::StagedFiles& staged);

}  // namespace tulmera::multi
