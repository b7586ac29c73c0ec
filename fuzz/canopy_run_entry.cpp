#include <array>
#include <cmath>
#include <string>

#include "canopy/canopy_run.h"
#include "fuzz/fuzz_entries.h"
#include "fuzz/fuzz_support.h"
#include "spectral/grid.h"
#include "spectral/soil_library.h"
#include "textio/field_reader.h"
#include "textio/text_file.h"
#include "textio/working_files.h"

namespace tulmera::fuzz {
namespace {

using spectral::kWavelengthCount;
using spectral::Spectrum;

// What stands in "VS.dat" before a run: a failed run must leave it so.
constexpr std::string_view kEarlierCanopyFile = "an earlier canopy file\r\n";

// The start canopy, then a dense one with a hot spot, seen off nadir under a 50 km sky: the
// second run starts from the state the first one left.
std::array<canopy::CanopyInputs, 2> Canopies()
{
    return {canopy::StartCanopyInputs(),
            canopy::CanopyInputs{3.0, 30.0, -20.0, 90.0, 0.05, "Esferico",
                                 std::string(spectral::kSoilKeys[1]), canopy::Visibility::Km50}};
}

bool AllFinite(const Spectrum& values)
{
    for (const double v : values) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

// "VS.dat" as a successful run leaves it: one line per grid wavelength, nothing more.
void RequireCompleteCanopyFile(const Spectrum& canopyReflPct)
{
    textio::FieldReader reader = textio::FieldReader::Open(kCanopySpectrumFile);
    for (int i = 0; i < kWavelengthCount; ++i) {
        if (reader.ReadWholeNumber("wavelength") != spectral::WavelengthNm(i)) {
            throw FuzzFailure("The canopy run wrote a wrong wavelength.");
        }
        const double reflectance = reader.ReadNumber("canopy reflectance");
        const double kept = canopyReflPct[static_cast<std::size_t>(i)] / 100.0;
        // Fifteen digits; tiny (subnormal) values have fewer bits than that.
        if (std::abs(reflectance - kept) > 1e-14 * std::abs(kept) + 1e-300) {
            throw FuzzFailure("The canopy run wrote another value than it kept.");
        }
    }
    Require(reader.AtEnd(), "The canopy run wrote more than one line per wavelength.");
}

}  // namespace

void FuzzCanopyRun(std::string_view bytes)
{
    textio::ReplaceTextFile(kLeafSpectrumFile, bytes, textio::Flushing::Skip);
    canopy::CanopyState state;
    for (const canopy::CanopyInputs& inputs : Canopies()) {
        textio::ReplaceTextFile(kCanopySpectrumFile, kEarlierCanopyFile, textio::Flushing::Skip);
        const canopy::CanopyState before = state;
        try {
            canopy::RunSailh(inputs, state);
        } catch (const Error&) {
            Require(state == before, "A failed canopy run changed its state.");
            Require(textio::ReadTextFile(kCanopySpectrumFile) == kEarlierCanopyFile,
                    "A failed canopy run changed \"VS.dat\".");
            continue;
        }
        Require(AllFinite(state.canopyReflPct) && AllFinite(state.leafReflPct)
                    && AllFinite(state.leafTransPct),
                "A canopy run kept values that are not finite.");
        RequireCompleteCanopyFile(state.canopyReflPct);
    }
}

}  // namespace tulmera::fuzz
