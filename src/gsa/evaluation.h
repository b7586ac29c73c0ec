#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "lut/simulation.h"
#include "lut/table_spec.h"

// The one place where the analysis runs the model: parameter sets in, spectra and fluxes out.
// Everything else in this room only prepares the sets and reads the products, so that a faster
// engine can take this place without touching the design, the estimators or the files.
namespace tulmera::gsa {

struct EvaluationOptions {
    int threads = 1;  // workers, at least 1
    // Set from outside (the window's Cancel, a signal) to stop; the products are then unusable.
    const std::atomic<bool>* cancel = nullptr;
    // Called from the workers with the number of sets of this call done so far; thread-safe.
    std::function<void(std::uint64_t done)> progress;
};

// The simulations of `sets` under the leaf architecture, soil and sky of `model`, each as
// lut::Simulator computes it (with the fluxes when `withFluxes`, else the fluxes left zero), in
// the order of `sets`; the result does not depend on options.threads. Returns early, with
// products unfilled, when *options.cancel becomes true (the caller checks it). Throws
// tulmera::Error naming the parameters of the first failing set (lowest position).
//
// Today it runs the table's simulator on plain threads, each over a contiguous share of the
// sets; the vectorised engine will replace this body.
std::vector<lut::Simulator::WithFluxes> EvaluateSimulations(
    const lut::TableSpec& model, bool withFluxes, std::span<const lut::ParameterValues> sets,
    const EvaluationOptions& options);

// Calls work(first, end) over `count` items split into `threads` contiguous parts on the
// project's parallel loop (parallel::ParallelFor), and returns when all are done. `work` must
// not throw.
void ForEachPart(std::size_t count, int threads,
                 const std::function<void(std::size_t first, std::size_t end)>& work);

}  // namespace tulmera::gsa
