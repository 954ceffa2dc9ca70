#include "stress.h"

#include <cmath>
#include <new>
#include <utility>

#include "day_count.h"
#include "grid_memory.h"
#include "param_kind.h"
#include "snowball_pde.h"

double stress_tau(int trading_days) {
    return trading_days * (1.0 / kTradingDaysPerYear);
}

namespace {

StressResult refused(PricingProblem problem) {
    StressResult out;
    out.problem = problem;
    return out;
}

// The rows, one volatility after the other; ends early with the reason of a stopped run.
StressResult stress_rows(const Snowball_PDE& engine, const StressGrid& grid) {
    StressResult out;
    Snowball_PDE work(engine);
    work.save_param(kParamSigma);
    for (int i = 0; i < grid.volatilities; ++i) {
        if (cancel_requested(work.cancel_token)) return refused(PricingProblem::Cancelled);
        work.set_param(kParamSigma, grid.volatility(i));
        std::vector<double> value(grid.prices, NAN), delta(grid.prices, NAN),
            gamma(grid.prices, NAN);
        // A run that fails leaves the grids of the previous volatility behind: its row stays NaN
        // rather than showing another volatility's numbers.
        const bool priced = !std::isnan(work.price_with_grids());
        if (priced && !work.compute_base_greeks()) return refused(PricingProblem::OutOfMemory);
        if (work.last_problem == PricingProblem::Cancelled ||
            work.last_problem == PricingProblem::OutOfMemory)
            return refused(work.last_problem);
        if (priced) {
            for (int j = 0; j < grid.prices; ++j) {
                const double S = grid.price(j);
                value[j] = work.lookup_price(S, grid.tau, false);
                delta[j] = work.lookup_delta(S, grid.tau, false);
                gamma[j] = work.lookup_gamma(S, grid.tau, false);
            }
        }
        out.value.push_back(std::move(value));
        out.delta.push_back(std::move(delta));
        out.gamma.push_back(std::move(gamma));
    }
    work.restore_param(kParamSigma);
    return out;
}

}  // namespace

StressResult compute_stress(const Snowball_PDE& engine, const StressGrid& grid) {
    // Every run holds the value grids and the base Greeks at once.
    if (!grids_fit(engine.params.M, engine.params.N, kStressGridCount))
        return refused(PricingProblem::GridTooLarge);
    try {
        return stress_rows(engine, grid);
    } catch (const std::bad_alloc&) {
        return refused(PricingProblem::OutOfMemory);
    }
}
