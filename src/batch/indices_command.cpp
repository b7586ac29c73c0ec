#include "batch/indices_command.h"

#include <iostream>
#include <optional>

#include "batch/canopy_command.h"
#include "batch/chart_image_options.h"
#include "batch/csv_option.h"
#include "batch/leaf_command.h"
#include "sensor/band_values.h"
#include "sensor/indices.h"
#include "textio/csv_text.h"
#include "textio/error.h"

namespace tulmera::batch {
namespace {

const OptionInfo kSensorOption{"--sensor", "NAME",
                               "also that sensor's band values and NDVI (e.g. \"Sentinel-2 MSI\")"};

void AddRow(textio::CsvText& csv, const std::string& quantity, const std::optional<double>& value)
{
    csv.Text(quantity);
    if (value) {
        csv.Number(*value);
    } else {
        csv.Empty();
    }
    csv.EndRow();
}

const sensor::Sensor* SensorFrom(const BatchArguments& arguments)
{
    if (!arguments.Has("--sensor")) return nullptr;
    const std::string name = arguments.Text("--sensor", "");
    if (const sensor::Sensor* found = sensor::FindSensor(name)) return found;
    std::string list;
    for (const sensor::Sensor& known : sensor::kSensors) {
        list += (list.empty() ? "\"" : ", \"") + std::string(known.name) + "\"";
    }
    throw UsageError("--sensor: \"" + Shown(name) + "\" is not a sensor; use one of " + list + ".");
}

void PrintToStandardOutput(const std::string& text)
{
    std::cout << text << std::flush;
    if (!std::cout) throw Error("Cannot write the indices to the standard output.");
}

void AddFluxRows(textio::CsvText& csv, const canopy::CanopyFluxes& fluxes)
{
    const std::pair<const char*, double> rows[] = {{"fAPAR", fluxes.fAPAR},
                                                   {"fCover", fluxes.fCover},
                                                   {"albedo PAR", fluxes.albedoPar},
                                                   {"albedo NIR", fluxes.albedoNir},
                                                   {"albedo shortwave", fluxes.albedoShortwave}};
    for (const auto& [name, value] : rows) AddRow(csv, name, value);
}

}  // namespace

std::string IndicesCsv(const spectral::Spectrum& canopyRefl, const sensor::Sensor* sensor,
                       const canopy::CanopyFluxes* fluxes)
{
    textio::CsvText csv;
    csv.Header("quantity,value");
    const sensor::IndexValues indices = sensor::ComputeIndices(canopyRefl);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        AddRow(csv, std::string(sensor::kIndices[i].name), indices[i]);
    }
    if (sensor != nullptr) {
        const std::string name(sensor->name);
        const std::vector<std::optional<double>> means = sensor::BandMeans(canopyRefl, *sensor);
        for (std::size_t i = 0; i < means.size(); ++i) {
            AddRow(csv, name + " band " + sensor::BandName(*sensor, i), means[i]);
        }
        AddRow(csv, name + " NDVI", sensor::BroadbandNdvi(canopyRefl, *sensor));
    }
    if (fluxes != nullptr) AddFluxRows(csv, *fluxes);
    return csv.Take();
}

BatchCommand IndicesCommand()
{
    std::vector<OptionInfo> options = CanopyCommand().options;
    options.push_back(kSensorOption);
    return {
        "indices",
        "The runs of canopy (\"VP.dat\", \"VS.dat\", the images with --png), then CSV\n"
        "on standard output: \"quantity,value\", one row per vegetation index of the\n"
        "canopy reflectance (NDVI, EVI, ... ARI); with --sensor NAME also one row\n"
        "\"NAME band B\" per band (mean reflectance over the band) and \"NAME NDVI\".\n"
        "NAME is a chart menu sensor without \"Bandas \", e.g. Landsat-TM or\n"
        "\"Landsat-8/9 OLI\". An index that is undefined (division by 0) is left empty.\n"
        "Last the canopy's fluxes: rows \"fAPAR\" (absorbed share of 400-700 nm light),\n"
        "\"fCover\" (1 - the gap fraction at nadir), \"albedo PAR\", \"albedo NIR\" and\n"
        "\"albedo shortwave\" (400-700, 700-1300, 400-2500 nm), with the sky mix's weights.\n"
        "With --csv FILE, also the spectra as a CSV file, as canopy writes it.",
        options,
        [](const BatchArguments& arguments) -> BatchWork {
            const CanopyRunRequest request = CanopyRunRequestFrom(arguments);
            const sensor::Sensor* sensor = SensorFrom(arguments);
            return {
                [request, sensor] {
                    const canopy::CanopyWithFluxes run = RunLeafAndCanopy(
                        request.leaf, request.canopy, request.images, request.csvFile, true);
                    PrintToStandardOutput(IndicesCsv(
                        sensor::FractionOfPercent(run.state.canopyReflPct), sensor, &run.fluxes));
                },
                request.outputs};
        },
    };
}

}  // namespace tulmera::batch
