// Monte Carlo price of a snowball product, the independent check of the finite-difference price.
#pragma once

#include "normal_deviates.h"
#include "snowball_pde.h"

// Paths longer than this many steps are refused with NaN (a hundred years of trading days).
inline constexpr int kMaxMonteCarloSteps = 252 * 100;

// Mean discounted payoff in percent of notional (100 = par) over `paths` paths with
// steps_per_year steps a year, drawn from the process-wide generator. NaN for terms the
// finite-difference solver refuses, an empty schedule or fewer than one step. The standard
// error of the mean goes to *std_error when given.
double price_mc(const Snowball_PDE& product, int steps_per_year, int paths,
                double* std_error = nullptr);

// The same with deviates of the caller's own (a seeded run).
double price_mc(const Snowball_PDE& product, int steps_per_year, int paths,
                NormalDeviates& deviates, double* std_error = nullptr);
