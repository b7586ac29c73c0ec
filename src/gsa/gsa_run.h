#pragma once
#include <cstdint>

#include "gsa/evaluation.h"
#include "gsa/gsa_spec.h"
#include "gsa/sobol_indices.h"

// An analysis run: the design's simulations (all base rows, or one shard's) and their indices.
namespace tulmera::gsa {

// The base rows first .. end - 1 of shard `index` of `count` (see lut::ShardRows): every
// shard computes the k + 2 simulations of each of its rows.
struct BaseRows {
    std::uint64_t first = 0;
    std::uint64_t end = 0;
};

// The quantities (QuantityNames order) of the simulations of base rows `rows` of `spec`'s
// design. Progress counts simulations of this call. Throws tulmera::Error naming the parameters
// of a failing simulation, or saying the run was interrupted when *options.cancel became true.
DesignOutputs ComputeOutputs(const GsaSpec& spec, BaseRows rows, const EvaluationOptions& options);

// The indices of a whole design's outputs with spec's bootstrap and seed (EstimateIndices).
// The resamples run on `threads` threads (the result does not depend on them).
std::vector<QuantityIndices> AnalyseOutputs(const GsaSpec& spec, const DesignOutputs& outputs,
                                            int threads = 1);

// The whole analysis in memory: ComputeOutputs over every base row, then AnalyseOutputs.
std::vector<QuantityIndices> RunAnalysis(const GsaSpec& spec, const EvaluationOptions& options);

}  // namespace tulmera::gsa
