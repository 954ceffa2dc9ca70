// The implicit (backward Euler) finite-difference pricer of a snowball product.
#pragma once

#include <vector>

#include "cancel_token.h"
#include "grid_memory.h"
#include "pde_params.h"
#include "pricing_problem.h"

// The grids a run of the block stores (its price grids), for the memory bound of both schemes.
int stored_grid_count(const PdeParams& p);
// A run that stopped after it began storing its outputs leaves none of them behind: grids empty,
// steps NaN, no axes (both schemes).
void discard_outputs(PdeParams& p);

// The price at params.S0 today, read between the two price nodes around it; NaN when the terms
// cannot be priced (check_pricing_terms, counting the grids the block stores), when `cancel` is
// requested (read once per time step) or when memory runs out. The reason goes to *problem when
// it is given (None on success). Stores the grids and steps through the block's output pointers
// that are set; a run that stops after it began writing them leaves those grids empty and the
// steps NaN, never half-written. Never throws; a run without grid outputs keeps memory in
// proportion to M only.
double auto_call_finite_diff_implicit(
    const std::vector<double>& obs_time, const std::vector<double>& ko_barrier,
    const std::vector<double>& coupon, const std::vector<double>& ki_barrier, double div_coupon,
    double floor_price, double call_strike, double call_participation, double coupon_adj_rate,
    double coupon_adj_share, double payoff_mode, PdeParams& params,
    const CancelToken* cancel = nullptr, PricingProblem* problem = nullptr);
