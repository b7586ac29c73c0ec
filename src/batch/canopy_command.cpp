#include "batch/canopy_command.h"

#include <algorithm>

#include "batch/chart_image_options.h"
#include "batch/csv_option.h"
#include "batch/leaf_command.h"
#include "batch/sky_mix_option.h"
#include "export/spectra_csv.h"
#include "plot/chart_figures.h"
#include "plot/chart_geometry.h"
#include "refresh/refresh.h"
#include "spectral/soil_library.h"

namespace tulmera::batch {
namespace {

template <std::size_t Count>
std::string ListTexts(const std::array<std::string_view, Count>& texts)
{
    std::string list;
    for (const std::string_view text : texts) {
        list += (list.empty() ? "\"" : ", \"") + std::string(text) + "\"";
    }
    return list;
}

// The option's text: the list's entry `find` finds for it (see FindLeafArchitecture,
// FindSoil). Otherwise refused, listing the texts and their other names.
template <std::size_t Count, class Find>
std::string ListText(const BatchArguments& arguments, std::string_view option,
                     const std::array<std::string_view, Count>& texts, Find find,
                     std::string_view what, std::string_view otherNames)
{
    const std::string text = arguments.Text(option, texts.front());
    if (const std::optional<std::size_t> entry = find(text)) return std::string(texts[*entry]);
    throw UsageError(std::string(option) + ": \"" + Shown(text) + "\" is not a " + std::string(what)
                     + "; use one of " + ListTexts(texts) + " (or " + std::string(otherNames)
                     + ").");
}

canopy::Visibility VisibilityFrom(const BatchArguments& arguments)
{
    const std::string km = arguments.Text("--visibility", "15");
    if (km == "15") return canopy::Visibility::Km15;
    if (km == "50") return canopy::Visibility::Km50;
    throw UsageError("--visibility: \"" + Shown(km) + "\" is not a visibility; use 15 or 50 (km).");
}

}  // namespace

std::vector<OptionInfo> CanopyOptions()
{
    return {
        {"--lai", "v", "leaf area index, above 0 up to 100 (default 0.1)"},
        {"--sun", "deg", "sun zenith angle, degrees, 0 to 90 (default 0)"},
        {"--view", "deg", "view angle, degrees, signed, -90 to 90 (default 0)"},
        {"--azimuth", "deg", "relative azimuth, degrees, 0 to 360 (default 0)"},
        {"--hotspot", "v", "hot-spot parameter, 0 to 100 (default 0)"},
        {"--lidf", "NAME",
         "Planofilo (default), Erectofilo, Plagiofilo, Extremofilo, Esferico, or in English "
         "planophile .. spherical"},
        {"--soil", "KEY",
         "soil list text (default \"S1:61% arena 24% limo 15% arcilla\") or its key, S1 .. S4"},
        {"--visibility", "km", "atmospheric visibility, 15 (default) or 50"},
        SkyMixOption(),
    };
}

void CheckCanopyOptions(const canopy::CanopyInputs& inputs)
{
    if (const auto problem = domain::CheckCanopyDomain(inputs)) {
        throw UsageError(DomainMessage(*problem));
    }
}

canopy::CanopyInputs CanopyInputsFrom(const BatchArguments& arguments)
{
    const canopy::CanopyInputs start = canopy::StartCanopyInputs();
    canopy::CanopyInputs inputs = {
        arguments.Number("--lai", start.lai),
        arguments.Number("--sun", start.sunZenith),
        arguments.Number("--view", start.viewAngle),
        arguments.Number("--azimuth", start.relAzimuth),
        arguments.Number("--hotspot", start.hotSpot),
        ListText(arguments, "--lidf", canopy::kLeafArchitectureNames, canopy::FindLeafArchitecture,
                 "leaf architecture",
                 "planophile, erectophile, plagiophile, extremophile, spherical"),
        ListText(arguments, "--soil", spectral::kSoilKeys, spectral::FindSoil, "soil",
                 "S1, S2, S3, S4"),
        VisibilityFrom(arguments)};
    inputs.skyMix = SkyMixFrom(arguments);
    return inputs;
}

canopy::CanopyWithFluxes RunLeafAndCanopy(const leaf::LeafParameters& leaf,
                                          const canopy::CanopyInputs& inputs,
                                          const ChartImageRequest& images,
                                          const std::string& csvFile, bool withFluxes)
{
    textio::StagedFiles staged;
    const canopy::CanopyState none;  // no previous run to keep
    CheckImageDirectory(images);
    const plot::FigureTexts english;
    ChartPictures charts(images,
                         {{plot::kLeafChartScale, "leaf", plot::LeafChartFigure(english)},
                          {plot::kCanopyChartScale, "canopy", plot::CanopyChartFigure(english)}});
    canopy::CanopyWithFluxes run;
    run.state = refresh::StageRecompute(leaf, inputs, none, {charts[0], charts[1]},
                                        images.background, staged);
    charts.Stage(staged);
    // Before anything is published: a flux the model cannot give fails the whole run.
    if (withFluxes || !csvFile.empty()) {
        run.fluxes = canopy::ComputeCanopyFluxes(run.state, inputs.skyMix);
    }
    if (!csvFile.empty()) {
        staged.Stage(csvFile, exports::MainSpectraCsv({leaf, inputs, run.state}, &run.fluxes));
    }
    staged.Publish();
    return run;
}

CanopyRunRequest CanopyRunRequestFrom(const BatchArguments& arguments)
{
    CanopyRunRequest request;  // read and checked in this order, the first problem reported
    request.leaf = LeafParametersFrom(arguments);
    CheckLeafOptions(request.leaf);
    request.canopy = CanopyInputsFrom(arguments);
    CheckCanopyOptions(request.canopy);
    request.images = ChartImageRequestFrom(arguments);
    request.csvFile = CsvFileFrom(arguments);
    request.outputs = ImagePaths(request.images, {"leaf", "canopy"});
    if (!request.csvFile.empty()) request.outputs.push_back(request.csvFile);
    return request;
}

BatchCommand CanopyCommand()
{
    std::vector<OptionInfo> options = LeafOptions();
    for (const std::vector<OptionInfo>& more : {CanopyOptions(), MainChartImageOptions()}) {
        options.insert(options.end(), more.begin(), more.end());
    }
    options.push_back(CsvOption());
    return {
        "canopy",
        "Leaf run, then canopy run: the leaf spectra written to \"VP.dat\", then the\n"
        "canopy reflectance from 400 to 2500 nm, every 5 nm, written to \"VS.dat\".\n"
        "With --png DIR, also both charts as the main window draws them, as\n"
        "DIR/leaf.png and DIR/canopy.png (317 x 165 pixels times --scale); with\n"
        "--svg DIR, the same charts as vector pictures DIR/leaf.svg and DIR/canopy.svg.\n"
        "With --csv FILE, also the leaf, canopy and soil spectra as a CSV file, with\n"
        "the canopy's fluxes after them: rsot (reflectance for direct sunlight), rdot\n"
        "(for diffuse skylight), rsdt and rddt (black- and white-sky albedo) and the\n"
        "absorptance mixed as the sky mix mixes the light. --sky-mix physical weights\n"
        "the diffuse part with the sky ratio itself rather than with it in percent.",
        options,
        [](const BatchArguments& arguments) -> BatchWork {
            const CanopyRunRequest request = CanopyRunRequestFrom(arguments);
            return {[request] {
                        RunLeafAndCanopy(request.leaf, request.canopy, request.images,
                                         request.csvFile);
                    },
                    request.outputs};
        },
    };
}

}  // namespace tulmera::batch
