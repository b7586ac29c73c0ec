#pragma once
#include <QString>

class QSettings;

// The keys under which the windows remember their choices in the application's settings
// (QSettings), in one place. Keys are English; the first releases used Spanish ones, which
// MoveOldSettingsKeys carries over once.
namespace tulmera::widgets {

inline constexpr const char* kLanguageKey = "language";               // "Configuracion › Idioma"
inline constexpr const char* kRecentMeasuredKey = "measured/recent";  // recent files
inline constexpr const char* kChartBackgroundKey = "charts/background";  // list entry
inline constexpr const char* kFollowThumbKey = "charts/followThumb";     // on while dragging
inline constexpr const char* kSkyMixKey = "canopy/skyMix";               // "classic" or "physical"
inline constexpr const char* kReopenSessionKey = "session/reopenLast";   // off unless chosen
// The kinds of saved file whose last folder is remembered, under FolderKey(kind).
inline constexpr const char* kSpectraFolder = "spectra";
inline constexpr const char* kSessionsFolder = "sessions";
inline constexpr const char* kChartsFolder = "charts";
inline constexpr const char* kMeasuredFolder = "measured";  // measured spectra opened

// The key of the last folder of a kind of saved file: "folders/" and the kind.
QString FolderKey(const QString& kind);

// Moves each value still stored under an old Spanish key to its English key, unless that key
// already holds a value (a newer choice wins), and removes the old key. Run once at start-up,
// before any window reads its settings; a second run finds nothing to move.
void MoveOldSettingsKeys(QSettings& settings);

}  // namespace tulmera::widgets
