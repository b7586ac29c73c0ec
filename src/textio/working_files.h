#pragma once
#include <array>
#include <cstddef>
#include <string_view>

// The working files through which the parts of the program hand results to each other. They
// are opened by bare name, so they live in the current directory.
namespace tulmera {

inline constexpr const char* kLeafSpectrumFile = "VP.dat";     // leaf run -> canopy, charts, export
inline constexpr const char* kCanopySpectrumFile = "VS.dat";   // canopy run -> chart, export
inline constexpr const char* kSweepFile = "MVP.dat";           // sweep -> sweep export
inline constexpr const char* kSweepCurveFile = "MVPaint.dat";  // sweep step -> sweep chart
inline constexpr const char* kCanopySweepFile = "MVS.dat";     // canopy sweep -> its export
// Held locked (flock) by the one run, batch or window, that works in the directory; it holds
// the decimal process id of its holder.
inline constexpr const char* kLockFile = ".tulmera.lock";

// Every file of the working directory that no output may be written over.
inline constexpr std::array<std::string_view, 6> kWorkingFiles = {
    kLeafSpectrumFile, kCanopySpectrumFile, kSweepFile,
    kSweepCurveFile,   kCanopySweepFile,    kLockFile};

// The largest leaf or canopy spectrum file a reader accepts: 421 lines of at most three
// 22-character numbers and blanks take under 40 KB; the rest is margin.
inline constexpr std::size_t kMaxSpectrumFileBytes = std::size_t{1} << 20;
// The largest "MVP.dat" a reader accepts: at most 1000 blocks of about 34 KB.
inline constexpr std::size_t kMaxSweepFileBytes = std::size_t{64} << 20;

}  // namespace tulmera
