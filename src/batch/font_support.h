#pragma once

// Texts drawn without windows: Qt measures and draws fonts only once a QGuiApplication exists.
namespace tulmera::batch {

// Makes sure a QGuiApplication exists, on the offscreen platform unless QT_QPA_PLATFORM names
// another, for the figures' texts. The first call makes it and it lasts until the program
// ends; later calls, or an application made by the caller, leave things as they are.
void EnsureFontSupport();

}  // namespace tulmera::batch
