#include "multi/sweep_step.h"

#include <string_view>

#include "leaf/leaf_spectrum.h"
#include "spectral/grid.h"
#include "textio/working_files.h"

namespace tulmera::multi {
namespace {

// Bytes of one data line, generously: three numbers of up to 22 characters each plus blanks.
constexpr std::size_t kDataLineBytes = 80;

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
                      plot::SweepColours& colours, textio::StagedFiles& staged)
{
    const leaf::LeafSpectrum spectrum = leaf::ComputeLeafSpectrum(p);

    // The block is the header followed by the data lines; "MVPaint.dat" gets the data lines.
    textio::PrintedText block;
    block.Reserve(spectral::kWavelengthCount * kDataLineBytes);
    PrintSweepHeader(block, p);
    const std::size_t headerBytes = block.str().size();
    leaf::PrintLeafSpectrum(block, spectrum);
    const std::string_view dataLines = std::string_view(block.str()).substr(headerBytes);

    staged.Append(kSweepFile, block.str());
    staged.Stage(kSweepCurveFile, dataLines);
    plot::PaintMultiProspect(charts, colours, staged.ReadName(kSweepCurveFile));
}

}  // namespace tulmera::multi
