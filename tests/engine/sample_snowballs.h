// Snowball products shared by the analytics tests, in the engine's own units.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "snowball_pde.h"

struct SampleTerms {
    std::string name;
    double S0 = 100, S_max = 200, sigma = 0.18, r = 0.015, q = 0;
    int days = 243;       // maturity in trading days; T = days / 252
    int lock_months = 3;  // first observation at the end of this month
    double ko = 103, ko_step = 0, ki = 80, coupon = 0.16, div_coupon = 0.16;
    double floor_price = 0, call_strike = 0, call_participation = 0, payoff_mode = 0;
    double coupon_adj_rate = 0, coupon_adj_share = 1;
    int M = 200, N = 0;  // N = 0: one time step per trading day
};

// Monthly observations on whole trading days after the lock-up, the last at maturity; the
// knock-out barrier steps down by ko_step each month.
inline Snowball_PDE make_snowball(const SampleTerms& s) {
    const double T = s.days / 252.0;
    const int months = static_cast<int>(std::lround(s.days / 20.25));
    std::vector<double> obs, ko, coupon, ki;
    for (int m = s.lock_months; m <= months; ++m) {
        const long day = m == months ? s.days : std::lround(s.days * double(m) / months);
        obs.push_back(m == months ? T : day / 252.0);
        ko.push_back(s.ko - s.ko_step * (m - s.lock_months));
        coupon.push_back(s.coupon);
        ki.push_back(s.ki);
    }
    PdeParams base;
    base.S0 = s.S0;
    base.S_max = s.S_max;
    base.sigma = s.sigma;
    base.r = s.r;
    base.q = s.q;
    base.T = T;
    base.M = s.M;
    base.N = s.N > 0 ? s.N : s.days;
    Snowball_PDE e;
    e.set_product(obs, ko, coupon, ki, s.div_coupon, s.floor_price, s.call_strike,
                  s.call_participation, s.coupon_adj_rate, s.coupon_adj_share, s.payoff_mode, base);
    return e;
}
