#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "lut/table.h"
#include "measured/measured_grid.h"

// The canopy fit against a look-up table: a measured canopy reflectance compared with every row
// of the table, the parameters of the rows that match it best averaged.
namespace tulmera::lut {

// `spec` with the ranges a canopy fit varies by default: N 1 .. 2.5, Cab 5 .. 90 µg/cm²,
// Cw 0.001 .. 0.05 cm, Cm 0.002 .. 0.02 g/cm² (for PROSPECT-PRO, CBC over that range in its
// place), LAI 0.1 .. 8; the geometry and the other leaf parameters stay held.
TableSpec WithFitRanges(TableSpec spec);

// The rows of `spec` computed in memory on `threads` threads (see ComputeRows, which also
// says what `cancel` and `progress` do).
TableRows ComputeTableRows(const TableSpec& spec, int threads,
                           const std::atomic<bool>* cancel = nullptr,
                           std::function<void(std::uint64_t done)> progress = {});

struct CanopyFitOptions {
    int best = 20;                    // rows averaged, 1 .. the table's rows
    bool leaveOutWaterBands = false;  // see measured::InWaterBand
    int threads = 1;                  // workers scanning the rows, at least 1
};

struct CanopyFitResult {
    // The best rows, best first: their index in TableRows (0 is its first row) and their RMSE
    // in percent reflectance. Equal RMSEs rank by row index, so the result is the same
    // whatever the thread count.
    std::vector<std::uint64_t> bestRows;
    std::vector<double> bestRmsePercent;
    ParameterValues mean{};                                   // over the best rows
    std::array<std::optional<double>, kParameterCount> sd{};  // sample SD; nothing for one row
    int wavelengthsCompared = 0;  // grid points with data, water bands left out when asked
    // The products over the same rows, when the table holds them (TableSpec::products).
    bool hasProducts = false;
    ProductValues productMean{};
    std::array<std::optional<double>, kProductCount> productSd{};
};

// Fits `measured` (fractions on the 5-nm grid) against `rows`: the RMSE, in percent reflectance
// (see measured::RmsePercent), of every row over the grid wavelengths where `measured` has data
// (without the water bands when asked); the parameters of the options.best lowest ones averaged.
// Preconditions: 1 <= options.best <= rows.Count(), options.threads >= 1.
// Throws tulmera::Error when fewer than measured::kMinGridPoints wavelengths are left to
// compare, or when a row's RMSE is not a finite number (a damaged table; the lowest such row
// is named, counted from the file's first row).
CanopyFitResult FitCanopy(const TableRows& rows, const measured::GridValues& measured,
                          const CanopyFitOptions& options);

}  // namespace tulmera::lut
