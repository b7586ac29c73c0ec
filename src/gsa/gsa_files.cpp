#include "gsa/gsa_files.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "canopy/sky_ratio.h"
#include "gsa/quantities.h"
#include "leaf/leaf_models.h"
#include "textio/error.h"
#include "textio/number_text.h"
#include "textio/split_text.h"
#include "textio/text_file.h"

namespace tulmera::gsa {
namespace {

constexpr std::string_view kIndicesMark = "# tulmera sensitivity analysis 1; ";
constexpr std::string_view kOutputsMark = "# tulmera sensitivity outputs 1; ";
constexpr std::string_view kIndicesHeader =
    "quantity,parameter,S1,S1_low,S1_high,ST,ST_low,ST_high";
// Outputs of a large design are big text (45,056 simulations of 438 quantities are some 400
// MB); they are read whole.
constexpr std::size_t kMaxOutputsBytes = std::size_t{1} << 33;

// The lines of a whole file that ends in a line end.
std::vector<std::string_view> LinesOf(const std::string& text, const std::string& fail)
{
    if (text.empty() || text.back() != '\n') throw Error(fail + "it ends in the middle of a line.");
    return textio::SplitText(std::string_view(text).substr(0, text.size() - 1), "\n");
}

// The value of "key=value" among the settings.
std::string_view SettingValue(std::string_view settings, std::string_view key,
                              const std::string& fail)
{
    for (const std::string_view item : textio::SplitText(settings, "; ")) {
        if (item.size() > key.size() && item.substr(0, key.size()) == key
            && item[key.size()] == '=') {
            return item.substr(key.size() + 1);
        }
    }
    throw Error(fail + "its settings lack \"" + std::string(key) + "=\".");
}

std::uint64_t WholeSetting(std::string_view text, const std::string& fail)
{
    const std::optional<double> value = textio::ParseNumberText(text);
    if (!value || *value < 0 || *value >= 1e15 || *value != std::floor(*value)) {
        throw Error(fail + "\"" + std::string(text) + "\" is not a whole number.");
    }
    return static_cast<std::uint64_t>(*value);
}

// The varied inputs' names: the settings written lo:hi, in input order.
std::vector<std::string> VariedNamesOf(std::string_view settings)
{
    std::vector<std::string> names;
    for (const std::string_view item : textio::SplitText(settings, "; ")) {
        const std::size_t equals = item.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string name(item.substr(0, equals));
        if (InputNamed(name) && item.find(':', equals) != std::string_view::npos)
            names.push_back(name);
    }
    return names;
}

void AppendOptionalNumber(std::string& text, double value, bool defined)
{
    text += ',';
    if (defined) textio::AppendNumberText(text, value);
}

}  // namespace

std::string SettingsText(const GsaSpec& spec)
{
    std::string text = "samples=" + textio::NumberText(static_cast<double>(spec.samples));
    text += "; seed=" + textio::NumberText(static_cast<double>(spec.seed));
    text += "; bootstrap=" + std::to_string(spec.bootstrap);
    text += "; quantity=";
    for (std::size_t s = 0; s < spec.quantities.size(); ++s) {
        text += (s == 0 ? "" : "+") + QuantitySetName(spec.quantities[s], spec.sensor);
    }
    const lut::TableSpec& model = spec.model;
    text += "; lidf=" + model.leafArchitecture + "; soil=" + model.soil;
    text += "; visibility=" + std::to_string(canopy::VisibilityKm(model.visibility));
    // Named only when physical, so that the classic mix's files stay as they always were.
    if (model.skyMix != canopy::SkyMix::Classic) {
        text += "; sky_mix=" + std::string(canopy::SkyMixName(model.skyMix));
    }
    // Named only for the newer models, so that the classic model's files stay as they were.
    if (spec.leafModel != leaf::LeafModel::Classic) {
        text += "; leaf_model=" + std::string(leaf::LeafModelName(spec.leafModel));
    }
    for (std::size_t input = 0; input < kInputCount; ++input) {
        if (!ModelReads(spec.leafModel, input)) continue;
        const lut::ParameterRange& r = InputRange(spec, input);
        text += "; " + std::string(kInputNames[input]) + "=" + textio::NumberText(r.lo);
        if (r.varies) text += ":" + textio::NumberText(r.hi);
    }
    return text;
}

std::string IndicesCsvText(const std::string& settings, const std::vector<std::string>& quantities,
                           const std::vector<std::string>& parameters,
                           const std::vector<QuantityIndices>& indices)
{
    std::string text = std::string(kIndicesMark) + settings + "\n";
    text += std::string(kIndicesHeader) + "\n";
    for (std::size_t q = 0; q < quantities.size(); ++q) {
        for (std::size_t i = 0; i < parameters.size(); ++i) {
            text += quantities[q] + "," + parameters[i];
            const bool defined = indices[q].has_value();
            const ParameterIndices e = defined ? (*indices[q])[i] : ParameterIndices{};
            for (const double value :
                 {e.S1.value, e.S1.low, e.S1.high, e.ST.value, e.ST.low, e.ST.high}) {
                AppendOptionalNumber(text, value, defined);
            }
            text += '\n';
        }
    }
    return text;
}

void WriteIndicesCsv(const std::filesystem::path& file, const std::string& settings,
                     const std::vector<std::string>& quantities,
                     const std::vector<std::string>& parameters,
                     const std::vector<QuantityIndices>& indices)
{
    textio::ReplaceTextFile(file.string(),
                            IndicesCsvText(settings, quantities, parameters, indices));
}

bool IsIndicesFileName(const std::filesystem::path& file)
{
    return file.extension() == ".csv" || file.extension() == ".h5";
}

void WriteIndices(const std::filesystem::path& file, const std::string& settings,
                  const std::vector<std::string>& quantities,
                  const std::vector<std::string>& parameters,
                  const std::vector<QuantityIndices>& indices)
{
    if (file.extension() == ".h5") {
        detail::WriteIndicesHdf5(file, settings, quantities, parameters, indices);
    } else if (file.extension() == ".csv") {
        WriteIndicesCsv(file, settings, quantities, parameters, indices);
    } else {
        throw Error("The analysis \"" + file.string() + "\" must be named .csv or .h5.");
    }
}

IndicesFile ReadIndices(const std::filesystem::path& file)
{
    return file.extension() == ".h5" ? detail::ReadIndicesHdf5(file) : ReadIndicesCsv(file);
}

IndicesFile ReadIndicesCsv(const std::filesystem::path& file)
{
    const std::string fail =
        "\"" + file.string() + "\" is not a sensitivity analysis of ours or is damaged: ";
    const std::string text = textio::ReadTextFile(file.string(), kMaxOutputsBytes);
    const std::vector<std::string_view> lines = LinesOf(text, fail);
    if (lines.size() < 2 || !lines[0].starts_with(kIndicesMark) || lines[1] != kIndicesHeader) {
        throw Error(fail + "its first lines are not our mark and header.");
    }
    IndicesFile result{std::string(lines[0].substr(kIndicesMark.size())), {}};
    for (std::size_t l = 2; l < lines.size(); ++l) {
        const std::vector<std::string_view> fields = textio::SplitText(lines[l], ",");
        const std::string where = "line " + std::to_string(l + 1);
        if (fields.size() != 8) throw Error(fail + where + " does not have 8 fields.");
        IndicesLine line{std::string(fields[0]), std::string(fields[1]), {}, {}, {}, {}, {}, {}};
        std::optional<double>* numbers[] = {&line.S1, &line.S1_low, &line.S1_high,
                                            &line.ST, &line.ST_low, &line.ST_high};
        for (std::size_t f = 0; f < 6; ++f) {
            if (fields[2 + f].empty()) continue;
            *numbers[f] = textio::ParseNumberText(fields[2 + f]);
            if (!*numbers[f]) {
                throw Error(fail + where + ": \"" + std::string(fields[2 + f])
                            + "\" is not a number.");
            }
        }
        result.lines.push_back(std::move(line));
    }
    return result;
}

void WriteOutputsCsv(const std::filesystem::path& file, const GsaSpec& spec,
                     const DesignOutputs& outputs)
{
    const std::uint64_t end = outputs.firstRow + outputs.Rows();
    std::string text = std::string(kOutputsMark) + SettingsText(spec) + "; rows="
                       + std::to_string(outputs.firstRow) + ":" + std::to_string(end) + "\n";
    text += "row,matrix";
    for (const std::string& name : QuantityNames(spec)) text += "," + name;
    text += '\n';
    for (std::uint64_t row = 0; row < outputs.Rows(); ++row) {
        for (std::size_t m = 0; m < outputs.parameters + 2; ++m) {
            text += std::to_string(outputs.firstRow + row) + "," + std::to_string(m);
            const double* values = outputs.At(row, m);
            for (std::size_t q = 0; q < outputs.quantities; ++q) {
                text += ',';
                if (std::isfinite(values[q])) text += textio::ShortestNumberText(values[q]);
            }
            text += '\n';
        }
    }
    textio::ReplaceTextFile(file.string(), text);
}

namespace {

struct Shard {
    std::string settings;
    std::string header;
    DesignOutputs outputs;
};

Shard ReadShard(const std::filesystem::path& file)
{
    const std::string fail =
        "\"" + file.string() + "\" is not a shard of a sensitivity analysis or is damaged: ";
    const std::string text = textio::ReadTextFile(file.string(), kMaxOutputsBytes);
    const std::vector<std::string_view> lines = LinesOf(text, fail);
    if (lines.size() < 2 || !lines[0].starts_with(kOutputsMark)) {
        throw Error(fail + "its first line is not our mark.");
    }
    const std::string_view head = lines[0].substr(kOutputsMark.size());
    const std::size_t rowsAt = head.rfind("; rows=");
    if (rowsAt == std::string_view::npos) throw Error(fail + "its settings lack \"rows=\".");
    Shard shard{std::string(head.substr(0, rowsAt)), std::string(lines[1]), {}};
    const std::vector<std::string_view> ends = textio::SplitText(head.substr(rowsAt + 7), ":");
    if (ends.size() != 2) throw Error(fail + "its rows are not FIRST:END.");
    const std::uint64_t first = WholeSetting(ends[0], fail), end = WholeSetting(ends[1], fail);
    const std::size_t k = VariedNamesOf(shard.settings).size();
    const std::size_t columns = textio::SplitText(lines[1], ",").size();
    if (k == 0 || columns < 3 || end < first || lines.size() - 2 != (end - first) * (k + 2)) {
        throw Error(fail + "its rows do not match its settings.");
    }
    shard.outputs = {k, columns - 2, first, {}};
    shard.outputs.values.reserve((lines.size() - 2) * (columns - 2));
    for (std::size_t l = 2; l < lines.size(); ++l) {
        const std::vector<std::string_view> fields = textio::SplitText(lines[l], ",");
        const std::string where = "line " + std::to_string(l + 1);
        const std::uint64_t simulation = l - 2;
        if (fields.size() != columns
            || WholeSetting(fields[0], fail) != first + simulation / (k + 2)
            || WholeSetting(fields[1], fail) != simulation % (k + 2)) {
            throw Error(fail + where + " is not the simulation expected there.");
        }
        for (std::size_t f = 2; f < fields.size(); ++f) {
            if (fields[f].empty()) {
                shard.outputs.values.push_back(std::nan(""));  // undefined, never written
                continue;
            }
            const std::optional<double> value = textio::ParseNumberText(fields[f]);
            if (!value) {
                throw Error(fail + where + ": \"" + std::string(fields[f]) + "\" is not a number.");
            }
            shard.outputs.values.push_back(*value);
        }
    }
    return shard;
}

}  // namespace

void MergeShards(const std::filesystem::path& out,
                 const std::vector<std::filesystem::path>& shardFiles)
{
    std::vector<Shard> shards;
    for (const std::filesystem::path& file : shardFiles) {
        shards.push_back(ReadShard(file));
        if (shards.back().settings != shards.front().settings
            || shards.back().header != shards.front().header) {
            throw Error("\"" + file.string() + "\" is a shard of another analysis than \""
                        + shardFiles.front().string() + "\" (its settings differ).");
        }
    }
    std::vector<std::size_t> order(shards.size());
    for (std::size_t s = 0; s < order.size(); ++s) order[s] = s;
    std::ranges::sort(order, {}, [&](std::size_t s) { return shards[s].outputs.firstRow; });
    const std::string& settings = shards.front().settings;
    const std::string fail = "\"" + shardFiles.front().string() + "\": ";
    const std::uint64_t samples = WholeSetting(SettingValue(settings, "samples", fail), fail);
    DesignOutputs whole{
        shards.front().outputs.parameters, shards.front().outputs.quantities, 0, {}};
    std::uint64_t next = 0;
    for (const std::size_t s : order) {
        const DesignOutputs& part = shards[s].outputs;
        if (part.firstRow != next) {
            throw Error("The shards do not hold each base row once: "
                        + std::string(part.firstRow > next ? "rows missing" : "rows repeated")
                        + " from row " + std::to_string(std::min(next, part.firstRow)) + " ("
                        + shardFiles[s].string() + ").");
        }
        whole.values.insert(whole.values.end(), part.values.begin(), part.values.end());
        next += part.Rows();
    }
    if (next != samples) {
        throw Error("The shards do not hold each base row once: rows missing from row "
                    + std::to_string(next) + ".");
    }
    const int bootstrap =
        static_cast<int>(WholeSetting(SettingValue(settings, "bootstrap", fail), fail));
    const std::uint64_t seed = WholeSetting(SettingValue(settings, "seed", fail), fail);
    if (bootstrap < 1 || samples < 2) throw Error(fail + "its settings are not an analysis.");
    const std::vector<std::string_view> header = textio::SplitText(shards.front().header, ",");
    const std::vector<std::string> quantities(header.begin() + 2, header.end());
    WriteIndices(out, settings, quantities, VariedNamesOf(settings),
                 EstimateIndices(whole, bootstrap, seed));
}

}  // namespace tulmera::gsa
