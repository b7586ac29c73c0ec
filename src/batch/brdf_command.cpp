#include "batch/brdf_command.h"

#include <algorithm>
#include <cmath>

#include "batch/canopy_command.h"
#include "batch/font_support.h"
#include "batch/leaf_command.h"
#include "multi/canopy_sweep.h"
#include "parallel/parallel_for.h"
#include "plot/hemisphere_pictures.h"
#include "sensor/band_values.h"
#include "sensor/indices.h"
#include "textio/csv_text.h"
#include "textio/error.h"
#include "textio/number_text.h"
#include "textio/staged_files.h"

namespace tulmera::batch {
namespace {

constexpr double kLastZenithDeg = 80;
constexpr double kLeastStepDeg = 0.5;  // 161 × 720 directions, each a whole canopy run
constexpr int kFigurePixels = 1600;    // the width of a PNG figure, as the charts' --figure

BrdfQuantity WavelengthFrom(const BatchArguments& arguments)
{
    const std::string text = arguments.Text("--wavelength", "");
    const std::optional<double> nm = textio::ParseNumberText(text);
    const double last = spectral::WavelengthNm(spectral::kWavelengthCount - 1);
    if (!nm || *nm < spectral::kFirstWavelengthNm || *nm > last
        || std::fmod(*nm - spectral::kFirstWavelengthNm, spectral::kWavelengthStepNm) != 0) {
        throw UsageError("--wavelength: \"" + Shown(text)
                         + "\" is not a wavelength of the grid; use 400 to 2500 nm in steps of "
                           "5 nm.");
    }
    BrdfQuantity quantity;
    quantity.wavelengthIndex =
        static_cast<int>((*nm - spectral::kFirstWavelengthNm) / spectral::kWavelengthStepNm);
    return quantity;
}

// "SENSOR band B": the sensor's name as `indices --sensor` takes it, its band as `indices`
// names it.
BrdfQuantity BandFrom(const BatchArguments& arguments)
{
    const std::string text = arguments.Text("--band", "");
    constexpr std::string_view kSeparator = " band ";
    const std::size_t at = text.rfind(kSeparator);
    const sensor::Sensor* found =
        at == std::string::npos ? nullptr : sensor::FindSensor(text.substr(0, at));
    if (!found) {
        std::string list;
        for (const sensor::Sensor& known : sensor::kSensors) {
            list += (list.empty() ? "\"" : ", \"") + std::string(known.name) + "\"";
        }
        throw UsageError("--band: \"" + Shown(text)
                         + "\" names no sensor; write \"SENSOR band B\" with SENSOR one of " + list
                         + ".");
    }
    const std::string name = text.substr(at + kSeparator.size());
    std::string bands;
    for (std::size_t b = 0; b < found->bands.size(); ++b) {
        if (sensor::BandName(*found, b) == name) {
            BrdfQuantity quantity;
            quantity.kind = BrdfQuantity::Kind::Band;
            quantity.sensor = found;
            quantity.band = b;
            return quantity;
        }
        bands += (bands.empty() ? "" : ", ") + sensor::BandName(*found, b);
    }
    throw UsageError("--band: " + std::string(found->name) + " has no band \"" + Shown(name)
                     + "\"; its bands are " + bands + ".");
}

BrdfQuantity IndexFrom(const BatchArguments& arguments)
{
    const std::string name = arguments.Text("--index", "");
    std::string list;
    for (std::size_t i = 0; i < sensor::kIndices.size(); ++i) {
        if (sensor::kIndices[i].name == name) {
            BrdfQuantity quantity;
            quantity.kind = BrdfQuantity::Kind::Index;
            quantity.index = i;
            return quantity;
        }
        list += (list.empty() ? "" : ", ") + std::string(sensor::kIndices[i].name);
    }
    throw UsageError("--index: \"" + Shown(name) + "\" is not an index; use one of " + list + ".");
}

BrdfQuantity QuantityFrom(const BatchArguments& arguments)
{
    const int given = (arguments.Has("--wavelength") ? 1 : 0) + (arguments.Has("--band") ? 1 : 0)
                      + (arguments.Has("--index") ? 1 : 0);
    if (given != 1) {
        throw UsageError(
            "brdf needs exactly one of --wavelength NM, --band \"SENSOR band B\" "
            "and --index NAME.");
    }
    if (arguments.Has("--wavelength")) return WavelengthFrom(arguments);
    if (arguments.Has("--band")) return BandFrom(arguments);
    return IndexFrom(arguments);
}

// The step must divide 90 so that the grid holds the zenith 0 .. 80 and the azimuths of the
// principal and perpendicular planes (0, 90, 180, 270) exactly.
double StepFrom(const BatchArguments& arguments)
{
    const double step = arguments.Number("--step", 5);
    const double parts = 90.0 / step;
    if (!(step > 0) || !std::isfinite(parts) || parts != std::floor(parts)) {
        throw UsageError("--step: " + textio::NumberText(step)
                         + " does not divide 90; use a step above 0 that does (5, 2.5, 1, ...).");
    }
    if (step < kLeastStepDeg) {
        throw UsageError("--step: " + textio::NumberText(step) + " is below the finest step, "
                         + textio::NumberText(kLeastStepDeg)
                         + " degrees (115,920 directions, each a whole canopy run).");
    }
    return step;
}

// The value of `quantity` in a canopy run's reflectance (percent), as the commands write it.
std::optional<double> ValueOf(const BrdfQuantity& quantity, const spectral::Spectrum& reflPct)
{
    switch (quantity.kind) {
        case BrdfQuantity::Kind::Wavelength:
            return reflPct[static_cast<std::size_t>(quantity.wavelengthIndex)] / 100.0;
        case BrdfQuantity::Kind::Band:
            return sensor::BandMeans(sensor::FractionOfPercent(reflPct),
                                     *quantity.sensor)[quantity.band];
        case BrdfQuantity::Kind::Index:
            return sensor::ComputeIndices(sensor::FractionOfPercent(reflPct))[quantity.index];
    }
    return std::nullopt;
}

}  // namespace

BrdfRequest BrdfRequestFrom(const BatchArguments& arguments)
{
    BrdfRequest request;
    request.leaf = LeafParametersFrom(arguments);
    CheckLeafOptions(request.leaf);
    request.canopy = CanopyInputsFrom(arguments);
    CheckCanopyOptions(request.canopy);
    request.quantity = QuantityFrom(arguments);
    request.stepDeg = StepFrom(arguments);
    if (!arguments.Has("--out")) throw UsageError("brdf needs --out FILE.csv.");
    request.out = arguments.Text("--out", "");
    if (request.out.empty()) throw UsageError("--out needs a file name.");
    for (const auto& [option, name] : {std::pair{"--png", &request.png}, {"--svg", &request.svg}}) {
        if (!arguments.Has(option)) continue;
        *name = arguments.Text(option, "");
        if (name->empty()) throw UsageError(std::string(option) + " needs a file name.");
    }
    return request;
}

std::vector<BrdfPoint> ComputeBrdf(const BrdfRequest& request)
{
    // Each angle as i · step, not a running sum: the grid's angles are then exact multiples.
    const auto zenithCount = static_cast<std::size_t>(kLastZenithDeg / request.stepDeg) + 1;
    const auto azimuthCount = static_cast<std::size_t>(360.0 / request.stepDeg);
    std::vector<BrdfPoint> points;
    points.reserve(zenithCount * azimuthCount);
    for (std::size_t z = 0; z < zenithCount; ++z) {
        for (std::size_t a = 0; a < azimuthCount; ++a) {
            points.push_back({static_cast<double>(z) * request.stepDeg,
                              static_cast<double>(a) * request.stepDeg, std::nullopt});
        }
    }
    spectral::Spectrum leafReflPct{}, leafTransPct{};
    multi::LeafSpectraAsRead(request.leaf, leafReflPct, leafTransPct);
    parallel::LoopOptions loop;
    loop.threads = parallel::HardwareThreads();
    loop.grain = 16;
    parallel::ParallelFor(points.size(), loop, [&](std::size_t begin, std::size_t end) {
        const canopy::CanopyState none;  // a fresh run, as `canopy` makes one
        for (std::size_t i = begin; i < end; ++i) {
            canopy::CanopyInputs inputs = request.canopy;
            inputs.viewAngle = points[i].viewZenith;
            inputs.relAzimuth = points[i].relAzimuth;
            try {
                const canopy::CanopyState run =
                    canopy::ComputeCanopySpectrum(inputs, leafReflPct, leafTransPct, none);
                points[i].value = ValueOf(request.quantity, run.canopyReflPct);
            } catch (const Error&) {
                // The model refuses the direction (a fault at a wavelength): `canopy` would
                // write no "VS.dat" for it, so the map has no value there.
            }
        }
    });
    return points;
}

plot::HemisphereValues BrdfFigureValues(const BrdfRequest& request,
                                        const std::vector<BrdfPoint>& points)
{
    plot::HemisphereValues grid;
    grid.stepDeg = request.stepDeg;
    grid.maxZenithDeg = points.empty() ? 0 : points.back().viewZenith;
    grid.sunZenithDeg = request.canopy.sunZenith;
    for (const BrdfPoint& point : points) grid.values.push_back(point.value);
    return grid;
}

plot::HemisphereTexts BrdfFigureTexts(const BrdfRequest& request)
{
    plot::HemisphereTexts texts;
    const BrdfQuantity& q = request.quantity;
    switch (q.kind) {
        case BrdfQuantity::Kind::Wavelength:
            texts.title = "Canopy reflectance at "
                          + std::to_string(spectral::WavelengthNm(q.wavelengthIndex)) + " nm";
            break;
        case BrdfQuantity::Kind::Band:
            texts.title = "Canopy reflectance, " + std::string(q.sensor->name) + " band "
                          + sensor::BandName(*q.sensor, q.band);
            texts.valueAxis = "Band reflectance";
            break;
        case BrdfQuantity::Kind::Index:
            texts.title = std::string(sensor::kIndices[q.index].name) + " of the canopy";
            texts.valueAxis = std::string(sensor::kIndices[q.index].name);
            break;
    }
    if (request.canopy.skyMix == canopy::SkyMix::Physical) texts.note = "Physical sky mix";
    return texts;
}

std::string BrdfCsv(const BrdfRequest& request, const std::vector<BrdfPoint>& points)
{
    textio::CsvText csv;
    csv.Header("view_zenith,azimuth,value");
    const bool wavelength = request.quantity.kind == BrdfQuantity::Kind::Wavelength;
    for (const BrdfPoint& point : points) {
        csv.Rounded(point.viewZenith).Rounded(point.relAzimuth);
        if (!point.value) {
            csv.Empty();
        } else if (wavelength) {
            csv.Rounded(*point.value);  // as "VS.dat" prints it
        } else {
            csv.Number(*point.value);  // as `indices` prints it
        }
        csv.EndRow();
    }
    return csv.Take();
}

BatchCommand BrdfCommand()
{
    std::vector<OptionInfo> options = LeafOptions();
    for (const OptionInfo& option : CanopyOptions()) {
        if (option.name != "--view" && option.name != "--azimuth") options.push_back(option);
    }
    const std::vector<OptionInfo> own = {
        {"--wavelength", "NM", "a grid wavelength, 400 to 2500 nm in steps of 5"},
        {"--band", "TEXT", "a sensor band as indices names it, e.g. \"Sentinel-2 MSI band B4\""},
        {"--index", "NAME", "a vegetation index as indices names it, e.g. NDVI"},
        {"--step", "deg", "step of zenith and azimuth, dividing 90, at least 0.5 (default 5)"},
        {"--out", "FILE", "the map as CSV (required)"},
        {"--png", "FILE", "the map's figure as PNG, 1600 pixels wide"},
        {"--svg", "FILE", "the map's figure as SVG, its texts editable"},
    };
    options.insert(options.end(), own.begin(), own.end());
    return {
        "brdf",
        "The canopy reflectance over the view hemisphere: for view zenith 0 to 80\n"
        "degrees and relative azimuth 0 to below 360 (0: looking towards the sun's\n"
        "side, where the hot spot lies), both every --step degrees, the value a\n"
        "canopy run with that --view and --azimuth gives: the reflectance at\n"
        "--wavelength (as \"VS.dat\" holds it), the mean over --band (as indices\n"
        "--sensor prints it) or the --index (as indices prints it). Written to --out as\n"
        "CSV \"view_zenith,azimuth,value\", one row a direction, zenith by zenith; a\n"
        "direction the model refuses, or where an index is undefined, has an empty\n"
        "value. --png and --svg add the map's figure: a polar map (nadir at the centre,\n"
        "the sun's side at the top) with its colour bar and the principal plane's cut.\n"
        "No working file is touched.",
        options,
        [](const BatchArguments& arguments) -> BatchWork {
            const BrdfRequest request = BrdfRequestFrom(arguments);
            std::vector<std::string> outputs = {request.out};
            for (const std::string& figure : {request.png, request.svg}) {
                if (!figure.empty()) outputs.push_back(figure);
            }
            return {
                [request] {
                    const std::vector<BrdfPoint> points = ComputeBrdf(request);
                    textio::StagedFiles staged;
                    staged.Stage(request.out, BrdfCsv(request, points));
                    const plot::HemisphereValues grid = BrdfFigureValues(request, points);
                    const plot::HemisphereTexts texts = BrdfFigureTexts(request);
                    if (!request.png.empty() || !request.svg.empty()) EnsureFontSupport();
                    if (!request.png.empty()) {
                        staged.Stage(request.png,
                                     plot::HemispherePng(grid, texts, kFigurePixels,
                                                         plot::FigureStyle::Normal(), request.png));
                    }
                    if (!request.svg.empty()) {
                        staged.Stage(request.svg,
                                     plot::HemisphereSvg(grid, texts, plot::FigureStyle::Normal(),
                                                         request.svg));
                    }
                    staged.Publish();
                },
                outputs, false};
        },
    };
}

}  // namespace tulmera::batch
