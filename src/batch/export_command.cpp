#include "batch/export_command.h"

#include "batch/canopy_command.h"
#include "batch/leaf_command.h"
#include "export/main_export.h"
#include "export/xlsx_writer.h"
#include "textio/staged_files.h"

namespace tulmera::batch {
namespace {

std::vector<OptionInfo> ExportOptions()
{
    std::vector<OptionInfo> options = {
        {"--xlsx", "FILE", "the workbook to write (required), replaced if present"},
    };
    for (const OptionInfo& option : ClassicLeafOptions()) options.push_back(option);
    const std::vector<OptionInfo> canopy = {
        {"--lai", "v", "leaf area index of the canopy run (default 0.1)"},
        {"--sun", "v", "sun zenith angle of the canopy run, degrees (default 0)"},
        {"--hotspot", "v", "hot-spot parameter of the canopy run (default 0)"},
        {"--lidf", "NAME", "leaf architecture (default \"Planofilo\")"},
        {"--soil", "KEY", "soil (default \"S1:61% arena 24% limo 15% arcilla\")"},
        {"--view", "TEXT", "view angle as typed, degrees (default \"0\")"},
        {"--azimuth", "TEXT", "relative azimuth as typed, degrees (default \"0\")"},
    };
    options.insert(options.end(), canopy.begin(), canopy.end());
    return options;
}

}  // namespace

exports::MainExportHeader ExportHeaderFrom(const BatchArguments& arguments)
{
    // Checked as the canopy run checks them: the header must describe a run that can exist.
    const leaf::LeafParameters leaf = LeafParametersFrom(arguments);
    CheckLeafOptions(leaf);
    const canopy::CanopyInputs canopyInputs = CanopyInputsFrom(arguments);
    CheckCanopyOptions(canopyInputs);
    return {
        leaf,
        arguments.Number("--lai", 0.1),
        arguments.Number("--sun", 0.0),
        arguments.Number("--hotspot", 0.0),
        canopyInputs.leafArchitecture,  // the list's text, whichever name was given
        canopyInputs.soil,
        arguments.Text("--view", "0"),  // as typed, once known to be a number in range
        arguments.Text("--azimuth", "0"),
    };
}

BatchCommand ExportCommand()
{
    return {
        "export",
        "Spreadsheet export of the main window: the parameters, then the leaf and\n"
        "canopy spectra of \"VP.dat\" and \"VS.dat\" in percent, written into an .xlsx\n"
        "workbook (nothing is opened). The options give the header values.",
        ExportOptions(),
        [](const BatchArguments& arguments) -> BatchWork {
            if (!arguments.Has("--xlsx")) throw UsageError("export needs --xlsx FILE.");
            const std::string path = arguments.Text("--xlsx", "");
            if (path.empty()) throw UsageError("--xlsx needs a file name.");
            const exports::MainExportHeader header = ExportHeaderFrom(arguments);
            return {[header, path] {
                        textio::StagedFiles staged;
                        exports::WriteWorkbook(exports::MainWindowWorkbook(header),
                                               staged.Reserve(path), path);
                        staged.Publish();
                    },
                    {path}};
        },
    };
}

}  // namespace tulmera::batch
