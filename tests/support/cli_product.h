// A test product as the command-line tool reads it: every term of the built engine under its key.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "test_snowball.h"

inline std::string cli_product_json(const TestSnowball& terms) {
    using nlohmann::json;
    const Snowball_PDE e = terms.build();
    const PdeParams& p = e.params;
    // The market, the life and the grid.
    json j = {{"S0", p.S0}, {"S_max", p.S_max}, {"sigma", p.sigma}, {"r", p.r}, {"q", p.q}};
    j.update(json{{"T", p.T}, {"M", p.M}, {"N", p.N}});
    j["scheme"] = p.scheme == PdeScheme::accurate ? "accurate" : "implicit";
    if (p.extrapolate) j["extrapolate"] = true;  // the implicit scheme refuses the key
    // The schedule, one entry per date.
    j.update(json{{"obs_time", e.obs_time}, {"coupon", e.coupon}});
    j.update(json{{"ko_barrier", e.ko_barrier}, {"ki_barrier", e.ki_barrier}});
    // The amounts at maturity and on knock-out.
    j.update(json{{"div_coupon", e.div_coupon}, {"floor_price", e.floor_price}});
    j.update(json{{"call_strike", e.call_strike}, {"call_participation", e.call_participation}});
    // The coupon adjustment and the payoff mode.
    j.update(
        json{{"coupon_adj_rate", e.coupon_adj_rate}, {"coupon_adj_share", e.coupon_adj_share}});
    j["payoff_mode"] = e.payoff_mode;
    return j.dump();
}
