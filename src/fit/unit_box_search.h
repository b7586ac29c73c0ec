#pragma once
#include <atomic>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

// The one way the program minimises: NLopt's BOBYQA over parameters scaled to the unit box, so
// that one trust-region radius suits them all, with cancellation and failures handled alike.
namespace tulmera::fit {

// What an objective returns for a trial point where the model fails or is not finite: a sum
// this bad makes the optimiser move away instead of stopping.
inline constexpr double kFailedSum = 1e30;

// How a search proceeds, on the scaled parameters (0 .. 1 each).
struct UnitBoxSettings {
    double initialStep;  // BOBYQA's first trust-region radius
    double tolerance;    // stop when the steps become this small
    int maxEvaluations;  // stop after this many objective calls
};

// The sum of squares to minimise at a point of the unit box.
using UnitBoxObjective = std::function<double(const std::vector<double>& x)>;

// Minimises `objective` over [0, 1]^x.size() from `x`, which ends holding the best point found;
// returns the objective there. Needs at least one parameter (x not empty).
// Returns nothing as soon as `cancel` (may be null) is seen true, checked before every
// evaluation, from any thread. A search stopped by rounding keeps its best point, as good as
// the arithmetic allows. Throws tulmera::Error "The <what> failed in the optimiser: ..." for
// any other optimiser failure.
std::optional<double> MinimizeInUnitBox(const UnitBoxObjective& objective, std::vector<double>& x,
                                        const UnitBoxSettings& settings,
                                        const std::atomic<bool>* cancel, std::string_view what);

}  // namespace tulmera::fit
