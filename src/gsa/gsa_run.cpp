#include "gsa/gsa_run.h"

#include <algorithm>

#include "gsa/quantities.h"
#include "gsa/saltelli_design.h"
#include "textio/error.h"

namespace tulmera::gsa {
namespace {

constexpr std::uint64_t kBlockSets = 2048;  // simulations held at once before their quantities

}  // namespace

DesignOutputs ComputeOutputs(const GsaSpec& spec, BaseRows rows, const EvaluationOptions& options)
{
    const std::vector<lut::Parameter> varied = VariedParameters(spec);
    const std::size_t k = varied.size(), matrices = k + 2;
    DesignOutputs outputs{k, QuantityNames(spec).size(), rows.first, {}};
    outputs.values.reserve(static_cast<std::size_t>(rows.end - rows.first) * matrices
                           * outputs.quantities);
    const bool withFluxes = NeedsFluxes(spec);
    const std::uint64_t blockRows = std::max<std::uint64_t>(1, kBlockSets / matrices);
    for (std::uint64_t first = rows.first; first < rows.end; first += blockRows) {
        const std::uint64_t end = std::min(first + blockRows, rows.end);
        const std::vector<double> points = SobolRows(k, first, end);
        std::vector<lut::ParameterValues> sets;
        sets.reserve(static_cast<std::size_t>(end - first) * matrices);
        for (std::uint64_t row = first; row < end; ++row) {
            const double* point = points.data() + (row - first) * 2 * k;
            for (std::size_t m = 0; m < matrices; ++m)
                sets.push_back(DesignValues(spec, varied, point, m));
        }
        const std::uint64_t before = (first - rows.first) * matrices;
        EvaluationOptions block = options;
        if (options.progress) {
            block.progress = [&options, before](std::uint64_t done) {
                options.progress(before + done);
            };
        }
        const std::vector<lut::Simulator::WithFluxes> products =
            EvaluateSimulations(spec.model, withFluxes, sets, block);
        if (options.cancel && options.cancel->load()) {
            throw Error("The analysis was interrupted; nothing was written.");
        }
        for (const lut::Simulator::WithFluxes& product : products)
            AppendQuantities(spec, product, outputs.values);
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
