#include "lut/table_digest.h"

#include <bit>
#include <charconv>

namespace tulmera::lut {

RowDigest::RowDigest(leaf::LeafModel model) : columns_(TableColumns(model)) {}

void RowDigest::AddBytes(std::uint64_t bits, int bytes)
{
    constexpr std::uint64_t kPrime = 1099511628211ULL;  // the FNV-1a 64 prime
    for (int i = 0; i < bytes; ++i) {
        hash_ ^= (bits >> (8 * i)) & 0xffU;
        hash_ *= kPrime;
    }
}

void RowDigest::Add(const TableRows& rows)
{
    for (std::size_t r = 0; r < rows.Count(); ++r) {
        for (const Parameter column : columns_) {
            const double value =
                rows.parameters[r * kParameterCount + static_cast<std::size_t>(column)];
            AddBytes(std::bit_cast<std::uint64_t>(value), 8);
        }
        for (std::size_t i = 0; i < spectral::kWavelengthCount; ++i) {
            AddBytes(
                std::bit_cast<std::uint32_t>(rows.reflectance[r * spectral::kWavelengthCount + i]),
                4);
        }
        if (rows.products.empty()) continue;
        for (std::size_t q = 0; q < kProductCount; ++q) {
            AddBytes(std::bit_cast<std::uint64_t>(rows.products[r * kProductCount + q]), 8);
        }
    }
}

std::uint64_t DigestOf(const TableRows& rows, leaf::LeafModel model)
{
    RowDigest digest(model);
    digest.Add(rows);
    return digest.Value();
}

std::string DigestText(std::uint64_t digest)
{
    std::string text(16, '0');
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, digest, 16).ptr;
    const auto length = static_cast<std::size_t>(end - digits);
    text.replace(16 - length, length, digits, length);
    return text;
}

std::optional<std::uint64_t> ParseDigestText(std::string_view text)
{
    if (text.size() != 16) return std::nullopt;
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return std::nullopt;
    }
    std::uint64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return value;
}

}  // namespace tulmera::lut
