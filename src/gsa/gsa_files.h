#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "gsa/gsa_spec.h"
#include "gsa/sobol_indices.h"

// The files of an analysis, CSV with LF line ends and a first line of settings, like the
// look-up tables':
//  - the indices, in long form: "# tulmera sensitivity analysis 1; SETTINGS", the header
//    "quantity,parameter,S1,S1_low,S1_high,ST,ST_low,ST_high", one line per quantity and
//    varied parameter (quantity after quantity, parameters in their order); the six fields are
//    empty for a quantity that has no indices;
//  - a shard's outputs: "# tulmera sensitivity outputs 1; SETTINGS; rows=FIRST:END", the
//    header "row,matrix,QUANTITY...", one line per simulation (matrix 0 = A, 1 = B, 2 + i =
//    A_B^(i)), each value its shortest round-trip text (empty when undefined), so that the
//    joined outputs are the very doubles of one run.
namespace tulmera::gsa {

// "samples=1024; seed=0; bootstrap=200; quantity=spectrum+indices; lidf=...; soil=...;
// visibility=15; N=1:2.5; Cab=40; ..." (varied parameters as lo:hi, held ones as their value;
// "sensor=NAME" follows the quantity when one is asked for).
std::string SettingsText(const GsaSpec& spec);

// The text of an indices file (see above) for the indices of `quantities` (names, see
// QuantityNames) and the varied parameters `parameters` (names).
std::string IndicesCsvText(const std::string& settings, const std::vector<std::string>& quantities,
                           const std::vector<std::string>& parameters,
                           const std::vector<QuantityIndices>& indices);

// Writes the indices of `quantities` (names, see QuantityNames) for the varied parameters
// `parameters` (names) to `file` whole, through a temporary sibling. Throws tulmera::Error
// naming the file when it cannot be written.
void WriteIndicesCsv(const std::filesystem::path& file, const std::string& settings,
                     const std::vector<std::string>& quantities,
                     const std::vector<std::string>& parameters,
                     const std::vector<QuantityIndices>& indices);

// One line of an indices file; the six numbers are empty together.
struct IndicesLine {
    std::string quantity, parameter;
    std::optional<double> S1, S1_low, S1_high, ST, ST_low, ST_high;
};
struct IndicesFile {
    std::string settings;
    std::vector<IndicesLine> lines;
};

// Reads an indices file back. Throws tulmera::Error naming the file and line when it is not
// one of ours or a field is not a number.
IndicesFile ReadIndicesCsv(const std::filesystem::path& file);

// The indices file `file` in the format its name ends in: ".csv" (WriteIndicesCsv) or ".h5"
// (HDF5, the same lines and settings; see gsa_hdf5.cpp), written whole through a temporary
// sibling that is published only once complete. Throws tulmera::Error naming the file when it
// cannot be written or its name ends otherwise.
void WriteIndices(const std::filesystem::path& file, const std::string& settings,
                  const std::vector<std::string>& quantities,
                  const std::vector<std::string>& parameters,
                  const std::vector<QuantityIndices>& indices);

// Reads an indices file of either format back (ReadIndicesCsv for ".csv"). Throws
// tulmera::Error naming the file when it is not one of ours.
IndicesFile ReadIndices(const std::filesystem::path& file);

// Whether `file`'s name ends in ".csv" or ".h5", the formats of an indices file.
bool IsIndicesFileName(const std::filesystem::path& file);

// Writes the outputs of one shard of `spec`'s design, whole, through a temporary sibling.
void WriteOutputsCsv(const std::filesystem::path& file, const GsaSpec& spec,
                     const DesignOutputs& outputs);

// Joins shard output files (in any order) of one analysis and writes its indices to `out`
// (WriteIndices), the same file, byte for byte, as one run without shards. Throws tulmera::Error
// naming the file at fault (not ours, other settings, a field that is not a number) or the base
// rows missing or repeated, with nothing written under `out`.
void MergeShards(const std::filesystem::path& out,
                 const std::vector<std::filesystem::path>& shards);

namespace detail {
void WriteIndicesHdf5(const std::filesystem::path& file, const std::string& settings,
                      const std::vector<std::string>& quantities,
                      const std::vector<std::string>& parameters,
                      const std::vector<QuantityIndices>& indices);
IndicesFile ReadIndicesHdf5(const std::filesystem::path& file);
}  // namespace detail

}  // namespace tulmera::gsa
