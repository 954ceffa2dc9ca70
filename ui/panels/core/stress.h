// The price-by-volatility stress test: the scenario grid and its value, Delta and Gamma.
#pragma once

#include <vector>

#include "pricing_problem.h"

class Snowball_PDE;

// Scenario axes beyond this many points are refused: every volatility is one finite-difference
// solution and every cell three table items, and a mistyped step (0.0001 for 10) would
// otherwise freeze the program or exhaust its memory.
inline constexpr int kMaxStressPoints = 200;

struct StressGrid {
    int prices = 0;        // columns
    int volatilities = 0;  // rows
    double price_start = 0;
    double price_step = 0;
    double vol_start = 0;  // a fraction: 0.05 is 5 %
    double vol_step = 0;
    double tau = 0;  // remaining life in years

    double price(int j) const { return price_start + j * price_step; }
    double volatility(int i) const { return vol_start + i * vol_step; }
};

// The remaining life of `trading_days` trading days, in years.
double stress_tau(int trading_days);

// Row-major: one row per volatility, one column per price.
using StressMatrix = std::vector<std::vector<double>>;

struct StressResult {
    StressMatrix value;
    StressMatrix delta;
    StressMatrix gamma;
    // GridTooLarge (refused before any run), Cancelled or OutOfMemory: the matrices are empty.
    PricingProblem problem = PricingProblem::None;
};

// Solves the product once per volatility on a working copy of the engine and reads the value,
// Delta and Gamma of the not-knocked-in grids at every scenario price; a cell the grids cannot
// give (price outside the grid, a product that cannot be priced) is NaN. The engine given is
// left as it was. Refused when the kStressGridCount grids of a run would not fit the engine's
// memory bound; stops between and within volatilities when the engine's cancel_token is set.
StressResult compute_stress(const Snowball_PDE& engine, const StressGrid& grid);
