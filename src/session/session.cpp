#include "session/session.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <tuple>

#include "canopy/leaf_angles.h"
#include "domain/input_domain.h"
#include "leaf/leaf_models.h"
#include "plot/chart_background.h"
#include "spectral/soil_library.h"
#include "textio/error.h"
#include "textio/number_text.h"
#include "textio/text_file.h"

namespace tulmera::session {
namespace {

using Json = nlohmann::json;

constexpr std::array<std::string_view, 3> kKindNames = {"leaf_reflectance", "leaf_transmittance",
                                                        "canopy_reflectance"};
// In the order of canopy::SkyMix, as canopy::SkyMixName writes them.
constexpr std::array<std::string_view, 2> kSkyMixNames = {"classic", "physical"};
constexpr std::size_t kMaxLabelLength = 200;

// The canopy numbers by the names the file gives them, in the order of the boxes.
struct CanopyNumber {
    std::string_view name;
    double canopy::CanopyInputs::*value;
};
constexpr std::array<CanopyNumber, 5> kCanopyNumbers = {{
    {"lai", &canopy::CanopyInputs::lai},
    {"sun_zenith_deg", &canopy::CanopyInputs::sunZenith},
    {"view_angle_deg", &canopy::CanopyInputs::viewAngle},
    {"relative_azimuth_deg", &canopy::CanopyInputs::relAzimuth},
    {"hot_spot", &canopy::CanopyInputs::hotSpot},
}};

// Where in the file a value lies, as messages name it: "canopy.lai", "kept[2].label".
using Place = std::string;

// Reading throws this; ReadSession adds the file's name.
[[noreturn]] void Refuse(const std::string& reason) { throw Error(reason); }

const Json& Member(const Json& object, std::string_view name, const Place& place)
{
    const auto found = object.find(std::string(name));
    if (found == object.end()) Refuse("\"" + place + "." + std::string(name) + "\" is missing");
    return *found;
}

const Json& ObjectAt(const Json& value, const Place& place)
{
    if (!value.is_object()) Refuse("\"" + place + "\" is not an object");
    return value;
}

double NumberAt(const Json& value, const Place& place)
{
    if (!value.is_number()) Refuse("\"" + place + "\" is not a number");
    const double x = value.get<double>();
    if (!std::isfinite(x)) Refuse("\"" + place + "\" is not a finite number");
    return x;
}

std::string TextAt(const Json& value, const Place& place)
{
    if (!value.is_string()) Refuse("\"" + place + "\" is not a text");
    return value.get<std::string>();
}

bool FlagAt(const Json& value, const Place& place)
{
    if (!value.is_boolean()) Refuse("\"" + place + "\" is not true or false");
    return value.get<bool>();
}

int WholeAt(const Json& value, const Place& place, int lowest, int highest)
{
    if (!value.is_number_integer()) Refuse("\"" + place + "\" is not a whole number");
    const auto n = value.get<long long>();
    if (n < lowest || n > highest) {
        Refuse("\"" + place + "\" is " + std::to_string(n) + ", not " + std::to_string(lowest)
               + " to " + std::to_string(highest));
    }
    return static_cast<int>(n);
}

// The index of `text` among `names`; refused naming the accepted ones.
template <std::size_t Count>
std::size_t NameAt(const Json& value, const Place& place,
                   const std::array<std::string_view, Count>& names)
{
    const std::string text = TextAt(value, place);
    const auto found = std::find(names.begin(), names.end(), text);
    if (found != names.end()) return static_cast<std::size_t>(found - names.begin());
    std::string accepted;
    for (const std::string_view name : names) {
        accepted += (accepted.empty() ? "\"" : ", \"") + std::string(name) + "\"";
    }
    Refuse("\"" + place + "\" is \"" + text + "\", not one of " + accepted);
}

// An optional member's value through `read`, or `fallback` when absent.
template <typename T, typename Read>
T Optional(const Json& object, std::string_view name, const Place& place, T fallback, Read read)
{
    const auto found = object.find(std::string(name));
    return found == object.end() ? fallback : read(*found, place + "." + std::string(name));
}

Json NumberJson(double x, const std::string& place)
{
    if (!std::isfinite(x)) throw Error("The session's " + place + " is not a finite number.");
    return x;
}

Json SpectrumJson(const spectral::Spectrum& values, const std::string& place)
{
    Json array = Json::array();
    for (const double x : values) array.push_back(NumberJson(x, place));
    return array;
}

spectral::Spectrum SpectrumAt(const Json& value, const Place& place)
{
    if (!value.is_array() || value.size() != spectral::kWavelengthCount) {
        Refuse("\"" + place + "\" is not a list of " + std::to_string(spectral::kWavelengthCount)
               + " numbers (400 to 2500 nm)");
    }
    spectral::Spectrum spectrum{};
    for (std::size_t i = 0; i < spectrum.size(); ++i) {
        spectrum[i] = NumberAt(value[i], place + "[" + std::to_string(i) + "]");
    }
    return spectrum;
}

std::string LabelAt(const Json& value, const Place& place)
{
    std::string label = TextAt(value, place);
    if (label.size() > kMaxLabelLength) Refuse("\"" + place + "\" is longer than 200 bytes");
    if (std::any_of(label.begin(), label.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        Refuse("\"" + place + "\" holds a line break or another control character");
    }
    return label;
}

leaf::LeafParameters LeafAt(const Json& object, const Place& place)
{
    const auto model =
        leaf::ParseLeafModel(TextAt(Member(object, "model", place), place + ".model"));
    if (!model) Refuse("\"" + place + ".model\" is not classic, prospect-d or prospect-pro");
    leaf::LeafParameters p{0, 0, 0, 0};
    p.model = *model;
    for (const leaf::LeafParameterField& field : leaf::kLeafParameterFields) {
        if (!leaf::ModelHasParameter(p.model, field.name)) continue;
        p.*field.value =
            NumberAt(Member(object, field.name, place), place + "." + std::string(field.name));
    }
    if (const auto problem = domain::CheckLeafDomain(p)) {
        Refuse("\"" + place + "." + std::string(domain::OptionName(problem->input)) + "\" is "
               + textio::ShortestNumberText(problem->value) + ", outside "
               + textio::ShortestNumberText(problem->range.lowest) + " to "
               + textio::ShortestNumberText(problem->range.highest));
    }
    return p;
}

canopy::CanopyInputs CanopyAt(const Json& object, const Place& place)
{
    canopy::CanopyInputs inputs = canopy::StartCanopyInputs();
    for (const CanopyNumber& number : kCanopyNumbers) {
        inputs.*number.value =
            NumberAt(Member(object, number.name, place), place + "." + std::string(number.name));
    }
    inputs.leafArchitecture = std::string(canopy::kLeafArchitectureNames[NameAt(
        Member(object, "leaf_architecture", place), place + ".leaf_architecture",
        canopy::kLeafArchitectureNames)]);
    inputs.soil = std::string(spectral::kSoilKeys[NameAt(Member(object, "soil", place),
                                                         place + ".soil", spectral::kSoilKeys)]);
    const int km =
        WholeAt(Member(object, "visibility_km", place), place + ".visibility_km", 15, 50);
    if (km != 15 && km != 50) Refuse("\"" + place + ".visibility_km\" is neither 15 nor 50");
    inputs.visibility = km == 15 ? canopy::Visibility::Km15 : canopy::Visibility::Km50;
    inputs.skyMix = Optional(
        object, "sky_mix", place, canopy::SkyMix::Classic, [](const Json& value, const Place& at) {
            return static_cast<canopy::SkyMix>(NameAt(value, at, kSkyMixNames));
        });
    if (const auto problem = domain::CheckCanopyDomain(inputs)) {
        const auto i =
            static_cast<std::size_t>(problem->input) - static_cast<std::size_t>(domain::Input::Lai);
        Refuse("\"" + place + "." + std::string(kCanopyNumbers[i].name) + "\" is "
               + textio::ShortestNumberText(problem->value) + ", outside "
               + textio::ShortestNumberText(problem->range.lowest) + " to "
               + textio::ShortestNumberText(problem->range.highest));
    }
    return inputs;
}

void ReadMeasured(const Json& object, const Place& place, Session& session)
{
    session.excludeWaterBands = Optional(object, "exclude_water_bands", place, true, FlagAt);
    session.subdomains = Optional(object, "subdomains", place, false, FlagAt);
    const auto files = object.find("files");
    if (files == object.end()) return;
    if (!files->is_array() || files->size() > kKindNames.size()) {
        Refuse("\"" + place + ".files\" is not a list of at most 3 files");
    }
    for (std::size_t i = 0; i < files->size(); ++i) {
        const Place at = place + ".files[" + std::to_string(i) + "]";
        const Json& file = ObjectAt((*files)[i], at);
        MeasuredFile measured;
        measured.fileName = TextAt(Member(file, "file", at), at + ".file");
        if (measured.fileName.empty()) Refuse("\"" + at + ".file\" is empty");
        measured.column = WholeAt(Member(file, "column", at), at + ".column", 0, 1000);
        measured.kind =
            static_cast<MeasuredKind>(NameAt(Member(file, "kind", at), at + ".kind", kKindNames));
        for (const MeasuredFile& earlier : session.measured) {
            if (earlier.kind == measured.kind) Refuse("\"" + at + ".kind\" is given twice");
        }
        session.measured.push_back(measured);
    }
}

void ReadKept(const Json& list, const Place& place, Session& session)
{
    if (!list.is_array()) Refuse("\"" + place + "\" is not a list");
    if (list.size() > kMaxKeptSpectra) {
        Refuse("\"" + place + "\" holds more than " + std::to_string(kMaxKeptSpectra) + " sets");
    }
    for (std::size_t k = 0; k < list.size(); ++k) {
        const Place at = place + "[" + std::to_string(k) + "]";
        const Json& entry = ObjectAt(list[k], at);
        plot::KeptSpectra kept;
        kept.label = LabelAt(Member(entry, "label", at), at + ".label");
        kept.leafReflPct =
            SpectrumAt(Member(entry, "leaf_reflectance_pct", at), at + ".leaf_reflectance_pct");
        kept.leafTransPct =
            SpectrumAt(Member(entry, "leaf_transmittance_pct", at), at + ".leaf_transmittance_pct");
        kept.canopyReflPct =
            SpectrumAt(Member(entry, "canopy_reflectance_pct", at), at + ".canopy_reflectance_pct");
        session.kept.push_back(std::move(kept));
    }
}

OpenWindows WindowsAt(const Json& value, const Place& place)
{
    const Json& object = ObjectAt(value, place);
    OpenWindows open;
    open.canopySweep = Optional(object, "canopy_sweep", place, false, FlagAt);
    open.sensitivity = Optional(object, "sensitivity", place, false, FlagAt);
    open.sensorDock = Optional(object, "sensor_dock", place, false, FlagAt);
    open.measuredPanel = Optional(object, "measured_panel", place, false, FlagAt);
    return open;
}

Session SessionAt(const Json& root)
{
    const auto format = root.is_object() ? root.find("format") : root.end();
    if (format == root.end() || !format->is_string()
        || format->get<std::string>() != kSessionFormat) {
        Refuse("it is not a Tulmera session (no \"format\": \"tulmera-session\")");
    }
    const int version =
        WholeAt(Member(root, "version", "session"), "version", 1, std::numeric_limits<int>::max());
    if (version > kSessionVersion) {
        Refuse("it was written by a newer Tulmera (session version " + std::to_string(version)
               + "; this one reads up to " + std::to_string(kSessionVersion) + ")");
    }
    Session session;
    session.leaf = LeafAt(ObjectAt(Member(root, "leaf", "session"), "leaf"), "leaf");
    session.canopy = CanopyAt(ObjectAt(Member(root, "canopy", "session"), "canopy"), "canopy");
    if (const auto charts = root.find("charts"); charts != root.end()) {
        session.background = Optional(ObjectAt(*charts, "charts"), "background", "charts", 1,
                                      [](const Json& value, const Place& at) {
                                          return WholeAt(value, at, 1, plot::kBackgroundEntryCount);
                                      });
    }
    if (const auto measured = root.find("measured"); measured != root.end()) {
        ReadMeasured(ObjectAt(*measured, "measured"), "measured", session);
    }
    if (const auto kept = root.find("kept"); kept != root.end()) ReadKept(*kept, "kept", session);
    if (const auto windows = root.find("windows"); windows != root.end()) {
        session.windows = WindowsAt(*windows, "windows");
    }
    return session;
}

Json LeafJson(const leaf::LeafParameters& p)
{
    Json leaf = {{"model", std::string(leaf::LeafModelName(p.model))}};
    for (const leaf::LeafParameterField& field : leaf::kLeafParameterFields) {
        if (!leaf::ModelHasParameter(p.model, field.name)) continue;
        leaf[std::string(field.name)] =
            NumberJson(p.*field.value, "leaf " + std::string(field.name));
    }
    return leaf;
}

Json CanopyJson(const canopy::CanopyInputs& inputs)
{
    Json canopy = Json::object();
    for (const CanopyNumber& number : kCanopyNumbers) {
        canopy[std::string(number.name)] =
            NumberJson(inputs.*number.value, std::string(number.name));
    }
    canopy["leaf_architecture"] = inputs.leafArchitecture;
    canopy["soil"] = inputs.soil;
    canopy["visibility_km"] = canopy::VisibilityKm(inputs.visibility);
    canopy["sky_mix"] = std::string(canopy::SkyMixName(inputs.skyMix));
    return canopy;
}

}  // namespace

bool Session::operator==(const Session& other) const
{
    const auto canopyFields = [](const canopy::CanopyInputs& c) {
        return std::tie(c.lai, c.sunZenith, c.viewAngle, c.relAzimuth, c.hotSpot,
                        c.leafArchitecture, c.soil, c.visibility, c.skyMix);
    };
    return leaf == other.leaf && canopyFields(canopy) == canopyFields(other.canopy)
           && background == other.background && measured == other.measured
           && excludeWaterBands == other.excludeWaterBands && subdomains == other.subdomains
           && kept == other.kept && windows == other.windows;
}

std::string_view MeasuredKindName(MeasuredKind kind)
{
    return kKindNames[static_cast<std::size_t>(kind)];
}

std::string SessionText(const Session& session)
{
    Json root = {{"format", std::string(kSessionFormat)}, {"version", kSessionVersion}};
    root["leaf"] = LeafJson(session.leaf);
    root["canopy"] = CanopyJson(session.canopy);
    root["charts"] = {{"background", session.background}};
    Json files = Json::array();
    for (const MeasuredFile& file : session.measured) {
        files.push_back({{"file", file.fileName},
                         {"column", file.column},
                         {"kind", std::string(MeasuredKindName(file.kind))}});
    }
    root["measured"] = {{"files", files},
                        {"exclude_water_bands", session.excludeWaterBands},
                        {"subdomains", session.subdomains}};
    Json kept = Json::array();
    for (const plot::KeptSpectra& k : session.kept) {
        kept.push_back(
            {{"label", k.label},
             {"leaf_reflectance_pct", SpectrumJson(k.leafReflPct, "kept spectrum")},
             {"leaf_transmittance_pct", SpectrumJson(k.leafTransPct, "kept spectrum")},
             {"canopy_reflectance_pct", SpectrumJson(k.canopyReflPct, "kept spectrum")}});
    }
    root["kept"] = kept;
    root["windows"] = {{"canopy_sweep", session.windows.canopySweep},
                       {"sensitivity", session.windows.sensitivity},
                       {"sensor_dock", session.windows.sensorDock},
                       {"measured_panel", session.windows.measuredPanel}};
    std::string text = root.dump(2);
    text += '\n';
    // What is written must read back: a record that breaks a reading rule (a label with a line
    // break, an unknown list entry) is refused here rather than saved as a file no one opens.
    try {
        ReadSession(text, "the session");
    } catch (const Error& e) {
        throw Error(std::string("The session cannot be saved: ") + e.what());
    }
    return text;
}

Session ReadSession(std::string_view text, const std::string& fileName)
{
    Json root;
    try {
        root = Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& e) {
        throw Error("\"" + fileName + "\" is not a readable session: it is not valid JSON (byte "
                    + std::to_string(e.byte) + ").");
    } catch (const Json::exception& e) {  // a number beyond double precision
        throw Error("\"" + fileName + "\" is not a readable session: " + e.what() + ".");
    }
    try {
        return SessionAt(root);
    } catch (const Error& e) {
        throw Error("\"" + fileName + "\" is not a readable session: " + e.what() + ".");
    } catch (const Json::exception& e) {  // a value of an unexpected type deep inside
        throw Error("\"" + fileName + "\" is not a readable session: " + e.what() + ".");
    }
}

Session ReadSessionFile(const std::string& fileName)
{
    return ReadSession(textio::ReadTextFile(fileName, kMaxSessionFileBytes), fileName);
}

}  // namespace tulmera::session
