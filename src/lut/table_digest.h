#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "lut/table.h"

// A digest of a table file's rows, stored in the file (the CSV's last line, an HDF5 attribute)
// so that a reader notices an edited or damaged table. It covers the values, not their text:
// FNV-1a (64 bits) over each column's parameter's 8 bytes (the columns of the table's leaf
// model, in their order) and each reflectance's 4 bytes (IEEE 754, little endian), row after row;
// in a table with products each row's products (8 bytes each) follow its reflectances, so that
// tables without them keep their digests. A CSV and an HDF5 file of the same rows therefore carry
// the same digest, and line ends or number spelling do not change it.
namespace tulmera::lut {

class RowDigest {
public:
    // A digest of the rows of a table of the leaf model `model`.
    explicit RowDigest(leaf::LeafModel model);

    // Takes in the next rows, in file order.
    void Add(const TableRows& rows);
    std::uint64_t Value() const { return hash_; }

private:
    void AddBytes(std::uint64_t bits, int bytes);
    std::span<const Parameter> columns_;
    std::uint64_t hash_ = 14695981039346656037ULL;  // the FNV-1a 64 offset basis
};

// The digest of `rows` alone, rows of a table of `model`.
std::uint64_t DigestOf(const TableRows& rows, leaf::LeafModel model);

// The digest as 16 lowercase hexadecimal digits, and back (nullopt for any other text).
std::string DigestText(std::uint64_t digest);
std::optional<std::uint64_t> ParseDigestText(std::string_view text);

}  // namespace tulmera::lut
