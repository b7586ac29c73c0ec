#pragma once
#include <QImage>
#include <string>

// Pictures of the charts, for slides and teaching material.
namespace tulmera::plot {

// Writes `image` as a PNG file at `path`, replacing any file there as a whole (never a half
// written file). Throws tulmera::Error naming the file and the reason on failure.
void SavePng(const QImage& image, const std::string& path);

// The bytes of `image` as a PNG file, for a run that stages its files. Throws tulmera::Error
// naming `path`, the file they are meant for, when the image cannot be encoded.
std::string PngBytes(const QImage& image, const std::string& path);

}  // namespace tulmera::plot
