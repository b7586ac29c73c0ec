#include "batch/sky_mix_option.h"

#include <string>

namespace tulmera::batch {

OptionInfo SkyMixOption()
{
    return {"--sky-mix", "NAME",
            "classic (default) or physical: diffuse light weighted by the sky ratio itself"};
}

std::optional<canopy::SkyMix> GivenSkyMix(const BatchArguments& arguments)
{
    if (!arguments.Has("--sky-mix")) return std::nullopt;
    const std::string name = arguments.Text("--sky-mix", "");
    if (const std::optional<canopy::SkyMix> mix = canopy::ParseSkyMix(name)) return mix;
    throw UsageError("--sky-mix: \"" + Shown(name)
                     + "\" is not a sky mix; use classic or physical.");
}

canopy::SkyMix SkyMixFrom(const BatchArguments& arguments)
{
    return GivenSkyMix(arguments).value_or(canopy::SkyMix::Classic);
}

}  // namespace tulmera::batch
