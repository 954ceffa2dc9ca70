// Products and grid helpers shared by the engine tests.
#pragma once

#include <vector>

#include <newmat/newmat.h>

#include "snowball_pde.h"

// S0 100 on a grid of S_max 200 with M price steps (dS = 20 for M = 10) and N steps over one
// year; three dates at 0.3, 0.6 and 1 (columns 4, 7 and 11 for N = 10), knock-out 100,
// knock-in 80, coupon 10 %, dividend coupon 5 %.
inline Snowball_PDE small_product(int M = 10, int N = 10) {
    Snowball_PDE e;
    PdeParams base;
    base.M = M;
    base.N = N;
    e.set_product({0.3, 0.6, 1.0}, {100, 100, 100}, {0.1, 0.1, 0.1}, {80, 80, 80}, 0.05, 0, 0, 0, 0,
                  1, 0, base);
    return e;
}

// The classic one-year snowball on daily steps: knock-out 103 monthly from month 3,
// knock-in 80, coupon 16 % (also paid when neither happens), volatility 18 %, rate 1.5 %.
inline Snowball_PDE classic_snowball(int M, int steps = 243) {
    Snowball_PDE e;
    PdeParams base;
    base.S0 = 100;
    base.S_max = 200;
    base.sigma = 0.18;
    base.r = 0.015;
    base.q = 0;
    base.T = double(steps) / 252;
    base.M = M;
    base.N = steps;
    std::vector<double> obs;
    for (int month = 3; month <= 12; ++month) {
        // Each date on a trading-day column.
        obs.push_back(double((steps * month + 6) / 12) / 252);
    }
    const std::size_t n = obs.size();
    e.set_product(obs, std::vector<double>(n, 103), std::vector<double>(n, 0.16),
                  std::vector<double>(n, 80), 0.16, 0, 0, 0, 0, 1, 0, base);
    return e;
}

// Value at price node j (0 .. M) and time column n (1 .. N+1).
inline double at(const NEWMAT::Matrix& grid, int j, int n) {
    return grid(j + 1, n);
}
