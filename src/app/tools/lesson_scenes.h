#pragma once
#include <QString>

class QWidget;

// The pictures of the user guide's lessons, taken from windows made for each scene, in the
// windows' current language, saved as PNG files into `directory`. False when one could not be
// made or written (the others are still tried).
bool SaveLessonScenes(const QString& directory);

// Shows `window`, lets the window manager and the first paint settle, and saves its picture at
// `path`; false, said on standard error, when it cannot be written.
bool SaveWindowPicture(QWidget* window, const QString& path);

// The first example leaf's reflectance and transmittance loaded into the measured panel of
// `window` (a main window), fitted, and the fit applied; false, said on standard error, when a
// step fails.
bool FitExampleLeaf(QWidget* window);
