// The win rate computed the long way, for the tests: the whole days x paths matrix of prices
// drawn from the C library's own srand/rand, then each path classified on its own.
#pragma once

#include <cstdint>

#include "win_rate.h"

WinRateFractions matrix_win_rate(const WinRateTerms& terms, double sigma, uint32_t seed);
