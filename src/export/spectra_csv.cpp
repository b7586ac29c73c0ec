#include "export/spectra_csv.h"

#include <string_view>
#include <tuple>

#include "leaf/leaf_models.h"
#include "spectral/grid.h"
#include "textio/error.h"
#include "textio/number_text.h"
#include "tulmera_version.h"

namespace tulmera::exports {
namespace {

void AppendComment(std::string& csv, const std::string& name, const std::string& value)
{
    csv += "# " + name + " = " + value + '\n';
}

void AppendNumberComment(std::string& csv, const std::string& name, double value)
{
    AppendComment(csv, name, textio::ShortestNumberText(value));
}

void AppendVersion(std::string& csv, const char* what)
{
    csv += std::string("# Tulmera ") + kVersion + ", " + what + '\n';
}

// The model's name and the parameters only PROSPECT-D and PROSPECT-PRO read; nothing for the
// classic model, whose files keep their layout.
void AppendLeafModelComments(std::string& csv, const leaf::LeafParameters& p)
{
    if (p.model == leaf::LeafModel::Classic) return;
    AppendComment(csv, "leaf_model", std::string(leaf::LeafModelName(p.model)));
    const std::pair<const char*, double> rows[] = {{"Car_ug_per_cm2", p.Car},
                                                   {"Anth_ug_per_cm2", p.Anth},
                                                   {"Cbrown", p.Cbrown},
                                                   {"Prot_g_per_cm2", p.Prot},
                                                   {"CBC_g_per_cm2", p.CBC}};
    for (const auto& [name, value] : rows) {
        const std::string field = std::string(name).substr(0, std::string(name).find('_'));
        if (leaf::ModelHasParameter(p.model, field)) AppendNumberComment(csv, name, value);
    }
}

// The leaf parameters the model reads, leaving out the one a sweep varies (`skip`, or none).
void AppendLeafComments(std::string& csv, const leaf::LeafParameters& p, const char* skip = "")
{
    const std::pair<const char*, double> rows[] = {
        {"N", p.N}, {"Cab_ug_per_cm2", p.Cab}, {"Cw_cm", p.Cw}, {"Cm_g_per_cm2", p.Cm}};
    for (const auto& [name, value] : rows) {
        const std::string field = std::string(name).substr(0, std::string(name).find('_'));
        if (field == skip || !leaf::ModelHasParameter(p.model, field)) continue;
        AppendNumberComment(csv, name, value);
    }
    AppendLeafModelComments(csv, p);
}

// The canopy inputs, leaving out those a canopy sweep sets (`skip`, its short name, or none).
void AppendCanopyComments(std::string& csv, const canopy::CanopyInputs& inputs,
                          std::string_view skip = "")
{
    const bool plane = skip == "plane";  // sets both the view angle and the azimuth
    const std::tuple<const char*, const char*, double> rows[] = {
        {"LAI", "LAI", inputs.lai},
        {"sun_zenith_deg", "sun", inputs.sunZenith},
        {"view_angle_deg", "view", inputs.viewAngle},
        {"relative_azimuth_deg", "azimuth", inputs.relAzimuth},
        {"hot_spot", "hotspot", inputs.hotSpot}};
    for (const auto& [name, sweptName, value] : rows) {
        const bool planeSets =
            plane
            && (sweptName == std::string_view("view") || sweptName == std::string_view("azimuth"));
        if (skip == sweptName || planeSets) continue;
        AppendNumberComment(csv, name, value);
    }
    AppendComment(csv, "leaf_architecture", inputs.leafArchitecture);
    AppendComment(csv, "soil", inputs.soil);
    AppendComment(csv, "visibility_km", std::to_string(canopy::VisibilityKm(inputs.visibility)));
}

// A percent value as its fraction's shortest text, after a comma.
void AppendFraction(std::string& csv, double percent)
{
    csv += ',';
    csv += textio::ShortestNumberText(percent / 100.0);
}

void AppendFractionField(std::string& csv, double fraction)
{
    csv += ',';
    csv += textio::ShortestNumberText(fraction);
}

}  // namespace

std::string MainSpectraCsv(const MainSpectra& spectra)
{
    std::string csv;
    AppendVersion(csv, spectra.canopyInputs ? "leaf and canopy spectra" : "leaf spectra");
    AppendLeafComments(csv, spectra.leaf);
    if (spectra.canopyInputs) AppendCanopyComments(csv, *spectra.canopyInputs);
    csv += kMainSpectraHeader;
    csv += '\n';
    const canopy::CanopyState& s = spectra.state;
    for (std::size_t i = 0; i < spectral::kWavelengthCount; ++i) {
        csv += std::to_string(spectral::WavelengthNm(static_cast<int>(i)));
        AppendFraction(csv, s.leafReflPct[i]);
        AppendFraction(csv, s.leafTransPct[i]);
        if (spectra.canopyInputs) {
            AppendFraction(csv, s.canopyReflPct[i]);
            AppendFraction(csv, s.soilRefl[i]);
        } else {
            csv += ",,";
        }
        csv += '\n';
    }
    return csv;
}

SweepSpectra ComputeSweepSpectra(const multi::SweepRequest& request)
{
    SweepSpectra result{request, multi::CheckedSweepValues(request), {}};
    result.spectra.reserve(result.values.size());
    for (const double value : result.values) {
        result.spectra.push_back(leaf::ComputeLeafSpectrum(multi::StepParameters(request, value)));
    }
    return result;
}

std::string SweepSpectraCsv(const SweepSpectra& spectra)
{
    if (spectra.values.size() != spectra.spectra.size()) {
        throw Error("The sweep's values and spectra do not match; no CSV file is written.");
    }
    const std::string name(multi::ParameterName(spectra.request.swept));
    std::string csv;
    AppendVersion(csv, "leaf sweep spectra");
    AppendComment(csv, "swept_parameter", name);
    AppendNumberComment(csv, "from", spectra.request.lower);
    AppendNumberComment(csv, "to", spectra.request.upper);
    AppendNumberComment(csv, "step", spectra.request.interval);
    AppendLeafComments(csv, spectra.request.fixed, name.c_str());
    csv += kSweepSpectraHeader;
    csv += '\n';
    for (std::size_t v = 0; v < spectra.values.size(); ++v) {
        const std::string rowStart = name + ',' + textio::ShortestNumberText(spectra.values[v]);
        const leaf::LeafSpectrum& spectrum = spectra.spectra[v];
        for (std::size_t i = 0; i < spectral::kWavelengthCount; ++i) {
            csv += rowStart;
            csv += ',';
            csv += std::to_string(spectral::WavelengthNm(static_cast<int>(i)));
            AppendFractionField(csv, spectrum.refl[i]);
            AppendFractionField(csv, spectrum.trans[i]);
            csv += '\n';
        }
    }
    return csv;
}

std::string CanopySweepSpectraCsv(const multi::CanopySweepRequest& request,
                                  const multi::CanopySweepResult& result)
{
    if (result.values.size() != result.canopyReflPct.size()) {
        throw Error("The sweep's values and spectra do not match; no CSV file is written.");
    }
    const std::string name(multi::CanopyParameterName(result.swept));
    std::string csv;
    AppendVersion(csv, "canopy sweep spectra");
    AppendComment(csv, "swept_parameter", name);
    AppendNumberComment(csv, "from", request.limits.lower);
    AppendNumberComment(csv, "to", request.limits.upper);
    AppendNumberComment(csv, "step", request.limits.interval);
    AppendLeafComments(csv, request.leaf, name.c_str());
    AppendCanopyComments(csv, request.canopy, name);
    csv += kCanopySweepSpectraHeader;
    csv += '\n';
    for (std::size_t v = 0; v < result.values.size(); ++v) {
        const std::string rowStart = name + ',' + textio::ShortestNumberText(result.values[v]);
        for (std::size_t i = 0; i < spectral::kWavelengthCount; ++i) {
            csv += rowStart;
            csv += ',';
            csv += std::to_string(spectral::WavelengthNm(static_cast<int>(i)));
            AppendFraction(csv, result.canopyReflPct[v][i]);
            csv += '\n';
        }
    }
    return csv;
}

}  // namespace tulmera::exports
