#include "multi/sweep_step.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "leaf/leaf_spectrum.h"
#include "spectral/grid.h"
#include "textio/text_file.h"
#include "textio/working_files.h"

namespace tulmera::multi {
namespace {

// Bytes of one data line, generously: three numbers of up to 22 characters each plus blanks.
constexpr std::size_t kDataLineBytes = 80;

// The length of "MVP.dat" now, or 0 when it does not exist yet.
std::uintmax_t SweepFileLength()
{
    std::error_code error;
    const std::uintmax_t length = std::filesystem::file_size(kSweepFile, error);
    return error ? 0 : length;
}

// Cuts "MVP.dat" back to `length` after a failed step, so that it only holds whole blocks.
// Best effort: the step's own failure is the one reported.
void CutSweepFileBack(std::uintmax_t length)
{
    std::error_code error;
    std::filesystem::resize_file(kSweepFile, length, error);
}

}  // namespace

void PrintSweepHeader(textio::PrintedText& text, const leaf::LeafParameters& p)
{
    text.Text("N =").Number(p.N).EndLine();
    text.Text("Ca+b =").Number(p.Cab).Text(" u.g.cm-2").EndLine();
    text.Text("Cw =").Number(p.Cw).Text(" cm").EndLine();
    text.Text("Cm =").Number(p.Cm).Text(" g.cm-2").EndLine();
    text.Text("Lon.onda    Reflectividad     Transmisividad").EndLine();
}

void RunMultiProspect(const leaf::LeafParameters& p, const plot::SweepCharts& charts,
                      plot::SweepColours& colours)
{
    const leaf::LeafSpectrum spectrum = leaf::ComputeLeafSpectrum(p);

    // The block is the header followed by the data lines; "MVPaint.dat" gets the data lines.
    textio::PrintedText block;
    block.Reserve(spectral::kWavelengthCount * kDataLineBytes);
    PrintSweepHeader(block, p);
    const std::size_t headerBytes = block.str().size();
    leaf::PrintLeafSpectrum(block, spectrum);
    const std::string_view dataLines = std::string_view(block.str()).substr(headerBytes);

    const std::uintmax_t lengthBefore = SweepFileLength();
    try {
        textio::AppendTextFile(kSweepFile, block.str());
        textio::ReplaceTextFile(kSweepCurveFile, dataLines);
        plot::PaintMultiProspect(charts, colours);
    } catch (...) {
        CutSweepFileBack(lengthBefore);
        throw;
    }
}

}  // namespace tulmera::multi
