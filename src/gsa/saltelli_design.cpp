#include "gsa/saltelli_design.h"

#include <boost/random/sobol.hpp>

#include "domain/input_domain.h"

namespace tulmera::gsa {

std::vector<std::size_t> SimulationOrder(const std::vector<std::size_t>& varied)
{
    const auto isLeaf = [&varied](std::size_t i) {
        return domain::IsLeafInput(static_cast<domain::Input>(varied[i]));
    };
    std::vector<std::size_t> order = {kMatrixA};
    for (std::size_t i = 0; i < varied.size(); ++i) {
        if (!isLeaf(i)) order.push_back(kMatrixA_B + i);
    }
    order.push_back(kMatrixB);
    for (std::size_t i = 0; i < varied.size(); ++i) {
        if (isLeaf(i)) order.push_back(kMatrixA_B + i);
    }
    return order;
}

std::vector<double> SobolRows(std::size_t k, std::uint64_t first, std::uint64_t end)
{
    const std::size_t dimension = 2 * k;
    boost::random::sobol sequence(dimension);
    // Boost's sequence starts after the origin; seed jumps straight to a point (Gray code).
    sequence.seed(first);
    std::vector<double> rows;
    rows.reserve(static_cast<std::size_t>(end - first) * dimension);
    for (std::uint64_t row = first; row < end; ++row) {
        for (std::size_t d = 0; d < dimension; ++d) {
            // The top 53 of the generator's 64 bits: exactly representable, below 1.
            rows.push_back(static_cast<double>(sequence() >> 11) * 0x1p-53);
        }
    }
    return rows;
}

double DesignUnit(const double* point, std::size_t k, std::size_t matrix, std::size_t i)
{
    const bool fromB = matrix == kMatrixB || matrix == kMatrixA_B + i;
    return point[fromB ? k + i : i];
}

InputValues DesignValues(const GsaSpec& spec, const std::vector<std::size_t>& varied,
                         const double* point, std::size_t matrix)
{
    InputValues values{};
    for (std::size_t input = 0; input < values.size(); ++input)
        values[input] = InputRange(spec, input).lo;
    const std::size_t k = varied.size();
    for (std::size_t i = 0; i < k; ++i) {
        const double u = DesignUnit(point, k, matrix, i);
        const lut::ParameterRange& range = InputRange(spec, varied[i]);
        values[varied[i]] = range.lo + (range.hi - range.lo) * u;
    }
    return values;
}

}  // namespace tulmera::gsa
