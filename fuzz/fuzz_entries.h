#pragma once
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The entry functions of the fuzz targets, shared by the libFuzzer executables and by the
// regression test that replays every input a fuzzer ever crashed on. Each takes arbitrary bytes
// and returns normally when the code under test handled them: with a result, or with the
// tulmera::Error its contract allows. A broken property throws FuzzFailure; any other exception
// escaping, a crash or a sanitizer report is a finding as well.
namespace tulmera::fuzz {

// A property of the code under test that an input broke; what() says which and how.
class FuzzFailure : public std::logic_error {
public:
    explicit FuzzFailure(const std::string& what) : std::logic_error(what) {}
};

// The number text: ParseNumberText on the bytes; a value it accepts is finite, and its number
// text (15 and 7 digits) parses back to a value that writes the same text again.
void FuzzNumberText(std::string_view bytes);

// The result files: a leaf spectrum file ("VP.dat"), a canopy spectrum file ("VS.dat"), a sweep
// curve file ("MVPaint.dat") or a sweep file ("MVP.dat"), made from the bytes (the first chooses
// the reader; the rest are edits of a valid file of its kind, or the file itself) and read by
// one of the real readers: the field reader in the file's shape, the canopy run's leaf reader,
// the chart procedures (recorded; each coordinate must be finite) and the export readers. Writes
// working files in the current directory, which must be a scratch directory, without flushing.
void FuzzResultFiles(std::string_view bytes);

// The raster surface the charts are drawn on, fed drawing operations decoded from the bytes
// (a chart scale and pixel scale, then up to 16 operations with coordinates on, around and
// far off the chart, infinite or not a number): every pixel it sets lies in its image, which
// keeps its size. Reaches every coordinate a chart procedure can give a damaged result file.
void FuzzChartRaster(std::string_view bytes);

// The batch runner's command line: the bytes split at NUL bytes into arguments, parsed and
// prepared (batch::PrepareBatch), never run.
void FuzzBatchArguments(std::string_view bytes);

// The canopy run fed the bytes as "VP.dat": canopy::RunSailh for a few canopies in the current
// directory, which must be a scratch directory. A run either writes a complete, readable
// "VS.dat" and finite results, or fails with "VS.dat" and its state as they were.
void FuzzCanopyRun(std::string_view bytes);

// The measured-spectrum reader (measured::ParseMeasuredText, in memory) on the bytes, in each
// value scale: it refuses them, or gives finite, strictly increasing wavelengths and columns of
// their length whose values lie in -0.05 .. 1.05.
void FuzzMeasuredReader(std::string_view bytes);

// The session reader (session::ReadSession) on the bytes: it refuses them, or gives a session
// whose file (SessionText) reads back equal.
void FuzzSessionReader(std::string_view bytes);

// The shard readers of lut-merge on the bytes, in memory: the CSV table reader, on the bytes
// and again without their digest line (as an older table), and the HDF5 table reader on the
// bytes as a file image. Each refuses them naming the file, or gives a table whose rows fill
// its columns within its samples, hold numbers only and match the digest it carries; the
// merge's check of the rows against their seed then passes or names the file.
void FuzzCsvTableReader(std::string_view bytes);
void FuzzHdf5TableReader(std::string_view bytes);

// A fuzz target: its name (the folder of its corpus and of its regressions, and the executable
// "fuzz_<name>") and its entry function.
struct FuzzTarget {
    std::string_view name;
    void (*entry)(std::string_view bytes);
};

// Every fuzz target.
const std::vector<FuzzTarget>& FuzzTargets();

}  // namespace tulmera::fuzz
