#pragma once
#include <optional>

#include "batch/batch_arguments.h"
#include "canopy/sky_ratio.h"

// The choice of sky mix on the command line, shared by every command that runs the canopy
// model (through CanopyOptions) and by fit-canopy, which checks it against its table.
namespace tulmera::batch {

// --sky-mix classic|physical.
OptionInfo SkyMixOption();

// The sky mix given with --sky-mix, or nothing when it is not given. Throws UsageError naming
// the option for any other name.
std::optional<canopy::SkyMix> GivenSkyMix(const BatchArguments& arguments);

// GivenSkyMix, classic when not given.
canopy::SkyMix SkyMixFrom(const BatchArguments& arguments);

}  // namespace tulmera::batch
