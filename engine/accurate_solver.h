// The accurate finite-difference pricer of a snowball product: a feature-fitted price grid,
// L-stable sub-steps within each time step, barriers as cell averages, a cubic read-out at S0 and
// optionally Richardson extrapolation from a grid twice as fine.
#pragma once

#include "feature_grid.h"
#include "pde_params.h"
#include "pde_result.h"
#include "pricing_problem.h"

class Snowball_PDE;

// The price grid of a run on these terms: every barrier, the call strike (with a participation)
// and the floor on a node, M intervals. Runs with bumped volatility or rate take the grid of the
// base run, so that their grids differ from it cell by cell only through the bump.
FeatureGrid accurate_price_grid(const Snowball_PDE& product, const PdeParams& params);

// The price, delta and gamma at params.S0 today (and the error estimate when params.extrapolate),
// NaN when the terms cannot be priced, on `grid` or, when null, on accurate_price_grid. Stores the
// grids, dt and the grid's axes through the block's output pointers that are set (dS is stored as
// NaN: the grid has no single step). With extrapolation the stored grids are extrapolated too, on
// the nodes of the coarser grid. Never throws. min_day_parts (1, 2, 4 or 8) raises the sub-steps of
// every time step to at least that many, for reference runs. Like the implicit run it reads the
// product's cancel_token once per time step and gives the reason of a NaN to *problem.
PdeResult auto_call_finite_diff_accurate(const Snowball_PDE& product, PdeParams& params,
                                         const FeatureGrid* grid = nullptr, int min_day_parts = 1,
                                         PricingProblem* problem = nullptr);
