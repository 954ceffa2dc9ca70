// The one builder of test products: named terms in the engine's own units, four named presets.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "snowball_pde.h"

// A test changes the fields it is about and calls build():
//   TestSnowball t = TestSnowball::classic();
//   t.floor_price = 75;
//   Snowball_PDE e = t.grid(800).build();
struct TestSnowball {
    std::string name;  // printed by failing cases

    // Market and grid. N = 0: one time step per trading day of the life.
    double S0 = 100, S_max = 200, sigma = 0.18, r = 0.015, q = 0;
    int M = 200, N = 0;

    // Life in trading days (T = days / 252) and the monthly schedule: dates on whole trading days
    // at the ends of months lock_months .. days / 20.25, the last at maturity. The knock-out
    // barrier steps down by ko_step from one date to the next.
    int days = 243;
    int lock_months = 3;
    double ko = 103, ko_step = 0, ki = 80, coupon = 0.16;

    // An explicit schedule instead: dates in years and a life of T years (0: days / 252). The
    // per-date lists left empty hold ko, coupon and ki on every date.
    std::vector<double> obs_time;
    double T = 0;
    std::vector<double> ko_barriers, coupons, ki_barriers;

    double div_coupon = 0.16, floor_price = 0, call_strike = 0, call_participation = 0;
    double coupon_adj_rate = 0, coupon_adj_share = 1, payoff_mode = 0;

    // The finite-difference method, and for the accurate one whether a twice finer run is combined.
    PdeScheme scheme = PdeScheme::implicit;
    bool extrapolate = false;

    // One year on daily steps: knock-out 103 monthly from month 3, knock-in 80, coupons 16 %,
    // volatility 18 %, rate 1.5 %.
    static TestSnowball classic() {
        TestSnowball t;
        t.name = "classic";
        return t;
    }
    // The classic product whose knock-out barrier falls by 0.5 a month.
    static TestSnowball step_down() {
        TestSnowball t;
        t.name = "step-down";
        t.ko_step = 0.5;
        return t;
    }
    // The classic terms observed on four quarterly dates over one year, on a 60 x 60 grid.
    static TestSnowball quarterly() {
        TestSnowball t;
        t.name = "quarterly";
        t.obs_time = {0.25, 0.5, 0.75, 1.0};
        t.T = 1;
        t.M = t.N = 60;
        return t;
    }
    // A grid small enough to read by hand: S_max 200 and M = 10 (dS = 20), N = 10 steps over one
    // year; dates 0.3, 0.6 and 1 (columns 4, 7 and 11), knock-out 100, knock-in 80, coupon 10 %,
    // dividend coupon 5 %, volatility 20 %, rate 5 %.
    static TestSnowball small() {
        TestSnowball t;
        t.name = "small";
        t.sigma = 0.2;
        t.r = 0.05;
        t.M = t.N = 10;
        t.obs_time = {0.3, 0.6, 1.0};
        t.T = 1;
        t.ko = 100;
        t.coupon = 0.1;
        t.div_coupon = 0.05;
        return t;
    }

    TestSnowball& grid(int M_, int N_ = 0) {
        M = M_;
        if (N_ > 0) N = N_;
        return *this;
    }

    double life() const { return !obs_time.empty() && T > 0 ? T : days / 252.0; }

    Snowball_PDE build() const {
        PdeParams base;
        base.S0 = S0;
        base.S_max = S_max;
        base.sigma = sigma;
        base.r = r;
        base.q = q;
        base.T = life();
        base.M = M;
        base.N = N > 0 ? N : days;
        base.scheme = scheme;
        base.extrapolate = extrapolate;
        Snowball_PDE e;
        const std::vector<double> dates = obs_time.empty() ? monthly_dates() : obs_time;
        const std::size_t n = dates.size();
        std::vector<double> kos = ko_barriers, cs = coupons, kis = ki_barriers;
        for (std::size_t i = 0; kos.size() < n; ++i)
            kos.push_back(ko - ko_step * i);
        if (cs.empty()) cs.assign(n, coupon);
        if (kis.empty()) kis.assign(n, ki);
        e.set_product(dates, kos, cs, kis, div_coupon, floor_price, call_strike, call_participation,
                      coupon_adj_rate, coupon_adj_share, payoff_mode, base);
        return e;
    }

  private:
    std::vector<double> monthly_dates() const {
        std::vector<double> dates;
        const int months = static_cast<int>(std::lround(days / 20.25));
        for (int m = lock_months; m <= months; ++m) {
            const long day = m == months ? days : std::lround(days * double(m) / months);
            dates.push_back(day / 252.0);
        }
        return dates;
    }
};

// Value of an engine grid at price node j (0 .. M) and time column n (1 .. N+1).
inline double at(const NEWMAT::Matrix& grid, int j, int n) {
    return grid(j + 1, n);
}
