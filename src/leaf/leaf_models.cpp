#include "leaf/leaf_models.h"

#include <algorithm>

namespace tulmera::leaf {
namespace {

constexpr LeafParameterField Field(std::string_view name)
{
    for (const LeafParameterField& field : kLeafParameterFields) {
        if (field.name == name) return field;
    }
    return {};
}

constexpr std::array<LeafParameterField, 4> kClassicParameters = {Field("N"), Field("Cab"),
                                                                  Field("Cw"), Field("Cm")};
constexpr std::array<LeafParameterField, 7> kProspectDParameters = {
    Field("N"),      Field("Cab"), Field("Car"), Field("Anth"),
    Field("Cbrown"), Field("Cw"),  Field("Cm")};
constexpr std::array<LeafParameterField, 8> kProspectProParameters = {
    Field("N"),      Field("Cab"), Field("Car"),  Field("Anth"),
    Field("Cbrown"), Field("Cw"),  Field("Prot"), Field("CBC")};

// A model's interface transmissivities at every grid point. They depend only on its refractive
// index table and top cone, so each table is computed once for the program's life (the same
// values as computing them at every point, without four Tav a point and run).
using TransmissivityTable = std::array<Transmissivities, spectral::kWavelengthCount>;

TransmissivityTable BuildTransmissivities(LeafModel model)
{
    TransmissivityTable table{};
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        table[static_cast<std::size_t>(i)] =
            InterfaceTransmissivities(ModelRefractiveIndex(model, i), TopConeDeg(model));
    }
    return table;
}

}  // namespace

std::string_view LeafModelName(LeafModel model)
{
    switch (model) {
        case LeafModel::Classic:
            return "classic";
        case LeafModel::ProspectD:
            return "prospect-d";
        case LeafModel::ProspectPro:
            return "prospect-pro";
    }
    return "classic";
}

std::optional<LeafModel> ParseLeafModel(std::string_view name)
{
    for (const LeafModel model : kLeafModels) {
        if (LeafModelName(model) == name) return model;
    }
    return std::nullopt;
}

std::span<const LeafParameterField> ModelParameters(LeafModel model)
{
    switch (model) {
        case LeafModel::Classic:
            return kClassicParameters;
        case LeafModel::ProspectD:
            return kProspectDParameters;
        case LeafModel::ProspectPro:
            return kProspectProParameters;
    }
    return kClassicParameters;
}

bool ModelHasParameter(LeafModel model, std::string_view name)
{
    const std::span<const LeafParameterField> fields = ModelParameters(model);
    return std::any_of(fields.begin(), fields.end(),
                       [name](const LeafParameterField& field) { return field.name == name; });
}

LeafParameters StartLeafParameters(LeafModel model)
{
    LeafParameters p = kStartLeafParameters;
    p.model = model;
    if (model == LeafModel::Classic) return p;
    p.Car = 4.0;
    if (model == LeafModel::ProspectPro) {
        p.Cm = 0.0;
        p.Prot = 0.0002;
        p.CBC = 0.0018;
    }
    return p;
}

double TopConeDeg(LeafModel model) { return model == LeafModel::Classic ? 60.0 : 40.0; }

double ModelRefractiveIndex(LeafModel model, int index)
{
    const auto i = static_cast<std::size_t>(index);
    if (model == LeafModel::Classic) return spectral::LoadLeafTables().refIndex[i];
    return spectral::LoadProspectDproTables().refIndex[i];
}

double ModelAbsorption(const LeafParameters& p, int index)
{
    switch (p.model) {
        case LeafModel::Classic:
            return LeafAbsorption(p, spectral::LoadLeafTables(), index);
        case LeafModel::ProspectD:
            return ProspectDAbsorption(p, spectral::LoadProspectDproTables(), index);
        case LeafModel::ProspectPro:
            return ProspectProAbsorption(p, spectral::LoadProspectDproTables(), index);
    }
    return LeafAbsorption(p, spectral::LoadLeafTables(), index);
}

const Transmissivities& ModelTransmissivities(LeafModel model, int index)
{
    static const TransmissivityTable classic = BuildTransmissivities(LeafModel::Classic);
    static const TransmissivityTable dpro = BuildTransmissivities(LeafModel::ProspectD);
    const auto i = static_cast<std::size_t>(index);
    return model == LeafModel::Classic ? classic[i] : dpro[i];
}

LeafOptics ModelLeafOptics(const LeafParameters& p, int index)
{
    const double n = ModelRefractiveIndex(p.model, index);
    const double k = ModelAbsorption(p, index);
    return ProspectLeaf(p.N, n, k, ModelTransmissivities(p.model, index));
}

}  // namespace tulmera::leaf
