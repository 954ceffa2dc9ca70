// The terms of a snowball product that every finite-difference grid reads, whatever its nodes:
// the run's life and market, the principal, the floor and the call.
#pragma once

#include "pde_params.h"

struct GridProductTerms {
    // The grid: M intervals between nodes up to S_max, N time steps of dt over the life T.
    int M = 0, N = 0;
    double S_max = 0, dt = 0, T = 0;
    // The market today.
    double S0 = 0, r = 0;
    // The payoff besides the coupons and barriers of the dates.
    double principal = 0;  // S0 in full-value mode, 0 when values are profit and loss
    double div_coupon = 0;
    bool has_floor = false, has_call = false;
    double floor_price = 0, call_strike = 0, call_participation = 0;

    // The life, market and grid size of the run p (M intervals, N steps over T), the principal
    // of the payoff mode (any mode above one half is profit and loss) and the dividend coupon.
    void set_run(const PdeParams& p, double payoff_mode, double dividend_coupon) {
        M = p.M;
        N = p.N;
        dt = p.T / p.N;
        T = p.T;
        S0 = p.S0;
        S_max = p.S_max;
        r = p.r;
        principal = payoff_mode > 0.5 ? 0.0 : p.S0;
        div_coupon = dividend_coupon;
    }
    // A floor or a call with no effect (price or participation not above zero) is off.
    void set_floor_and_call(double floor, double strike, double participation) {
        has_floor = floor > 0;
        floor_price = floor;
        has_call = participation > 0;
        call_strike = strike;
        call_participation = participation;
    }

    // Amounts tied to the underlying are taken off by S0 − principal in profit-and-loss mode.
    double shift() const { return S0 - principal; }
};
