#include "export/export_fixture.h"

#include <stdexcept>

#include "support/golden.h"
#include "support/work_dir.h"
#include "textio/number_text.h"

namespace tulmera::testing {

CellMap ReadCellsFile(const std::filesystem::path& file)
{
    CellMap cells;
    const std::string text = FileBytes(file);
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = line.find('\t', tab1 + 1);
        const std::size_t tab3 = line.find('\t', tab2 + 1);
        if (tab3 == std::string::npos) throw std::runtime_error("bad cells line: " + line);
        const auto row = static_cast<exports::RowNumber>(std::stol(line.substr(0, tab1)));
        const int column = std::stoi(line.substr(tab1 + 1, tab2 - tab1 - 1));
        const std::string kind = line.substr(tab2 + 1, tab3 - tab2 - 1);
        const std::string value = line.substr(tab3 + 1);
        if (kind == "T") {
            cells[{row, column}] = value;
        } else {
            const std::optional<double> number = textio::ParseNumberText(value);
            if (!number) throw std::runtime_error("bad number in cells line: " + line);
            cells[{row, column}] = *number;
        }
    }
    return cells;
}

exports::MainExportHeader StartHeader()
{
    return {leaf::kStartLeafParameters,          0.1, 0,  0, "Planofilo",
            "S1:61% arena 24% limo 15% arcilla", "0", "0"};
}

exports::MainExportHeader SphericalCanopyHeader()
{
    return {{1.5, 40, 0.01, 0.005},
            3,
            30,
            0.05,
            "Esferico",
            "S2:32% arena 39% limo 29% arcilla",
            "-20",
            "90"};
}

void CopyGolden(const std::string& set, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        std::filesystem::copy_file(GoldenDir(set) / name, name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
}

}  // namespace tulmera::testing
