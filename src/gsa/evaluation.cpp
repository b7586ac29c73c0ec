#include "gsa/evaluation.h"

#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "parallel/parallel_for.h"
#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::gsa {
namespace {

// Throws naming the inputs of the first set with an error.
void CheckErrors(const GsaSpec& spec, std::span<const InputValues> sets,
                 const std::vector<std::string>& error)
{
    if (const std::optional<std::size_t> at = engine::FirstFailure(error)) {
        throw Error("The simulation with " + DescribeInputs(spec.leafModel, sets[*at])
                    + " failed: " + error[*at]);
    }
}

}  // namespace

leaf::LeafParameters LeafOf(leaf::LeafModel model, const InputValues& v)
{
    const auto read = [model, &v](std::size_t input) {
        return ModelReads(model, input) ? v[input] : 0.0;
    };
    return {read(0),  read(1),  read(2),  read(3),  read(9),
            read(10), read(11), read(12), read(13), model};
}

std::string DescribeInputs(leaf::LeafModel model, const InputValues& values)
{
    std::string text;
    for (std::size_t input = 0; input < values.size(); ++input) {
        if (!ModelReads(model, input)) continue;
        if (!text.empty()) text += ", ";
        text += std::string(kInputNames[input]) + "=" + textio::NumberText(values[input]);
    }
    return text;
}

void ForEachPart(std::size_t count, int threads,
                 const std::function<void(std::size_t first, std::size_t end)>& work)
{
    if (count == 0) return;
    const std::size_t parts =
        std::clamp<std::size_t>(static_cast<std::size_t>(std::max(1, threads)), 1, count);
    parallel::LoopOptions loop;
    loop.threads = static_cast<int>(parts);
    loop.grain = (count + parts - 1) / parts;
    parallel::ParallelFor(count, loop, work);
}

Simulations EvaluateSimulations(const GsaSpec& spec, bool withFluxes,
                                std::span<const InputValues> sets, const EvaluationOptions& options)
{
    const lut::TableSpec& model = spec.model;
    const engine::CanopyScene scene =
        engine::SceneOf(model.leafArchitecture, model.soil, model.visibility, model.skyMix);
    engine::CanopyBatch batch;
    batch.Reserve(sets.size());
    for (const InputValues& v : sets)
        batch.Append(LeafOf(spec.leafModel, v), v[4], v[5], v[6], v[7], v[8]);
    engine::RunOptions run{std::max(1, options.threads), options.cancel, {}, {}};
    if (options.progress) {
        run.progress = [&options](std::size_t done) { options.progress(done); };
    }
    Simulations result;
    try {
        if (!withFluxes) {
            engine::CanopySpectraBatch spectra = engine::ComputeCanopySpectra(scene, batch, run);
            CheckErrors(spec, sets, spectra.error);
            result.reflectance = std::move(spectra.refl);
            return result;
        }
        // The flux run computes the reflectances on the way: one canopy run, not two.
        engine::CanopyFluxesBatch fluxes = engine::ComputeCanopyFluxesBatch(scene, batch, run);
        CheckErrors(spec, sets, fluxes.error);
        for (std::size_t s = 0; s < sets.size(); ++s) {
            const engine::FluxScalars& f = fluxes.scalars[s];
            for (const double scalar :
                 {f.fAPAR, f.fCover, f.albedoPar, f.albedoNir, f.albedoShortwave}) {
                if (!std::isfinite(scalar)) {
                    throw Error("The simulation with " + DescribeInputs(spec.leafModel, sets[s])
                                + " failed: a canopy flux is not a finite number.");
                }
            }
        }
        result.reflectance = std::move(fluxes.refl);
        result.fluxes = std::move(fluxes.scalars);
    } catch (const engine::Cancelled&) {
        return {};  // the caller sees the cancellation
    }
    return result;
}

}  // namespace tulmera::gsa
