#pragma once
#include <QString>

// The pictures of the user guide's lessons, taken from windows made for each scene, in the
// windows' current language, saved as PNG files into `directory`. False when one could not be
// made or written (the others are still tried).
bool SaveLessonScenes(const QString& directory);
