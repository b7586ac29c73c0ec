#pragma once
#include <string>

#include "leaf/leaf_parameters.h"
#include "leaf/leaf_spectrum.h"
#include "textio/printed_text.h"

// The text of a sweep file for tests and benchmarks: `blocks` leaf spectra of a sweep of Cm
// from 0.002 by 0.0005 (77 values reach 0.04, the longest sweep), in the sweep file's layout:
// per value five header lines, then the 421 data lines.
namespace tulmera::testing {

inline std::string SyntheticSweepText(int blocks)
{
    textio::PrintedText text;
    leaf::LeafParameters p = leaf::kStartLeafParameters;
    for (int block = 0; block < blocks; ++block) {
        text.Text("N =").Number(p.N).EndLine();
        text.Text("Ca+b =").Number(p.Cab).Text(" u.g.cm-2").EndLine();
        text.Text("Cw =").Number(p.Cw).Text(" cm").EndLine();
        text.Text("Cm =").Number(p.Cm).Text(" g.cm-2").EndLine();
        text.Text("Lon.onda    Reflectividad     Transmisividad").EndLine();
        leaf::PrintLeafSpectrum(text, leaf::ComputeLeafSpectrum(p));
        p.Cm += 0.0005;  // a running sum, as the sweep steps
    }
    return text.str();
}

}  // namespace tulmera::testing
