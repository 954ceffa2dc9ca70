// A test product as the command-line tool reads it: every term of the built engine under its key.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "test_snowball.h"

inline std::string cli_product_json(const TestSnowball& terms) {
    const Snowball_PDE e = terms.build();
    const PdeParams& p = e.params;
    nlohmann::json j = {{"S0", p.S0},
                        {"S_max", p.S_max},
                        {"sigma", p.sigma},
                        {"r", p.r},
                        {"q", p.q},
                        {"T", p.T},
                        {"M", p.M},
                        {"N", p.N},
                        {"scheme", p.scheme == PdeScheme::accurate ? "accurate" : "implicit"},
                        {"obs_time", e.obs_time},
                        {"ko_barrier", e.ko_barrier},
                        {"coupon", e.coupon},
                        {"ki_barrier", e.ki_barrier},
                        {"div_coupon", e.div_coupon},
                        {"floor_price", e.floor_price},
                        {"call_strike", e.call_strike},
                        {"call_participation", e.call_participation},
                        {"coupon_adj_rate", e.coupon_adj_rate},
                        {"coupon_adj_share", e.coupon_adj_share},
                        {"payoff_mode", e.payoff_mode}};
    if (p.extrapolate) j["extrapolate"] = true;  // the implicit scheme refuses the key
    return j.dump();
}
