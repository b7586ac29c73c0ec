#pragma once
#include "batch/batch_command.h"
#include "lut/table_run.h"

namespace tulmera::batch {

// What `lut` reads from its command line, checked.
struct LutRequest {
    lut::TableSpec spec;
    lut::RowRange rows;  // all rows, or those of the shard asked for
    int threads = 1;
    bool quiet = false;
    std::string out;
};

// Reads and checks `lut`'s options. Throws UsageError for a missing --samples or --out, a
// range that is malformed, reversed or outside the model's domain (also for held values), a
// parameter given both as a range and as a held value, a bad --shard, --sampling or --threads,
// an --out that is neither .h5 nor .csv, a --sky-mix other than classic or physical.
LutRequest LutRequestFrom(const BatchArguments& arguments);

// `lut`: a look-up table of leaf + canopy simulations in memory, on every core.
BatchCommand LutCommand();

// `lut-merge OUT SHARD...`: joins the shards of one table.
BatchCommand LutMergeCommand();

}  // namespace tulmera::batch
