#pragma once
#include "batch/batch_command.h"
#include "gsa/gsa_run.h"

namespace tulmera::batch {

// What `gsa` reads from its command line, checked.
struct GsaRequest {
    gsa::GsaSpec spec;
    gsa::BaseRows rows;  // all base rows, or those of the shard asked for
    bool sharded = false;
    int threads = 1;
    bool quiet = false;
    std::string out;
};

// Reads and checks `gsa`'s options. Throws UsageError naming the option for: a missing
// --samples or --out; --samples not a power of two, below 2 or beyond what memory holds; a
// range that is malformed, reversed or outside the model's domain (also for held values);
// fewer than two varied parameters; an unknown --quantity; a bad --bootstrap, --seed,
// --shard or --threads; an --out that is not .csv or .h5 (.csv with --shard); a --range
// of a parameter the --leaf-model does not read.
GsaRequest GsaRequestFrom(const BatchArguments& arguments);

// `gsa`: the Sobol indices of the model's outputs over the --range parameters.
BatchCommand GsaCommand();

// `gsa-merge OUT SHARD...`: the indices of the shards of one analysis, as one run.
BatchCommand GsaMergeCommand();

}  // namespace tulmera::batch
