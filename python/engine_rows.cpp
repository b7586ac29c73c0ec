#include "engine_rows.h"

#include <algorithm>
#include <optional>
#include <span>

#include "engine/engine.h"
#include "parallel_rows.h"
#include "spectral/grid.h"

namespace tulmera::python {
namespace {

constexpr std::size_t kGrid = spectral::kWavelengthCount;
// Rows whose fluxes are computed at once: the engine hands back eight spectra per row, of
// which the module keeps five numbers (2,048 rows hold 55 MB meanwhile).
constexpr std::size_t kFluxRowsAtOnce = 2048;

enum CanopyValue { kLai, kSun, kView, kAzimuth, kHotSpot, kVisibility };

// The lowest failing row over several engine batches.
struct LowestFailure {
    std::optional<std::size_t> row;
    std::string message;

    void Note(const std::vector<std::string>& errors, std::span<const std::size_t> rows)
    {
        const std::optional<std::size_t> at = engine::FirstFailure(errors);
        if (!at || (row && *row < rows[*at])) return;
        row = rows[*at];
        message = errors[*at];
    }
    void ThrowIfAny() const
    {
        if (row) throw RowFailure(*row, message);
    }
};

engine::RunOptions RunOf(int threads, const std::atomic<bool>* cancel)
{
    engine::RunOptions run;
    run.threads = std::max(1, threads);
    run.cancel = cancel;
    return run;
}

engine::CanopyBatch BatchOf(const CanopyRowsRequest& r, std::span<const std::size_t> rows)
{
    engine::CanopyBatch batch;
    batch.Reserve(rows.size());
    for (const std::size_t row : rows) {
        batch.Append(r.leaf->At(row), r.values[kLai].At(row), r.values[kSun].At(row),
                     r.values[kView].At(row), r.values[kAzimuth].At(row),
                     r.values[kHotSpot].At(row));
    }
    return batch;
}

}  // namespace

LeafSpectraRows ComputeLeafRows(const LeafRows& leaf, std::size_t count, int threads,
                                const std::atomic<bool>* cancel)
{
    engine::LeafBatch batch;
    batch.Reserve(count);
    for (std::size_t row = 0; row < count; ++row) batch.Append(leaf.At(row));
    engine::LeafSpectraBatch spectra = engine::ComputeLeafSpectra(batch, RunOf(threads, cancel));
    if (const std::optional<std::size_t> failed = engine::FirstFailure(spectra.error)) {
        throw RowFailure(*failed, spectra.error[*failed]);
    }
    return {std::move(spectra.refl), std::move(spectra.trans)};
}

CanopyRows ComputeCanopyRows(const CanopyRowsRequest& r, const std::atomic<bool>* cancel)
{
    // The rows of each visibility, in row order: one scene (sky ratio) each.
    std::array<std::vector<std::size_t>, 2> rowsOf;
    for (std::size_t row = 0; row < r.count; ++row) {
        rowsOf[r.values[kVisibility].At(row) == 50.0 ? 1 : 0].push_back(row);
    }
    const std::array<canopy::Visibility, 2> visibilities = {canopy::Visibility::Km15,
                                                            canopy::Visibility::Km50};
    const engine::RunOptions run = RunOf(r.threads, cancel);
    CanopyRows out;
    const bool oneScene = rowsOf[0].empty() || rowsOf[1].empty();
    if (r.fluxes) {
        for (std::vector<double>& values : out.fluxes) values.assign(r.count, 0.0);
    }
    LowestFailure failure;
    for (std::size_t v = 0; v < rowsOf.size(); ++v) {
        const std::span<const std::size_t> rows = rowsOf[v];
        if (rows.empty()) continue;
        const engine::CanopyScene scene =
            engine::SceneOf(r.leafArchitecture, r.soil, visibilities[v], r.skyMix);
        // With fluxes their batches give the reflectances too: one canopy run either way.
        const auto keepReflectances = [&](engine::Values& refl,
                                          std::span<const std::size_t> these) {
            if (oneScene && these.size() == rows.size()) {
                out.refl = std::move(refl);
                return;
            }
            if (out.refl.empty()) out.refl.assign(r.count * kGrid, 0.0);
            for (std::size_t k = 0; k < these.size(); ++k) {
                std::copy_n(refl.begin() + static_cast<std::ptrdiff_t>(k * kGrid), kGrid,
                            out.refl.begin() + static_cast<std::ptrdiff_t>(these[k] * kGrid));
            }
        };
        if (!r.fluxes) {
            engine::CanopySpectraBatch spectra =
                engine::ComputeCanopySpectra(scene, BatchOf(r, rows), run);
            failure.Note(spectra.error, rows);
            keepReflectances(spectra.refl, rows);
            continue;
        }
        for (std::size_t first = 0; first < rows.size(); first += kFluxRowsAtOnce) {
            const std::span<const std::size_t> block =
                rows.subspan(first, std::min(kFluxRowsAtOnce, rows.size() - first));
            engine::CanopyFluxesBatch f =
                engine::ComputeCanopyFluxesBatch(scene, BatchOf(r, block), run);
            failure.Note(f.error, block);
            keepReflectances(f.refl, block);
            for (std::size_t k = 0; k < block.size(); ++k) {
                const engine::FluxScalars& one = f.scalars[k];
                const double kept[] = {one.fAPAR, one.fCover, one.albedoShortwave, one.albedoPar,
                                       one.albedoNir};
                for (std::size_t q = 0; q < out.fluxes.size(); ++q) {
                    out.fluxes[q][block[k]] = kept[q];
                }
            }
        }
    }
    failure.ThrowIfAny();
    return out;
}

}  // namespace tulmera::python
