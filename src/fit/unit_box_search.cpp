#include "fit/unit_box_search.h"

#include <cassert>
#include <nlopt.hpp>
#include <string>

#include "textio/error.h"

namespace tulmera::fit {
namespace {

struct Search {
    const UnitBoxObjective& objective;
    const std::atomic<bool>* cancel;
    nlopt::opt* optimizer;
};

double Trampoline(const std::vector<double>& x, std::vector<double>& /*gradient*/, void* data)
{
    auto& search = *static_cast<Search*>(data);
    if (search.cancel != nullptr && search.cancel->load(std::memory_order_relaxed)) {
        search.optimizer->force_stop();
        return 0.0;
    }
    return search.objective(x);
}

}  // namespace

std::optional<double> MinimizeInUnitBox(const UnitBoxObjective& objective, std::vector<double>& x,
                                        const UnitBoxSettings& settings,
                                        const std::atomic<bool>* cancel, std::string_view what)
{
    if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) return std::nullopt;
    assert(!x.empty());
    nlopt::opt optimizer(nlopt::LN_BOBYQA, static_cast<unsigned>(x.size()));
    Search search{objective, cancel, &optimizer};
    optimizer.set_lower_bounds(0.0);
    optimizer.set_upper_bounds(1.0);
    optimizer.set_min_objective(Trampoline, &search);
    optimizer.set_xtol_abs(settings.tolerance);
    optimizer.set_maxeval(settings.maxEvaluations);
    optimizer.set_initial_step(settings.initialStep);
    double sum = 0.0;
    try {
        optimizer.optimize(x, sum);
    } catch (const nlopt::forced_stop&) {
        return std::nullopt;
    } catch (const nlopt::roundoff_limited&) {
        sum = optimizer.last_optimum_value();  // x holds the best point found
    } catch (const std::exception& e) {
        throw Error("The " + std::string(what) + " failed in the optimiser: " + e.what() + ".");
    }
    return sum;
}

}  // namespace tulmera::fit
