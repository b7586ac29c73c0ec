// tulmera-batch: the models without windows, for scripting, teaching material and tests.
#include <iostream>
#include <string_view>
#include <vector>

#include "batch/batch_runner.h"
#include "batch/stop_signals.h"

int main(int argc, char** argv)
{
    tulmera::batch::HandleStopSignals();
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const int exitCode = tulmera::batch::RunBatch(arguments, std::cout, std::cerr);
    tulmera::batch::LetAStopUnderWayFinish();
    return exitCode;
}
