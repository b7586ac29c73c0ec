#pragma once
#include <array>
#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "arguments.h"
#include "canopy/sky_ratio.h"
#include "engine/engine.h"
#include "leaf_arguments.h"

// The array forms of leaf() and canopy() on the engine (src/engine): the rows as the engine's
// columns, its results kept as they come (row after row, 421 values each). Within 1e-12 of the
// exact path (scene.h) and the same bits as the rows of `tulmera-batch lut`, which runs the
// engine too; the same bits on any thread count.
namespace tulmera::python {

struct LeafSpectraRows {
    engine::Values refl, trans;  // fractions, count × 421
};

// The leaf spectra of rows 0 .. count - 1 of `leaf` on `threads` workers. Throws RowFailure for
// the lowest row the leaf model refuses, engine::Cancelled when *cancel became true.
LeafSpectraRows ComputeLeafRows(const LeafRows& leaf, std::size_t count, int threads,
                                const std::atomic<bool>* cancel);

// What every row of a canopy() call reads besides its leaf.
struct CanopyRowsRequest {
    const LeafRows* leaf = nullptr;
    // lai, sun, view, azimuth, hotspot and visibility (km, 15 or 50), as canopy() orders them.
    std::vector<NumericArgument> values;
    std::string leafArchitecture, soil;  // the list texts
    canopy::SkyMix skyMix = canopy::SkyMix::Classic;
    bool fluxes = true;
    std::size_t count = 0;
    int threads = 1;
};

struct CanopyRows {
    engine::Values refl;  // fractions, count × 421
    // fAPAR, fCover, shortwave albedo, albedo PAR, albedo NIR: count each (empty without).
    std::array<std::vector<double>, 5> fluxes;
};

// The canopy reflectance (and fluxes) of every row. Rows of each visibility share one engine
// scene. Throws RowFailure for the lowest row a model refuses, engine::Cancelled when *cancel
// became true.
CanopyRows ComputeCanopyRows(const CanopyRowsRequest& request, const std::atomic<bool>* cancel);

}  // namespace tulmera::python
