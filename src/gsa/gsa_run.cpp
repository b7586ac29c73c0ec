#include "gsa/gsa_run.h"

#include <algorithm>

#include "gsa/quantities.h"
#include "gsa/saltelli_design.h"
#include "textio/error.h"

namespace tulmera::gsa {
namespace {

// Simulations held at once before their quantities: enough for the engine's workers to share
// evenly, few enough that their spectra stay some tens of megabytes.
constexpr std::uint64_t kBlockSets = 8192;

}  // namespace

DesignOutputs ComputeOutputs(const GsaSpec& spec, BaseRows rows, const EvaluationOptions& options)
{
    const std::vector<std::size_t> varied = VariedParameters(spec);
    const std::size_t k = varied.size(), matrices = k + 2;
    DesignOutputs outputs{k, QuantityNames(spec).size(), rows.first, {}};
    outputs.values.reserve(static_cast<std::size_t>(rows.end - rows.first) * matrices
                           * outputs.quantities);
    const bool withFluxes = NeedsFluxes(spec);
    const std::uint64_t blockRows = std::max<std::uint64_t>(1, kBlockSets / matrices);
    const std::vector<std::size_t> order = SimulationOrder(varied);
    std::vector<std::size_t> positionOf(matrices);  // of each matrix in `order`
    for (std::size_t at = 0; at < matrices; ++at) positionOf[order[at]] = at;
    for (std::uint64_t first = rows.first; first < rows.end; first += blockRows) {
        const std::uint64_t end = std::min(first + blockRows, rows.end);
        const std::vector<double> points = SobolRows(k, first, end);
        std::vector<InputValues> sets;
        sets.reserve(static_cast<std::size_t>(end - first) * matrices);
        for (std::uint64_t row = first; row < end; ++row) {
            const double* point = points.data() + (row - first) * 2 * k;
            for (const std::size_t m : order) sets.push_back(DesignValues(spec, varied, point, m));
        }
        const std::uint64_t before = (first - rows.first) * matrices;
        EvaluationOptions block = options;
        if (options.progress) {
            block.progress = [&options, before](std::uint64_t done) {
                options.progress(before + done);
            };
        }
        const Simulations products = EvaluateSimulations(spec, withFluxes, sets, block);
        if (options.cancel && options.cancel->load()) {
            throw Error("The analysis was interrupted; nothing was written.");
        }
        const engine::FluxScalars none{};
        for (std::size_t row = 0; row < end - first; ++row) {
            for (std::size_t m = 0; m < matrices; ++m) {
                const std::size_t s = static_cast<std::size_t>(row) * matrices + positionOf[m];
                AppendQuantities(spec, products.ReflectanceOf(s),
                                 withFluxes ? products.fluxes[s] : none, outputs.values);
            }
        }
    }
    return outputs;
}

std::vector<QuantityIndices> AnalyseOutputs(const GsaSpec& spec, const DesignOutputs& outputs,
                                            int threads)
{
    return EstimateIndices(outputs, spec.bootstrap, spec.seed, threads);
}

std::vector<QuantityIndices> RunAnalysis(const GsaSpec& spec, const EvaluationOptions& options)
{
    return AnalyseOutputs(spec, ComputeOutputs(spec, {0, spec.samples}, options), options.threads);
}

}  // namespace tulmera::gsa
