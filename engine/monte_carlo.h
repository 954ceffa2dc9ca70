// Monte Carlo price of a snowball product, the independent check of the finite-difference price.
#pragma once

#include "normal_deviates.h"
#include "snowball_pde.h"

// Paths longer than this many steps are refused with NaN (a hundred years of trading days).
inline constexpr int kMaxMonteCarloSteps = 252 * 100;

// Mean discounted payoff in percent of notional (100 = par) over `paths` paths with
// steps_per_year steps a year, drawn from the process-wide generator. NaN for no paths, an empty
// schedule, per-date lists of unequal lengths, a date outside [0, T], S0 <= 0, a negative
// volatility, a T <= 0, fewer than one step or more than kMaxMonteCarloSteps. The grid settings
// (S_max, M, N) take no part. The standard error of the mean goes to *std_error when given.
double price_mc(const Snowball_PDE& product, int steps_per_year, int paths,
                double* std_error = nullptr);

// The same with deviates of the caller's own (a seeded run).
double price_mc(const Snowball_PDE& product, int steps_per_year, int paths,
                NormalDeviates& deviates, double* std_error = nullptr);
