#include "lut/lut_fit.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numeric>
#include <string>

#include "lut/table_run.h"
#include "parallel/parallel_for.h"
#include "textio/error.h"

namespace tulmera::lut {
namespace {

// The RMSE in percent of one stored row, with measured::RmsePercent's arithmetic.
double RowRmsePercent(const float* row, const measured::ComparedPoints& compared)
{
    double sum = 0.0;
    const std::size_t count = compared.index.size();
    for (std::size_t k = 0; k < count; ++k) {
        const double difference =
            (static_cast<double>(row[compared.index[k]]) - compared.value[k]) * 100.0;
        sum += difference * difference;
    }
    return std::sqrt(sum / static_cast<double>(count));
}

// The RMSE of every row, chunks of rows on `threads` threads. Each row's value is computed
// alone, so the chunking changes nothing. Returns the lowest row whose RMSE is not finite, if
// any.
std::optional<std::size_t> ScanRows(const TableRows& rows, const measured::ComparedPoints& compared,
                                    int threads, std::vector<double>& rmse)
{
    const std::size_t count = rows.Count();
    rmse.assign(count, 0.0);
    parallel::LoopOptions loop;
    loop.threads = threads;
    loop.grain = 4096;
    parallel::ParallelFor(count, loop, [&](std::size_t begin, std::size_t end) {
        for (std::size_t r = begin; r < end; ++r) {
            rmse[r] =
                RowRmsePercent(rows.reflectance.data() + r * spectral::kWavelengthCount, compared);
        }
    });
    const auto bad =
        std::find_if(rmse.begin(), rmse.end(), [](double v) { return !std::isfinite(v); });
    if (bad == rmse.end()) return std::nullopt;
    return static_cast<std::size_t>(bad - rmse.begin());
}

// Mean and sample standard deviation of `value` over the best rows, in rank order, summed as
// differences from the best row's value (the shifted-data algorithm): a value the table holds
// comes out as exactly itself with a standard deviation of exactly 0. No deviation for one row.
template <typename Value>
void MeanAndSd(const std::vector<std::uint64_t>& bestRows, const Value& value, double& mean,
               std::optional<double>& sd)
{
    const auto k = static_cast<double>(bestRows.size());
    const double shift = value(bestRows.front());
    double sum = 0.0;
    for (const std::uint64_t row : bestRows) sum += value(row) - shift;
    mean = shift + sum / k;
    if (bestRows.size() < 2) return;
    double squares = 0.0;
    for (const std::uint64_t row : bestRows) {
        const double deviation = value(row) - mean;
        squares += deviation * deviation;
    }
    sd = std::sqrt(squares / (k - 1.0));
}

// The parameters' (and the products', when the table holds them) means and deviations.
void Summarise(const TableRows& rows, CanopyFitResult& result)
{
    for (std::size_t p = 0; p < kParameterCount; ++p) {
        const auto value = [&](std::uint64_t row) {
            return rows.parameters[static_cast<std::size_t>(row) * kParameterCount + p];
        };
        MeanAndSd(result.bestRows, value, result.mean[p], result.sd[p]);
    }
    result.hasProducts = !rows.products.empty();
    if (!result.hasProducts) return;
    for (std::size_t q = 0; q < kProductCount; ++q) {
        const auto value = [&](std::uint64_t row) {
            return rows.products[static_cast<std::size_t>(row) * kProductCount + q];
        };
        MeanAndSd(result.bestRows, value, result.productMean[q], result.productSd[q]);
    }
}

// Keeps the rows in memory.
class MemoryWriter : public TableWriter {
public:
    void Append(const TableRows& rows) override
    {
        rows_.parameters.insert(rows_.parameters.end(), rows.parameters.begin(),
                                rows.parameters.end());
        rows_.reflectance.insert(rows_.reflectance.end(), rows.reflectance.begin(),
                                 rows.reflectance.end());
        rows_.products.insert(rows_.products.end(), rows.products.begin(), rows.products.end());
    }
    void Commit() override {}
    TableRows Take() { return std::move(rows_); }

private:
    TableRows rows_;
};

}  // namespace

TableSpec WithFitRanges(TableSpec spec)
{
    const auto set = [&](Parameter p, double lo, double hi) {
        spec.ranges[static_cast<std::size_t>(p)] = {lo, hi, true};
    };
    set(Parameter::N, 1, 2.5);
    set(Parameter::Cab, 5, 90);
    set(Parameter::Cw, 0.001, 0.05);
    // PROSPECT-PRO reads the dry matter as its carbon-based constituents (its proteins held).
    set(spec.leafModel == leaf::LeafModel::ProspectPro ? Parameter::CBC : Parameter::Cm, 0.002,
        0.02);
    set(Parameter::Lai, 0.1, 8);
    return spec;
}

TableRows ComputeTableRows(const TableSpec& spec, int threads, const std::atomic<bool>* cancel,
                           std::function<void(std::uint64_t done)> progress)
{
    MemoryWriter writer;
    ComputeRows(spec, {{0, spec.samples}, threads, cancel, std::move(progress)}, writer);
    return writer.Take();
}

CanopyFitResult FitCanopy(const TableRows& rows, const measured::GridValues& measured,
                          const CanopyFitOptions& options)
{
    const std::size_t count = rows.Count();
    assert(options.best >= 1 && static_cast<std::size_t>(options.best) <= count);
    assert(options.threads >= 1);
    const measured::ComparedPoints compared =
        measured::PointsCompared(measured, options.leaveOutWaterBands);
    if (compared.index.size() < static_cast<std::size_t>(measured::kMinGridPoints)) {
        throw Error("The spectrum shares " + std::to_string(compared.index.size())
                    + " wavelengths with the table (400 to 2500 nm every 5 nm"
                    + (options.leaveOutWaterBands ? ", water bands left out" : "") + "); at least "
                    + std::to_string(measured::kMinGridPoints) + " are needed.");
    }
    std::vector<double> rmse;
    const int threads =
        static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(options.threads), count));
    if (const std::optional<std::size_t> bad = ScanRows(rows, compared, threads, rmse)) {
        throw Error("Row " + std::to_string(rows.firstRow + *bad)
                    + " of the table holds a reflectance that is not a number.");
    }
    std::vector<std::uint64_t> order(count);
    std::iota(order.begin(), order.end(), std::uint64_t{0});
    const auto best = static_cast<std::ptrdiff_t>(options.best);
    std::partial_sort(order.begin(), order.begin() + best, order.end(),
                      [&](std::uint64_t a, std::uint64_t b) {
                          return rmse[a] < rmse[b] || (rmse[a] == rmse[b] && a < b);
                      });
    CanopyFitResult result;
    result.bestRows.assign(order.begin(), order.begin() + best);
    for (const std::uint64_t row : result.bestRows) result.bestRmsePercent.push_back(rmse[row]);
    result.wavelengthsCompared = static_cast<int>(compared.index.size());
    Summarise(rows, result);
    return result;
}

}  // namespace tulmera::lut
