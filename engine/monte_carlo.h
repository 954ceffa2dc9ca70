// Monte Carlo price of a snowball product, the independent check of the finite-difference price.
#pragma once

#include "snowball_pde.h"

// Mean discounted payoff in percent of notional (100 = par) over `paths` daily paths, drawn from
// the process-wide generator. NaN for an empty schedule or fewer than one step. The standard
// error of the mean goes to *std_error when given.
double price_mc(const Snowball_PDE& product, int steps_per_year, int paths,
                double* std_error = nullptr);
