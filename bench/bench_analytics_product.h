// The classic one-year snowball the analytics benchmarks run on (243 trading days, monthly
// knock-out at 103 after a three-month lock-up, knock-in 80, coupons 16 %).
#pragma once

#include <cmath>
#include <vector>

#include "snowball_pde.h"

inline Snowball_PDE bench_snowball(int M, int N, int days = 243) {
    const double T = days / 252.0;
    std::vector<double> obs, ko, coupon, ki;
    const int months = static_cast<int>(std::lround(days / 20.25));
    for (int m = 3; m <= months; ++m) {
        obs.push_back(m == months ? T : std::lround(days * double(m) / months) / 252.0);
        ko.push_back(103);
        coupon.push_back(0.16);
        ki.push_back(80);
    }
    PdeParams base;
    base.sigma = 0.18;
    base.r = 0.015;
    base.T = T;
    base.M = M;
    base.N = N;
    Snowball_PDE e;
    e.set_product(obs, ko, coupon, ki, 0.16, 0, 0, 0, 0, 1, 0, base);
    return e;
}
