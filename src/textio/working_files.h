#pragma once

// The working files through which the parts of the program hand results to each other. They
// are opened by bare name, so they live in the current directory.
namespace tulmera {

inline constexpr const char* kLeafSpectrumFile = "VP.dat";     // leaf run -> canopy, charts, export
inline constexpr const char* kCanopySpectrumFile = "VS.dat";   // canopy run -> chart, export
inline constexpr const char* kSweepFile = "MVP.dat";           // sweep -> sweep export
inline constexpr const char* kSweepCurveFile = "MVPaint.dat";  // sweep step -> sweep chart

}  // namespace tulmera
