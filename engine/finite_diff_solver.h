// The implicit (backward Euler) finite-difference pricer of a snowball product.
#pragma once

#include <cstddef>
#include <vector>

#include "pde_params.h"

// Runs whose stored grids and working columns would need more than this many bytes are refused
// with NaN.
inline constexpr std::size_t kMaxGridBytes = std::size_t(1) << 30;
// Runs of more than this many node-steps, (M + 1)·N, are refused with NaN: some seconds of work
// at least, beyond any grid a user means.
inline constexpr double kMaxNodeSteps = 4e9;

// Whether `count` grids of (M+1) by (N+1) doubles stay within kMaxGridBytes.
bool grids_fit(int M, int N, int count);

// The checks of the terms and grid sizes that every run makes before it starts (both schemes).
bool valid_snowball_inputs(const std::vector<double>& obs_time,
                           const std::vector<double>& ko_barrier, const std::vector<double>& coupon,
                           const std::vector<double>& ki_barrier, const PdeParams& params);

// The price at params.S0 today, read between the two price nodes around it; NaN when the terms
// cannot be priced. Stores the grids and steps through the block's output pointers that are set.
// Never throws; a run without grid outputs keeps memory in proportion to M only.
double auto_call_finite_diff_implicit(
    const std::vector<double>& obs_time, const std::vector<double>& ko_barrier,
    const std::vector<double>& coupon, const std::vector<double>& ki_barrier, double div_coupon,
    double floor_price, double call_strike, double call_participation, double coupon_adj_rate,
    double coupon_adj_share, double payoff_mode, PdeParams& params);
