#include "batch/leaf_model_options.h"

#include <string>

#include "leaf/leaf_models.h"

namespace tulmera::batch {

std::vector<OptionInfo> LeafModelOptions()
{
    return {
        {"--leaf-model", "NAME",
         "leaf model: classic, prospect-d or prospect-pro (default classic)"},
        {"--Car", "v", "carotenoids, µg/cm², 0 to 10000 (prospect-d and -pro; default 4)"},
        {"--Anth", "v", "anthocyanins, µg/cm², 0 to 10000 (prospect-d and -pro; default 0)"},
        {"--Cbrown", "v", "brown pigments, 0 to 1 (prospect-d and -pro; default 0)"},
        {"--Prot", "v",
         "proteins, g/cm², 0 to 10 (prospect-pro, with --CBC for --Cm; "
         "default 0.0002)"},
        {"--CBC", "v",
         "carbon-based constituents, g/cm², above 0 up to 10 (prospect-pro; "
         "default 0.0018)"},
    };
}

leaf::LeafModel LeafModelFrom(const BatchArguments& arguments)
{
    const std::string name = arguments.Text("--leaf-model", "classic");
    if (const std::optional<leaf::LeafModel> model = leaf::ParseLeafModel(name)) return *model;
    throw UsageError("--leaf-model: \"" + Shown(name)
                     + "\" is not a leaf model; use classic, prospect-d or prospect-pro.");
}

leaf::LeafParameters LeafModelParametersFrom(const BatchArguments& arguments)
{
    const leaf::LeafModel model = LeafModelFrom(arguments);
    leaf::LeafParameters p = leaf::StartLeafParameters(model);
    for (const leaf::LeafParameterField& field : leaf::kLeafParameterFields) {
        const std::string option = "--" + std::string(field.name);
        if (!arguments.Has(option)) continue;
        if (!leaf::ModelHasParameter(model, field.name)) {
            throw UsageError(option + ": the " + std::string(leaf::LeafModelName(model))
                             + " leaf model has no parameter " + std::string(field.name)
                             + " (see --leaf-model).");
        }
        p.*field.value = arguments.Number(option, p.*field.value);
    }
    return p;
}

}  // namespace tulmera::batch
