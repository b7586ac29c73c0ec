#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "canopy/canopy_run.h"
#include "leaf/leaf_parameters.h"
#include "plot/kept_spectra.h"

// A lesson's state, saved and opened again: every value of the main window, its lists and
// models, the measured files it had loaded, the kept spectra and which windows were open. The
// windows and the batch runner read the same file (".tulmera", JSON), described in
// docs/sessions.md.
namespace tulmera::session {

inline constexpr std::string_view kSessionFormat = "tulmera-session";
// The layout this program writes and the newest it reads; a file of a newer version is refused
// (its meaning may have changed) rather than read in part.
inline constexpr int kSessionVersion = 1;
// The most kept sets a session holds (and the main window keeps).
inline constexpr std::size_t kMaxKeptSpectra = 20;
// A session file is read only up to this size: 20 kept sets of 3 spectra fit well within it.
inline constexpr std::size_t kMaxSessionFileBytes = 4u << 20;

// What a measured spectrum of the measured panel is, as a session names it.
enum class MeasuredKind { LeafReflectance, LeafTransmittance, CanopyReflectance };

// One loaded measured spectrum: its file as it was opened (absolute, or relative to the folder
// the program was started in), the spectrum column (0 is the first after the wavelength) and
// the kind.
struct MeasuredFile {
    std::string fileName;
    int column = 0;
    MeasuredKind kind = MeasuredKind::LeafReflectance;
    bool operator==(const MeasuredFile&) const = default;
};

// Which windows and panels beside the main window were open.
struct OpenWindows {
    bool canopySweep = false;    // "Modelo SAILH"
    bool sensitivity = false;    // "Análisis de sensibilidad"
    bool sensorDock = false;     // "Sensor e índices"
    bool measuredPanel = false;  // the measured spectra's dock
    bool operator==(const OpenWindows&) const = default;
};

struct Session {
    leaf::LeafParameters leaf = leaf::kStartLeafParameters;     // with the leaf model
    canopy::CanopyInputs canopy = canopy::StartCanopyInputs();  // lists as their keys, sky mix
    int background = 1;                   // the "Gráficos" entry, 1 .. plot::kBackgroundEntryCount
    std::vector<MeasuredFile> measured;   // at most one of each kind
    bool excludeWaterBands = true;        // "Excluir bandas de agua"
    bool subdomains = false;              // the leaf fit by subdomains
    std::vector<plot::KeptSpectra> kept;  // oldest first
    OpenWindows windows;
    bool operator==(const Session& other) const;  // every field, the canopy inputs' too
};

// The session as the text of a ".tulmera" file: JSON, two-space indented, ending in a line
// end, numbers in their shortest form that reads back exactly. Throws tulmera::Error when a
// number is not finite or the record breaks a rule ReadSession checks: no such file is made.
std::string SessionText(const Session& session);

// The session `text` holds. Throws tulmera::Error, naming `fileName` and the reason, when the
// text is no JSON, is no session ("format"), was written by a newer version, lacks a value or
// holds one of the wrong type, a value the models do not accept, an unknown list entry, model
// or kind, or more kept sets than kMaxKeptSpectra. Sections other than "leaf" and "canopy"
// may be missing (their defaults are used); unknown members are ignored.
Session ReadSession(std::string_view text, const std::string& fileName);

// ReadSession of the file's content (at most kMaxSessionFileBytes). Throws tulmera::Error as
// ReadSession does, or naming the file and the system's reason when it cannot be read.
Session ReadSessionFile(const std::string& fileName);

// The names a session file gives the kinds: "leaf_reflectance", "leaf_transmittance",
// "canopy_reflectance" (the sky mixes by canopy::SkyMixName).
std::string_view MeasuredKindName(MeasuredKind kind);

}  // namespace tulmera::session
