#include "stress.h"

#include <cmath>
#include <utility>

#include "day_count.h"
#include "param_kind.h"
#include "snowball_pde.h"

double stress_tau(int trading_days) {
    return trading_days * (1.0 / kTradingDaysPerYear);
}

StressResult compute_stress(const Snowball_PDE& engine, const StressGrid& grid) {
    StressResult out;
    Snowball_PDE work(engine);
    work.save_param(kParamSigma);
    for (int i = 0; i < grid.volatilities; ++i) {
        work.set_param(kParamSigma, grid.volatility(i));
        std::vector<double> value(grid.prices, NAN), delta(grid.prices, NAN),
            gamma(grid.prices, NAN);
        // A run that fails leaves the grids of the previous volatility behind: its row stays NaN
        // rather than showing another volatility's numbers.
        if (!std::isnan(work.price_with_grids())) {
            work.compute_base_greeks();
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
