// The leaf fit: one fit of R and T over the whole grid, and fit-leaf over 300 spectra.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "batch/batch_runner.h"
#include "bench_work_dir.h"
#include "fit/fit_problem.h"
#include "fit/leaf_fit.h"
#include "spectral/grid.h"
#include "textio/number_text.h"
#include "textio/text_file.h"
#include "tools/synthetic_spectra.h"

namespace {

using namespace tulmera;

// A leaf of average composition with measurement noise, as a lab spectrometer gives it.
fit::LeafFitTarget NoisyLeaf(const leaf::LeafParameters& p, std::uint32_t seed)
{
    tools::NormalNoise noise(seed);
    const tools::SyntheticLeaf leaf = tools::MakeSyntheticLeaf(p, 0.005, noise);
    return {leaf.reflectance, leaf.transmittance};
}

void FitOnce(benchmark::State& state, bool subdomains)
{
    const fit::LeafFitTarget target = NoisyLeaf({1.8, 45.0, 0.012, 0.006}, 7);
    int evaluations = 0;
    for (auto _ : state) {
        const std::optional<fit::LeafFitResult> result =
            fit::FitLeaf(target, {subdomains, nullptr});
        if (!result) throw std::logic_error("the fit was not cancelled");
        evaluations = result->evaluations;
        benchmark::DoNotOptimize(result->parameters);
    }
    state.counters["evaluations"] = evaluations;
}

void BM_LeafFitFullRange(benchmark::State& state) { FitOnce(state, false); }
BENCHMARK(BM_LeafFitFullRange)->Unit(benchmark::kMillisecond);

void BM_LeafFitSubdomains(benchmark::State& state) { FitOnce(state, true); }
BENCHMARK(BM_LeafFitSubdomains)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {
void BM_LeafFitEvaluation(benchmark::State& state)
{
    tulmera::tools::NormalNoise noise(7);
    const auto leaf = tulmera::tools::MakeSyntheticLeaf({1.8, 45.0, 0.012, 0.006}, 0.005, noise);
    const tulmera::fit::LeafResiduals residuals(&leaf.reflectance, &leaf.transmittance, 400, 2500);
    for (auto _ : state) {
        benchmark::DoNotOptimize(residuals.SumOfSquares({1.8, 45.0, 0.012, 0.006}));
    }
}
BENCHMARK(BM_LeafFitEvaluation);
}  // namespace

namespace {

// "R.csv" and "T.csv" of `leaves`, one column each.
void WriteLeafFiles(const std::vector<tulmera::tools::SyntheticLeaf>& leaves)
{
    for (const bool transmittance : {false, true}) {
        std::string text = "nm";
        for (std::size_t i = 0; i < leaves.size(); ++i) text += ",leaf" + std::to_string(i + 1);
        text += "\n";
        for (std::size_t w = 0; w < tulmera::spectral::kWavelengthCount; ++w) {
            text += std::to_string(tulmera::spectral::WavelengthNm(static_cast<int>(w)));
            for (const auto& leaf : leaves) {
                text += ','
                        + tulmera::textio::NumberText(
                            *(transmittance ? leaf.transmittance : leaf.reflectance)[w], 6);
            }
            text += "\n";
        }
        tulmera::textio::ReplaceTextFile(transmittance ? "T.csv" : "R.csv", text);
    }
}

// `count` leaves spread over the box, with noise.
std::vector<tulmera::tools::SyntheticLeaf> SpreadLeaves(int count)
{
    tulmera::tools::NormalNoise noise(11);
    std::vector<tulmera::tools::SyntheticLeaf> leaves;
    for (int i = 0; i < count; ++i) {
        const double f = (i + 0.5) / count;
        leaves.push_back(tulmera::tools::MakeSyntheticLeaf(
            {1.0 + 3.0 * f, 150.0 * (1.0 - f), 0.001 + 0.05 * f * f, 0.002 + 0.02 * (1.0 - f)},
            0.005, noise));
    }
    return leaves;
}

// The whole command, reading both files, fitting on all cores, printing the CSV (discarded).
void BM_FitLeafCommandSubdomains300(benchmark::State& state)
{
    BenchWorkDir dir;
    WriteLeafFiles(SpreadLeaves(300));
    std::ostringstream sink;
    std::streambuf* const stdoutBuffer = std::cout.rdbuf(sink.rdbuf());
    for (auto _ : state) {
        sink.str("");
        const int status = tulmera::batch::RunBatch(
            {"fit-leaf", "--reflectance", "R.csv", "--transmittance", "T.csv", "--subdomains"},
            std::cerr, std::cerr);
        if (status != 0) state.SkipWithError("fit-leaf failed");
    }
    std::cout.rdbuf(stdoutBuffer);
}
BENCHMARK(BM_FitLeafCommandSubdomains300)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

namespace {

using tulmera::leaf::LeafModel;

// One PROSPECT-D fit of a fresh leaf with noise, whole spectrum then the subdomains.
void BM_ProspectDFitSubdomains(benchmark::State& state)
{
    tulmera::tools::NormalNoise noise(17);
    const auto p = tulmera::tools::DrawFreshLeaf(LeafModel::ProspectD, noise);
    const auto leaf = tulmera::tools::MakeSyntheticLeaf(p, 0.005, noise);
    tulmera::fit::LeafFitOptions options;
    options.subdomains = true;
    options.model = LeafModel::ProspectD;
    int evaluations = 0;
    for (auto _ : state) {
        const auto result = tulmera::fit::FitLeaf({leaf.reflectance, leaf.transmittance}, options);
        if (!result) throw std::logic_error("the fit was not cancelled");
        evaluations = result->evaluations;
        benchmark::DoNotOptimize(result->parameters);
    }
    state.counters["evaluations"] = evaluations;
}
BENCHMARK(BM_ProspectDFitSubdomains)->Unit(benchmark::kMillisecond);

// fit-leaf --leaf-model prospect-d --subdomains over 308 fresh leaves (the size of the
// database the model's authors validate it on), on every core.
void BM_FitLeafCommandProspectD308(benchmark::State& state)
{
    BenchWorkDir dir;
    constexpr int kCount = 308;
    tulmera::tools::NormalNoise noise(23);
    std::vector<tulmera::tools::SyntheticLeaf> leaves;
    for (int i = 0; i < kCount; ++i) {
        leaves.push_back(tulmera::tools::MakeSyntheticLeaf(
            tulmera::tools::DrawFreshLeaf(LeafModel::ProspectD, noise), 0.005, noise));
    }
    WriteLeafFiles(leaves);
    std::ostringstream sink;
    std::streambuf* const stdoutBuffer = std::cout.rdbuf(sink.rdbuf());
    for (auto _ : state) {
        sink.str("");
        const int status =
            tulmera::batch::RunBatch({"fit-leaf", "--leaf-model", "prospect-d", "--reflectance",
                                      "R.csv", "--transmittance", "T.csv", "--subdomains"},
                                     std::cerr, std::cerr);
        if (status != 0) state.SkipWithError("fit-leaf failed");
    }
    std::cout.rdbuf(stdoutBuffer);
}
BENCHMARK(BM_FitLeafCommandProspectD308)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
