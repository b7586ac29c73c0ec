#pragma once
#include <optional>
#include <string>
#include <vector>

#include "batch/batch_command.h"
#include "canopy/canopy_run.h"
#include "leaf/leaf_parameters.h"
#include "sensor/band_tables.h"

// `brdf`: the canopy reflectance over the view hemisphere, one value a direction, for a
// wavelength, a sensor band or a vegetation index.
namespace tulmera::batch {

// What one value of the map is: the canopy reflectance at a grid wavelength (as "VS.dat"
// holds it), the mean over a sensor band (as `indices --sensor` prints it), or a narrow-band
// index (as `indices` prints it).
struct BrdfQuantity {
    enum class Kind { Wavelength, Band, Index };
    Kind kind = Kind::Wavelength;
    int wavelengthIndex = 0;                 // Wavelength: the grid point, 0 .. 420
    const sensor::Sensor* sensor = nullptr;  // Band
    std::size_t band = 0;                    // Band: table order
    std::size_t index = 0;                   // Index: sensor::kIndices order
};

// What `brdf` reads from its command line, checked.
struct BrdfRequest {
    leaf::LeafParameters leaf;
    canopy::CanopyInputs canopy;  // its view angle and azimuth are those of each direction
    BrdfQuantity quantity;
    double stepDeg = 5;  // view zenith 0, step, .. <= 80; relative azimuth 0, step, .. < 360
    std::string out;
    std::string png;  // the figure as PNG, 1600 pixels wide; empty: none
    std::string svg;  // the figure as SVG; empty: none
};

// Reads and checks `brdf`'s options. Throws UsageError naming the option for none or more than
// one of --wavelength, --band and --index, a wavelength off the 5-nm grid or outside 400 to 2500,
// an unknown sensor, band or index, a --step that is not above 0 or does not divide 90 (or is
// below 0.5°, the finest step), a missing --out, an empty --png or --svg name, and what
// CanopyOptions refuse.
BrdfRequest BrdfRequestFrom(const BatchArguments& arguments);

// One direction of the map and its value; no value where the model refuses the direction or
// the quantity is undefined there (an index dividing by 0).
struct BrdfPoint {
    double viewZenith;
    double relAzimuth;
    std::optional<double> value;
};

// The map: every direction of the request's grid, zenith by zenith, each azimuth in order;
// each value from the canopy run's exact path (canopy::ComputeCanopySpectrum from the leaf
// spectra as "VP.dat" gives them), so that it equals `canopy` run with that --view and
// --azimuth. Directions run on every core; the result does not depend on their number.
// Throws tulmera::Error when the leaf model fails.
std::vector<BrdfPoint> ComputeBrdf(const BrdfRequest& request);

// The CSV text: "view_zenith,azimuth,value", one row a direction, LF line ends, an empty value
// where there is none. A wavelength's value is written as "VS.dat" writes it (15 significant
// digits), a band's or an index's as `indices` prints it (the shortest exact text).
std::string BrdfCsv(const BrdfRequest& request, const std::vector<BrdfPoint>& points);

BatchCommand BrdfCommand();

}  // namespace tulmera::batch
