#include "batch/session_option.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "leaf/leaf_models.h"
#include "session/session.h"
#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::batch {

const OptionInfo kSessionOption = {"--session", "FILE",
                                   "values not given here from a session saved by the windows"};

namespace {

bool Accepts(const std::vector<OptionInfo>& accepted, std::string_view name)
{
    return std::any_of(accepted.begin(), accepted.end(),
                       [name](const OptionInfo& o) { return o.name == name; });
}

// The session's values as the options' texts.
std::map<std::string, std::string> SessionOptionTexts(const session::Session& s,
                                                      leaf::LeafModel model)
{
    std::map<std::string, std::string> texts;
    texts["--leaf-model"] = std::string(leaf::LeafModelName(s.leaf.model));
    for (const leaf::LeafParameterField& field : leaf::kLeafParameterFields) {
        // Only the parameters of the model the run uses, and only those the session's model
        // holds: a session of another model leaves that model's own values to their defaults.
        if (!leaf::ModelHasParameter(model, field.name)) continue;
        if (!leaf::ModelHasParameter(s.leaf.model, field.name)) continue;
        texts["--" + std::string(field.name)] = textio::ShortestNumberText(s.leaf.*field.value);
    }
    const canopy::CanopyInputs& c = s.canopy;
    texts["--lai"] = textio::ShortestNumberText(c.lai);
    texts["--sun"] = textio::ShortestNumberText(c.sunZenith);
    texts["--view"] = textio::ShortestNumberText(c.viewAngle);
    texts["--azimuth"] = textio::ShortestNumberText(c.relAzimuth);
    texts["--hotspot"] = textio::ShortestNumberText(c.hotSpot);
    texts["--lidf"] = c.leafArchitecture;
    texts["--soil"] = c.soil;
    texts["--visibility"] = std::to_string(canopy::VisibilityKm(c.visibility));
    texts["--sky-mix"] = std::string(canopy::SkyMixName(c.skyMix));
    texts["--background"] = std::to_string(s.background);
    return texts;
}

}  // namespace

bool TakesSession(const std::vector<OptionInfo>& options)
{
    return Accepts(options, "--N") || Accepts(options, "--lai") || Accepts(options, "--background");
}

void SupplyFromSession(BatchArguments& arguments, const std::vector<OptionInfo>& accepted,
                       const std::string& directory)
{
    if (!arguments.Has(kSessionOption.name)) return;
    std::filesystem::path file(arguments.Text(kSessionOption.name, ""));
    if (file.is_relative()) file = std::filesystem::path(directory) / file;
    session::Session s;
    try {
        s = session::ReadSessionFile(file.string());
    } catch (const Error& e) {
        throw UsageError(std::string("--session: ") + e.what());
    }
    leaf::LeafModel model = s.leaf.model;
    if (arguments.Has("--leaf-model")) {
        model = leaf::ParseLeafModel(arguments.Text("--leaf-model", "")).value_or(model);
    }
    // The chart menu's entry only matters for the images, and is refused without them.
    const bool drawsCharts = arguments.Has("--png") || arguments.Has("--svg");
    for (const auto& [name, text] : SessionOptionTexts(s, model)) {
        if (name == "--background" && !drawsCharts) continue;
        if (Accepts(accepted, name) && !arguments.Has(name)) arguments.Supply(name, text);
    }
}

}  // namespace tulmera::batch
