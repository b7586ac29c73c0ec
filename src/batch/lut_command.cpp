#include "batch/lut_command.h"

#include <sys/statvfs.h>
#include <unistd.h>

#include <cmath>
#include <iostream>
#include <limits>

#include "batch/canopy_command.h"
#include "batch/leaf_command.h"
#include "batch/table_options.h"
#include "lut/progress_bar.h"
#include "parallel/parallel_for.h"
#include "textio/error.h"
#include "textio/number_text.h"
#include "textio/text_file.h"

namespace tulmera::batch {
namespace {

lut::Sampling SamplingFrom(const BatchArguments& arguments)
{
    const std::string text = arguments.Text("--sampling", "lhs");
    if (text == "lhs") return lut::Sampling::LatinHypercube;
    if (text == "uniform") return lut::Sampling::Uniform;
    throw UsageError("--sampling: \"" + Shown(text) + "\" is not a sampling; use lhs or uniform.");
}

std::string OutFrom(const std::string& out)
{
    if (!lut::FormatOf(out)) {
        throw UsageError("\"" + out + "\": a table is written as FILE.h5 (HDF5) or FILE.csv.");
    }
    return out;
}

}  // namespace

LutRequest LutRequestFrom(const BatchArguments& arguments)
{
    LutRequest request;
    const leaf::LeafParameters leaf = LeafParametersFrom(arguments);
    request.spec = lut::HeldSpec(leaf, CanopyInputsFrom(arguments));
    lut::TableSpec& spec = request.spec;
    if (!arguments.Has("--samples")) throw UsageError("lut needs --samples N (the table's rows).");
    spec.samples = static_cast<std::uint64_t>(
        arguments.WholeNumber("--samples", 1, 1, std::numeric_limits<int>::max()));
    spec.seed = static_cast<std::uint64_t>(
        WholeValue(arguments.Text("--seed", "0"), 0, kLargestSeed,
                   "--seed must be a whole number from 0 to 999999999999999."));
    spec.sampling = SamplingFrom(arguments);
    spec.products = arguments.Has("--products");
    for (const std::string& range : arguments.Values("--range")) ReadRange(range, arguments, spec);
    for (const lut::Parameter column : lut::TableColumns(spec.leafModel)) {
        const auto p = static_cast<std::size_t>(column);
        if (const auto problem = lut::RangeProblem(column, spec.ranges[p])) {
            throw UsageError(*problem);
        }
    }
    request.rows = ShardFrom(arguments, spec.samples);
    request.threads = ThreadsFrom(arguments);
    request.quiet = arguments.Has("--quiet");
    if (!arguments.Has("--out")) throw UsageError("lut needs --out FILE (.h5 or .csv).");
    request.out = OutFrom(arguments.Text("--out", ""));
    const std::uint64_t rows = request.rows.end - request.rows.first;
    if (lut::FormatOf(request.out) == lut::TableFormat::Csv && rows > lut::kMostCsvTableRows) {
        throw UsageError("--out: a CSV table of " + std::to_string(rows)
                         + " rows could not be read back (CSV tables have at most "
                         + std::to_string(lut::kMostCsvTableRows) + "); write FILE.h5.");
    }
    return request;
}

namespace {

// Refuses a table that cannot fit on the disk before hours are spent computing it.
void CheckRoomFor(const LutRequest& request)
{
    const std::uint64_t rows = request.rows.end - request.rows.first;
    // Products take 8 bytes each in HDF5, and at least a digit and a comma each in CSV.
    const std::uint64_t products = request.spec.products ? lut::kProductCount : 0;
    const std::uint64_t perRow =
        lut::FormatOf(request.out) == lut::TableFormat::Csv
            ? lut::kLeastCsvBytesPerRow + 2 * products
            : lut::Hdf5BytesPerRow(request.spec.leafModel) + sizeof(double) * products;
    struct statvfs disk {};
    if (::statvfs(textio::DirectoryOf(request.out).c_str(), &disk) != 0) return;  // the write says
    const std::uint64_t free = static_cast<std::uint64_t>(disk.f_bavail) * disk.f_frsize;
    if (rows * perRow > free) {
        throw Error("The table \"" + request.out + "\" needs at least "
                    + std::to_string(rows * perRow / 1000000 + 1) + " MB, but its folder has "
                    + std::to_string(free / 1000000) + " MB free.");
    }
}

}  // namespace

BatchCommand LutCommand()
{
    std::vector<OptionInfo> options = {
        {"--samples", "N", "rows of the table, at least 1 (required)"},
        {"--seed", "S", "seed of the samples, 0 to 999999999999999 (default 0)"},
        {"--range", "P=lo:hi",
         "vary P over lo..hi: N Cab Cw Cm LAI sun view azimuth hotspot, and the leaf model's "
         "Car Anth Cbrown (Prot CBC in place of Cm for prospect-pro); repeatable",
         OptionKind::Repeated},
        {"--sampling", "KIND", "lhs: Latin hypercube (default); uniform: independent draws"},
        {"--threads", "T", "worker threads (default: every core)"},
        {"--shard", "k/n", "compute only shard k (0 .. n-1) of n contiguous parts"},
        {"--out", "FILE", "the table: FILE.h5 (HDF5) or FILE.csv (required)"},
        {"--quiet", "", "no progress bar (there is none when stderr is not a terminal)",
         OptionKind::Flag},
        {"--products", "",
         "also store fAPAR, fCover and the PAR, NIR and shortwave albedos of each row",
         OptionKind::Flag},
    };
    for (const std::vector<OptionInfo>& more : {LeafOptions(), CanopyOptions()}) {
        options.insert(options.end(), more.begin(), more.end());
    }
    return {
        "lut",
        "A look-up table: --samples leaf + canopy simulations over the --range\n"
        "parameters (the others held at their option or default values), computed\n"
        "in memory on every core and written to --out. The samples depend only on\n"
        "the seed and the number of samples, not on threads or shards. On a\n"
        "terminal a progress bar shows the rate and the time left. The table records\n"
        "a --sky-mix physical in its settings, and so a --leaf-model other than\n"
        "classic, whose parameters are then the table's columns (a prospect-pro table\n"
        "has Prot and CBC, not Cm). With --products each row also holds the canopy's\n"
        "fAPAR, fCover and albedos (HDF5 dataset \"products\", CSV columns after 2500),\n"
        "for fit-canopy to report; it takes about twice as long.",
        options,
        [](const BatchArguments& arguments) -> BatchWork {
            const LutRequest request = LutRequestFrom(arguments);
            auto work = [request] {
                CheckRoomFor(request);
                const bool progress = !request.quiet && ::isatty(STDERR_FILENO) == 1;
                lut::ProgressBar bar(std::cerr, request.rows.end - request.rows.first, progress);
                // A stop signal ends the process (stop_signals.h): nothing to cancel here.
                lut::RunOptions run{request.rows, request.threads, nullptr,
                                    [&bar](std::uint64_t done) { bar.Update(done); }};
                try {
                    lut::WriteTable(request.out, request.spec, run);
                } catch (...) {
                    if (progress) std::cerr << '\n';
                    throw;
                }
                bar.Finish();
            };
            // In memory: the working files are neither read nor written.
            return {work, {request.out}, false};
        },
    };
}

BatchCommand LutMergeCommand()
{
    return {
        "lut-merge",
        "Joins the shards of one look-up table (written by lut --shard k/n, in any\n"
        "order) into OUT, the same table as one run without --shard.",
        {{"OUT", "SHARD...", "the joined table (.h5 or .csv), then the shard files",
          OptionKind::Positional}},
        [](const BatchArguments& arguments) -> BatchWork {
            const std::vector<std::string>& files = arguments.Positionals();
            if (files.size() < 2) throw UsageError("lut-merge needs OUT and at least one SHARD.");
            const std::string out = OutFrom(files.front());
            const std::vector<std::filesystem::path> shards(files.begin() + 1, files.end());
            for (const std::filesystem::path& shard : shards) {
                std::error_code shardError, outError, ignored;
                const auto shardPath = std::filesystem::weakly_canonical(shard, shardError);
                const auto outPath = std::filesystem::weakly_canonical(out, outError);
                if ((!shardError && !outError && shardPath == outPath)
                    || std::filesystem::equivalent(shard, out, ignored)) {
                    throw UsageError("lut-merge: the output \"" + out
                                     + "\" is also a shard; write the table elsewhere.");
                }
            }
            return {[out, shards] { lut::MergeShards(out, shards); }, {out}, false};
        },
    };
}

}  // namespace tulmera::batch
