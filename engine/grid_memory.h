// The memory bound of engine runs: every run counts the grids it will hold before it allocates.
#pragma once

#include <cstddef>

#include <newmat/newmat.h>

// The grids one engine run holds at once may take at most this many bytes (1 GiB): price and
// Greek grids, bumped grids and the grids of a stress run alike. A run that would need more is
// refused (NaN or false, with the reason PricingProblem::GridTooLarge) before it allocates.
inline constexpr std::size_t kMaxGridBytes = std::size_t(1) << 30;
// Runs of more than this many node-steps, (M + 1)·N, are refused too: some seconds of work at
// least, beyond any grid a user means.
inline constexpr double kMaxNodeSteps = 4e9;

// Grids of (M+1) by (N+1) doubles that the runs of Snowball_PDE hold:
inline constexpr int kPriceGridCount = 2;   // price_with_grids: price and price_ki
inline constexpr int kStressGridCount = 8;  // price_with_grids, then compute_base_greeks
inline constexpr int kRiskGridCount = 16;   // compute_risk_grids, then compute_greeks

// Bytes of `count` grids of (M+1) by (N+1) doubles, as a double so that no size overflows.
double grid_bytes(int M, int N, int count);

// Whether `count` grids of (M+1) by (N+1) doubles stay within kMaxGridBytes.
bool grids_fit(int M, int N, int count);

// Gives grid the size rows by cols, keeping its storage (and values) when it has that size
// already: runs repeated on one grid size reuse their memory instead of faulting in fresh pages.
// Large new storage is backed by huge pages where the system offers them.
void size_grid(NEWMAT::Matrix& grid, int rows, int cols);
