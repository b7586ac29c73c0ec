#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "canopy/canopy_fluxes.h"
#include "engine/engine.h"
#include "gsa/saltelli_design.h"

// The one place where the analysis runs the model: input sets in, spectra and fluxes out.
// Everything else in this room only prepares the sets and reads the products, so that the
// design, the estimators and the files never see how the model is evaluated.
namespace tulmera::gsa {

struct EvaluationOptions {
    int threads = 1;  // workers, at least 1
    // Set from outside (the window's Cancel, a signal) to stop; the products are then unusable.
    const std::atomic<bool>* cancel = nullptr;
    // Called from the workers with the number of sets of this call done so far; thread-safe.
    std::function<void(std::uint64_t done)> progress;
};

// The products of simulations, set after set.
struct Simulations {
    engine::Values reflectance;               // canopy reflectance, fractions, 421 a set
    std::vector<engine::FluxScalars> fluxes;  // one a set when asked for, else empty

    const double* ReflectanceOf(std::size_t set) const
    {
        return reflectance.data() + set * spectral::kWavelengthCount;
    }
};

// The leaf of one input set for `model`: the inputs it reads, the others 0.
leaf::LeafParameters LeafOf(leaf::LeafModel model, const InputValues& values);

// "N=1.5, Cab=40, ..., hotspot=0.01" (the inputs `model` reads) for messages.
std::string DescribeInputs(leaf::LeafModel model, const InputValues& values);

// The simulations of `sets` under spec's leaf model, leaf architecture, soil and sky, in one
// batch of the engine (engine::ComputeCanopySpectra, and ComputeCanopyFluxesBatch when
// `withFluxes`) on options.threads workers; the result does not depend on the thread count or
// on how the sets are split into calls. Returns early, with products unfilled, when
// *options.cancel becomes true (the caller checks it). Throws tulmera::Error naming the inputs
// of the first failing set (lowest position), or when a flux is not finite.
Simulations EvaluateSimulations(const GsaSpec& spec, bool withFluxes,
                                std::span<const InputValues> sets,
                                const EvaluationOptions& options);

// Calls work(first, end) over `count` items split into `threads` contiguous parts on the
// project's parallel loop (parallel::ParallelFor), and returns when all are done. `work` must
// not throw.
void ForEachPart(std::size_t count, int threads,
                 const std::function<void(std::size_t first, std::size_t end)>& work);

}  // namespace tulmera::gsa
