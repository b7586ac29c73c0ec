#include "export/spectra_csv.h"

#include <string_view>
#include <tuple>

#include "leaf/leaf_models.h"
#include "spectral/grid.h"
#include "textio/csv_text.h"
#include "textio/error.h"
#include "tulmera_version.h"

namespace tulmera::exports {
namespace {

using textio::CsvText;

void AddVersion(CsvText& csv, const char* what)
{
    csv.Comment(std::string("Tulmera ") + kVersion + ", " + what);
}

// The model's name and the parameters only PROSPECT-D and PROSPECT-PRO read; nothing for the
// classic model, whose files keep their layout.
void AddLeafModelSettings(CsvText& csv, const leaf::LeafParameters& p)
{
    if (p.model == leaf::LeafModel::Classic) return;
    csv.Setting("leaf_model", leaf::LeafModelName(p.model));
    const std::pair<std::string_view, double> rows[] = {{"Car_ug_per_cm2", p.Car},
                                                        {"Anth_ug_per_cm2", p.Anth},
                                                        {"Cbrown", p.Cbrown},
                                                        {"Prot_g_per_cm2", p.Prot},
                                                        {"CBC_g_per_cm2", p.CBC}};
    for (const auto& [name, value] : rows) {
        const std::string field(name.substr(0, name.find('_')));
        if (leaf::ModelHasParameter(p.model, field)) csv.Setting(name, value);
    }
}

// The leaf parameters the model reads, leaving out the one a sweep varies (`skip`, or none).
void AddLeafSettings(CsvText& csv, const leaf::LeafParameters& p, std::string_view skip = "")
{
    const std::pair<std::string_view, double> rows[] = {
        {"N", p.N}, {"Cab_ug_per_cm2", p.Cab}, {"Cw_cm", p.Cw}, {"Cm_g_per_cm2", p.Cm}};
    for (const auto& [name, value] : rows) {
        const std::string field(name.substr(0, name.find('_')));
        if (field == skip || !leaf::ModelHasParameter(p.model, field)) continue;
        csv.Setting(name, value);
    }
    AddLeafModelSettings(csv, p);
}

// The canopy inputs, leaving out those a canopy sweep sets (`skip`, its short name, or none);
// the leaf architecture and the soil by their `names`.
void AddCanopySettings(CsvText& csv, const canopy::CanopyInputs& inputs, const ListNames& names,
                       std::string_view skip = "")
{
    const bool plane = skip == "plane";  // sets both the view angle and the azimuth
    const std::tuple<std::string_view, std::string_view, double> rows[] = {
        {"LAI", "LAI", inputs.lai},
        {"sun_zenith_deg", "sun", inputs.sunZenith},
        {"view_angle_deg", "view", inputs.viewAngle},
        {"relative_azimuth_deg", "azimuth", inputs.relAzimuth},
        {"hot_spot", "hotspot", inputs.hotSpot}};
    for (const auto& [name, sweptName, value] : rows) {
        const bool planeSets = plane && (sweptName == "view" || sweptName == "azimuth");
        if (skip == sweptName || planeSets) continue;
        csv.Setting(name, value);
    }
    csv.Setting("leaf_architecture", NameOf(names, inputs.leafArchitecture));
    csv.Setting("soil", NameOf(names, inputs.soil));
    csv.Setting("visibility_km", std::to_string(canopy::VisibilityKm(inputs.visibility)));
    // Named only when physical, so that the classic mix's files stay as they always were.
    if (inputs.skyMix != canopy::SkyMix::Classic) {
        csv.Setting("sky_mix", std::string(canopy::SkyMixName(inputs.skyMix)));
    }
}

// The swept parameter and its limits.
void AddSweepSettings(CsvText& csv, std::string_view name, double from, double to, double step)
{
    csv.Setting("swept_parameter", name);
    csv.Setting("from", from);
    csv.Setting("to", to);
    csv.Setting("step", step);
}

}  // namespace

std::string MainSpectraCsv(const MainSpectra& spectra, const canopy::CanopyFluxes* fluxes,
                           const ListNames& names)
{
    CsvText csv;
    AddVersion(csv, spectra.canopyInputs ? "leaf and canopy spectra" : "leaf spectra");
    AddLeafSettings(csv, spectra.leaf);
    if (spectra.canopyInputs) AddCanopySettings(csv, *spectra.canopyInputs, names);
    std::string header = kMainSpectraHeader;
    if (fluxes) header += "," + std::string(kMainFluxesHeader);
    for (std::size_t k = 0; k < spectra.kept.size(); ++k) {
        const std::string name = "kept_" + std::to_string(k + 1);
        csv.Setting(name, spectra.kept[k].label);
        header += "," + name + "_leaf_reflectance," + name + "_leaf_transmittance," + name
                  + "_canopy_reflectance";
    }
    csv.Header(header);
    const canopy::CanopyState& s = spectra.state;
    for (std::size_t i = 0; i < spectral::kWavelengthCount; ++i) {
        csv.Whole(spectral::WavelengthNm(static_cast<int>(i)));
        csv.Number(s.leafReflPct[i] / 100.0).Number(s.leafTransPct[i] / 100.0);
        if (spectra.canopyInputs) {
            csv.Number(s.canopyReflPct[i] / 100.0).Number(s.soilRefl[i] / 100.0);
        } else {
            csv.Empty().Empty();
        }
        if (fluxes) {
            const canopy::CanopyFluxes& f = *fluxes;
            csv.Number(f.rsot[i]).Number(f.rdot[i]).Number(f.rsdt[i]).Number(f.rddt[i]);
            csv.Number(f.absorptance[i]);
        }
        for (const plot::KeptSpectra& kept : spectra.kept) {
            csv.Number(kept.leafReflPct[i] / 100.0).Number(kept.leafTransPct[i] / 100.0);
            if (i + 1 < spectral::kWavelengthCount) {
                csv.Number(kept.canopyReflPct[i] / 100.0);
            } else {
                csv.Empty();  // the canopy chart ends at 2495 nm
            }
        }
        csv.EndRow();
    }
    return csv.Take();
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
    CsvText csv;
    AddVersion(csv, "leaf sweep spectra");
    AddSweepSettings(csv, name, spectra.request.lower, spectra.request.upper,
                     spectra.request.interval);
    AddLeafSettings(csv, spectra.request.fixed, name);
    csv.Header(kSweepSpectraHeader);
    for (std::size_t v = 0; v < spectra.values.size(); ++v) {
        const leaf::LeafSpectrum& spectrum = spectra.spectra[v];
        for (std::size_t i = 0; i < spectral::kWavelengthCount; ++i) {
            csv.Text(name).Rounded(spectra.values[v]);  // as typed: 0.3, not 0.30000000000000004
            csv.Whole(spectral::WavelengthNm(static_cast<int>(i)));
            csv.Number(spectrum.refl[i]).Number(spectrum.trans[i]).EndRow();
        }
    }
    return csv.Take();
}

std::string CanopySweepSpectraCsv(const multi::CanopySweepRequest& request,
                                  const multi::CanopySweepResult& result, const ListNames& names)
{
    if (result.values.size() != result.canopyReflPct.size()) {
        throw Error("The sweep's values and spectra do not match; no CSV file is written.");
    }
    const std::string name(multi::CanopyParameterName(result.swept));
    CsvText csv;
    AddVersion(csv, "canopy sweep spectra");
    AddSweepSettings(csv, name, request.limits.lower, request.limits.upper,
                     request.limits.interval);
    AddLeafSettings(csv, request.leaf, name);
    AddCanopySettings(csv, request.canopy, names, name);
    csv.Header(kCanopySweepSpectraHeader);
    for (std::size_t v = 0; v < result.values.size(); ++v) {
        for (std::size_t i = 0; i < spectral::kWavelengthCount; ++i) {
            csv.Text(name).Rounded(result.values[v]);  // as typed, as "MVS.dat" prints it
            csv.Whole(spectral::WavelengthNm(static_cast<int>(i)));
            csv.Number(result.canopyReflPct[v][i] / 100.0).EndRow();
        }
    }
    return csv.Take();
}

}  // namespace tulmera::exports
