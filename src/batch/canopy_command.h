#pragma once
#include "batch/batch_command.h"
#include "batch/chart_image_options.h"
#include "canopy/canopy_fluxes.h"
#include "canopy/canopy_run.h"
#include "leaf/leaf_parameters.h"

namespace tulmera::batch {

// --lai, --sun, --view, --azimuth, --hotspot, --lidf, --soil, --visibility, --sky-mix, shared
// by every command that runs the canopy model.
std::vector<OptionInfo> CanopyOptions();

// The canopy inputs given by CanopyOptions(), the main window's start values for the others.
// Throws UsageError, listing the valid values, for a --lidf or --soil text that is not exactly
// one of the list texts, a --visibility other than 15 or 50 or a --sky-mix other than classic
// or physical: without a previous run to fall back on, an unmatched name would be an error.
canopy::CanopyInputs CanopyInputsFrom(const BatchArguments& arguments);

// Throws UsageError (DomainMessage) for the first canopy number outside its accepted range.
void CheckCanopyOptions(const canopy::CanopyInputs& inputs);

// What `canopy` and the commands built on it read alike: the leaf and canopy values (checked
// against the accepted ranges), the image request, the CSV file (empty: none) and the files
// they name beside the working files. Throws UsageError.
struct CanopyRunRequest {
    leaf::LeafParameters leaf;
    canopy::CanopyInputs canopy;
    ChartImageRequest images;
    std::string csvFile;
    std::vector<std::string> outputs;
};
CanopyRunRequest CanopyRunRequestFrom(const BatchArguments& arguments);

// The run of `canopy`, as the main window's recomputation: the leaf run and the canopy run
// staged as "VP.dat" and "VS.dat", with `images` also the two charts as "leaf" and "canopy"
// images (.png, .svg), with `csvFile` (when not empty) the spectra and the canopy's fluxes as
// CSV (exports::MainSpectraCsv), all published together once every step has succeeded.
// Returns the canopy run's state (its canopy reflectance in memory) and, with a CSV file or
// `withFluxes`, its fluxes (canopy::ComputeCanopyFluxes with the run's sky mix; else zeros).
// Throws tulmera::Error; then no file changed.
canopy::CanopyWithFluxes RunLeafAndCanopy(const leaf::LeafParameters& leaf,
                                          const canopy::CanopyInputs& inputs,
                                          const ChartImageRequest& images,
                                          const std::string& csvFile = {}, bool withFluxes = false);

// `canopy`: the leaf run, then the canopy run, writing "VP.dat" and "VS.dat"; with --png DIR
// the main window's recomputation (refresh::Recompute), its two charts saved as "leaf.png" and
// "canopy.png".
BatchCommand CanopyCommand();

}  // namespace tulmera::batch
