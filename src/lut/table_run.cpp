#include "lut/table_run.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "engine/engine.h"
#include "lut/physical_row.h"
#include "lut/sampling.h"
#include "textio/error.h"

namespace tulmera::lut {
namespace {

constexpr std::uint64_t kBlockRows = 8192;  // rows computed between two writes

}  // namespace

RowRange ShardRows(std::uint64_t samples, std::uint64_t index, std::uint64_t count)
{
    __extension__ using UInt128 = unsigned __int128;  // samples · count may exceed 64 bits
    const auto at = [&](std::uint64_t k) {
        return static_cast<std::uint64_t>(UInt128{samples} * k / count);
    };
    return {at(index), at(index + 1)};
}

namespace {

// The parameter sets of the rows of `block` (its firstRow set, its vectors sized), into
// block.parameters and as the engine's columns.
engine::CanopyBatch BlockSets(const TableSpec& spec, TableRows& block)
{
    engine::CanopyBatch batch;
    batch.Reserve(block.Count());
    for (std::size_t at = 0; at < block.Count(); ++at) {
        const ParameterValues values = SampleValues(spec, block.firstRow + at);
        std::copy(values.begin(), values.end(),
                  block.parameters.begin() + static_cast<std::ptrdiff_t>(at * kParameterCount));
        const auto value = [&values](Parameter p) { return values[static_cast<std::size_t>(p)]; };
        batch.Append(LeafOf(spec.leafModel, values), value(Parameter::Lai), value(Parameter::Sun),
                     value(Parameter::View), value(Parameter::Azimuth), value(Parameter::HotSpot));
    }
    return batch;
}

// The broadband products of each row of `block` from the engine's fluxes, each checked finite
// (the one number formatter would refuse it at the write, after hours of work).
void StoreProducts(const TableSpec& spec, const engine::CanopyFluxesBatch& fluxes, TableRows& block)
{
    for (std::size_t at = 0; at < block.Count(); ++at) {
        const ProductValues values = ProductsOf(fluxes.scalars[at]);
        for (std::size_t q = 0; q < values.size(); ++q) {
            if (std::isfinite(values[q])) {
                block.products[at * kProductCount + q] = values[q];
                continue;
            }
            const std::uint64_t row = block.firstRow + at;
            throw Error("The simulation of row " + std::to_string(row) + " ("
                        + DescribeValues(spec.leafModel, SampleValues(spec, row)) + ") failed: its "
                        + std::string(kProductNames[q]) + " is not a finite number.");
        }
    }
}

// Computes the rows of `block` through the engine on options.threads workers; meanwhile this
// thread runs `meanwhile` (the write of the previous block: the HDF5 library is called from
// one thread only).
void ComputeBlock(const TableSpec& spec, const engine::CanopyScene& scene,
                  const RunOptions& options, std::uint64_t doneBefore, TableRows& block,
                  const std::function<void()>& meanwhile)
{
    const engine::CanopyBatch batch = BlockSets(spec, block);
    engine::RunOptions run;
    run.threads = std::max(1, options.threads);
    run.cancel = options.cancel;
    if (options.progress) {
        run.progress = [&](std::size_t done) { options.progress(doneBefore + done); };
    }
    run.meanwhile = meanwhile;
    // With products the fluxes' run gives the reflectances too: one run either way.
    engine::CanopySpectraBatch spectra;
    engine::CanopyFluxesBatch fluxes;
    try {
        if (spec.products) {
            fluxes = engine::ComputeCanopyFluxesBatch(scene, batch, run);
        } else {
            spectra = engine::ComputeCanopySpectra(scene, batch, run);
        }
    } catch (const engine::Cancelled&) {
        throw Error("The run was interrupted; no table was written.");
    }
    const std::vector<std::string>& errors = spec.products ? fluxes.error : spectra.error;
    if (const std::optional<std::size_t> failed = engine::FirstFailure(errors)) {
        const std::uint64_t row = block.firstRow + *failed;
        throw Error("The simulation of row " + std::to_string(row) + " ("
                    + DescribeValues(spec.leafModel, SampleValues(spec, row))
                    + ") failed: " + errors[*failed]);
    }
    if (spec.products) StoreProducts(spec, fluxes, block);
    const engine::Values& refl = spec.products ? fluxes.refl : spectra.refl;
    // Each row held to what the canopy run accepts, then stored in single precision: each
    // value rounded once.
    for (std::size_t at = 0; at < block.Count(); ++at) {
        spectral::Spectrum reflectance;
        const auto first =
            refl.begin() + static_cast<std::ptrdiff_t>(at * spectral::kWavelengthCount);
        std::copy(first, first + spectral::kWavelengthCount, reflectance.begin());
        try {
            KeepPhysicalRow(reflectance);
        } catch (const Error& error) {
            const std::uint64_t row = block.firstRow + at;
            throw Error("The simulation of row " + std::to_string(row) + " ("
                        + DescribeValues(spec.leafModel, SampleValues(spec, row))
                        + ") failed: " + error.what());
        }
        std::transform(reflectance.begin(), reflectance.end(),
                       block.reflectance.begin()
                           + static_cast<std::ptrdiff_t>(at * spectral::kWavelengthCount),
                       [](double value) { return static_cast<float>(value); });
    }
}

}  // namespace

void ComputeRows(const TableSpec& spec, const RunOptions& options, TableWriter& writer)
{
    const engine::CanopyScene scene =
        engine::SceneOf(spec.leafArchitecture, spec.soil, spec.visibility, spec.skyMix);
    // Two blocks: this thread writes one while the workers compute the next.
    std::array<TableRows, 2> blocks;
    TableRows* written = nullptr;
    std::size_t current = 0;
    for (std::uint64_t first = options.rows.first; first < options.rows.end; first += kBlockRows) {
        const std::uint64_t end = std::min(first + kBlockRows, options.rows.end);
        TableRows& block = blocks[current];
        block.firstRow = first;
        block.parameters.assign((end - first) * kParameterCount, 0.0);
        block.reflectance.assign((end - first) * spectral::kWavelengthCount, 0.0f);
        block.products.assign(spec.products ? (end - first) * kProductCount : 0, 0.0);
        std::function<void()> meanwhile;
        if (written) meanwhile = [&writer, written] { writer.Append(*written); };
        ComputeBlock(spec, scene, options, first - options.rows.first, block, meanwhile);
        written = &block;
        current = 1 - current;
    }
    if (written) writer.Append(*written);
}

void WriteTable(const std::filesystem::path& file, const TableSpec& spec, const RunOptions& options)
{
    const std::unique_ptr<TableWriter> writer =
        OpenTableWriter(file, {spec, options.rows.first, options.rows.end - options.rows.first});
    ComputeRows(spec, options, *writer);
    writer->Commit();
}

}  // namespace tulmera::lut
