#include "app/batch/batch_options.h"

#include <algorithm>
#include <functional>

#include "textio/number_text.h"

namespace tulmera::batch {
namespace {

struct OptionSpec {
    std::string_view name;
    std::function<void(BatchOptions&, std::string_view)> apply;  // receives the option's value
};

double NumberValue(std::string_view option, std::string_view value)
{
    const std::optional<double> number = textio::ParseNumberText(value);
    if (!number) {
        throw UsageError(std::string(option) + ": \"" + std::string(value)
                         + "\" is not a number (use a point as decimal separator).");
    }
    return *number;
}

const std::vector<OptionSpec>& LeafOptions()
{
    static const std::vector<OptionSpec> options = {
        {"-C", [](BatchOptions& o, std::string_view v) { o.directory = std::string(v); }},
        {"--N", [](BatchOptions& o, std::string_view v) { o.leaf.N = NumberValue("--N", v); }},
        {"--Cab",
         [](BatchOptions& o, std::string_view v) { o.leaf.Cab = NumberValue("--Cab", v); }},
        {"--Cw", [](BatchOptions& o, std::string_view v) { o.leaf.Cw = NumberValue("--Cw", v); }},
        {"--Cm", [](BatchOptions& o, std::string_view v) { o.leaf.Cm = NumberValue("--Cm", v); }},
    };
    return options;
}

BatchCommand CommandNamed(std::string_view name)
{
    if (name == "leaf") return BatchCommand::Leaf;
    if (name == "--help" || name == "-h" || name == "help") return BatchCommand::Help;
    throw UsageError("Unknown command \"" + std::string(name) + "\"; try --help.");
}

}  // namespace

BatchOptions ParseBatchArguments(const std::vector<std::string_view>& arguments)
{
    BatchOptions options;
    if (arguments.empty()) throw UsageError("No command given; try --help.");
    options.command = CommandNamed(arguments.front());
    if (options.command == BatchCommand::Help) return options;

    const std::vector<OptionSpec>& specs = LeafOptions();
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.command = BatchCommand::Help;
            return options;
        }
        const auto spec = std::find_if(specs.begin(), specs.end(),
                                       [&](const OptionSpec& s) { return s.name == argument; });
        if (spec == specs.end()) {
            throw UsageError("Unknown option \"" + std::string(argument) + "\"; try --help.");
        }
        if (i + 1 >= arguments.size()) {
            throw UsageError(std::string(argument) + " needs a value; try --help.");
        }
        spec->apply(options, arguments[++i]);
    }
    return options;
}

std::string BatchHelpText()
{
    return R"(Usage: tulmera-batch COMMAND [OPTIONS]

Runs Tulmera's models without windows and writes the same result files as the program,
in the working directory (or in DIR with -C).

Commands:
  leaf      Leaf run: computes the leaf reflectance and transmittance (400 .. 2500 nm,
            every 5 nm) and writes "VP.dat".
  --help    Shows this text.

Leaf options (defaults: the main window's start values):
  --N v     leaf structure parameter, greater than 0        (default 1)
  --Cab v   chlorophyll a+b content, ug/cm2                  (default 15)
  --Cw v    equivalent water thickness, cm                   (default 0.0001)
  --Cm v    dry matter content, g/cm2                        (default 0.002)

Common options:
  -C DIR    write the result files into DIR instead of the current directory

Numbers use a point as decimal separator, whatever the locale.
Exit status: 0 success, 1 the run failed, 2 bad arguments.
)";
}

}  // namespace tulmera::batch
