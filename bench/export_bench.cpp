#include <benchmark/benchmark.h>

#include "bench_work_dir.h"
#include "export/main_export.h"
#include "export/sweep_export.h"
#include "export/synthetic_sweep.h"
#include "export/xlsx_writer.h"
#include "leaf/leaf_run.h"
#include "textio/text_file.h"
#include "textio/working_files.h"

namespace {

namespace exports = tulmera::exports;

// The longest sweep (77 values, 32802 rows, 97636 cells): "MVP.dat" read and checked, the
// workbook built and written as an .xlsx file. Target: 0.5 s.
void BM_SweepWorkbookOf77Values(benchmark::State& state)
{
    BenchWorkDir dir;
    tulmera::textio::ReplaceTextFile(tulmera::kSweepFile, tulmera::testing::SyntheticSweepText(77));
    for (auto _ : state) exports::WriteWorkbook(exports::SweepWorkbook(77), "sweep.xlsx");
}
BENCHMARK(BM_SweepWorkbookOf77Values)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The main window's export (1701 cells) written as an .xlsx file.
void BM_MainWorkbook(benchmark::State& state)
{
    BenchWorkDir dir;
    tulmera::leaf::RunProspect(tulmera::leaf::kStartLeafParameters);
    std::string canopy;  // any canopy spectrum will do
    for (int i = 0; i < 421; ++i) canopy += std::to_string(400 + 5 * i) + ",0.05\r\n";
    tulmera::textio::ReplaceTextFile(tulmera::kCanopySpectrumFile, canopy);
    const exports::MainExportHeader header{
        tulmera::leaf::kStartLeafParameters, 0.1, 0, 0, "Planofilo", "S1", "0", "0"};
    for (auto _ : state) exports::WriteWorkbook(exports::MainWindowWorkbook(header), "main.xlsx");
}
BENCHMARK(BM_MainWorkbook)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace
