#include "fuzz/fuzz_entries.h"

namespace tulmera::fuzz {

const std::vector<FuzzTarget>& FuzzTargets()
{
    static const std::vector<FuzzTarget> targets = {
        {"number_text", FuzzNumberText},          {"result_files", FuzzResultFiles},
        {"batch_arguments", FuzzBatchArguments},  {"canopy_run", FuzzCanopyRun},
        {"measured_reader", FuzzMeasuredReader},  {"session_reader", FuzzSessionReader},
        {"csv_table_reader", FuzzCsvTableReader}, {"hdf5_table_reader", FuzzHdf5TableReader},
        {"chart_raster", FuzzChartRaster},
    };
    return targets;
}

}  // namespace tulmera::fuzz
