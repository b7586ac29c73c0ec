#include "app/batch/leaf_command.h"

#include "leaf/leaf_run.h"

namespace tulmera::batch {

std::vector<OptionInfo> LeafOptions()
{
    return {
        {"--N", "v", "leaf structure parameter, greater than 0 (default 1)"},
        {"--Cab", "v", "chlorophyll a+b content, ug/cm2 (default 15)"},
        {"--Cw", "v", "equivalent water thickness, cm (default 0.0001)"},
        {"--Cm", "v", "dry matter content, g/cm2 (default 0.002)"},
    };
}

leaf::LeafParameters LeafParametersFrom(const BatchArguments& arguments)
{
    const leaf::LeafParameters start = leaf::kStartLeafParameters;
    return {arguments.Number("--N", start.N), arguments.Number("--Cab", start.Cab),
            arguments.Number("--Cw", start.Cw), arguments.Number("--Cm", start.Cm)};
}

BatchCommand LeafCommand()
{
    return {
        "leaf",
        "Leaf run: the leaf reflectance and transmittance from 400 to 2500 nm,\n"
        "every 5 nm, written to \"VP.dat\".",
        LeafOptions(),
        [](const BatchArguments& arguments) -> std::function<void()> {
            const leaf::LeafParameters leaf = LeafParametersFrom(arguments);
            return [leaf] { leaf::RunProspect(leaf); };
        },
    };
}

}  // namespace tulmera::batch
