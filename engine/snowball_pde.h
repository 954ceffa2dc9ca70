// The snowball product on the finite-difference engine: terms, runs and the parameter search.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "calculator_pde.h"
#include "cancel_token.h"
#include "pricing_problem.h"

// solve_param codes beyond the search's own 0 to -4.
inline constexpr int32_t kSolveCannotPrice = -5;  // the terms cannot be priced at an end
inline constexpr int32_t kSolveCancelled = -6;    // stopped through cancel_token
#include "pde_result.h"

class Snowball_PDE : public Calculator_PDE {
  public:
    Snowball_PDE();
    Snowball_PDE(const Snowball_PDE& other) = default;
    Snowball_PDE& operator=(const Snowball_PDE& other) = default;
    ~Snowball_PDE() override;

    std::string param_key() const override;
    // The three runs set last_problem: None after a result, else why there is none.
    double price_with_grids() override;
    double price() override;
    // Refused before it allocates when the kRiskGridCount grids would not fit (grid_memory.h).
    bool compute_risk_grids() override;
    // The price of params with what its scheme reads beside it: delta, gamma and, when
    // extrapolating, the error estimate (the accurate scheme); the implicit scheme gives the
    // price alone, as price() does.
    PdeResult price_result();

    // What keeps the product from being priced by a run holding `grids` grids (grid_memory.h:
    // 0 for price(), kRiskGridCount for the Greeks); None when it can be priced. The runs make
    // the same check, so a caller may ask first to tell the user why.
    PricingProblem check_terms(int grids = 0) const;

    void set_product(const std::vector<double>& obs_time, const std::vector<double>& ko_barrier,
                     const std::vector<double>& coupon, const std::vector<double>& ki_barrier,
                     double div_coupon, double floor_price, double call_strike,
                     double call_participation, double coupon_adj_rate, double coupon_adj_share,
                     double payoff_mode, const PdeParams& base);
    // Takes over the product terms of another engine (not the adjustment, payoff mode or
    // search settings); output pointers are cleared.
    void copy_terms(const Snowball_PDE& other);

    void set_param(int kind, double v);
    void save_param(int kind);
    void restore_param(int kind);

    // Bisection for the value of `kind` in [lo, hi] whose price is `target`.
    // 0 found (in result), -1 no value within solve_max_iter, -2 price stopped moving,
    // -3 not a parameter kind, -4 target beyond the price at hi, kSolveCannotPrice (-5) the
    // terms cannot be priced at lo or hi (the search does not start; the reason is in
    // last_problem), kSolveCancelled (-6).
    int32_t solve_param(double target, int kind, double& result, double lo, double hi);

    std::vector<double> ko_barrier;
    std::vector<double> coupon;
    std::vector<double> ki_barrier;
    double div_coupon = 0.15;
    double floor_price = 0;
    double call_strike = 0;
    double call_participation = 0;
    double coupon_adj_rate = 0;
    double coupon_adj_share = 1.0;
    double payoff_mode = 0;
    std::vector<double> obs_time;
    bool product_set = false;
    double solve_epsilon = 0.05;
    int32_t solve_max_iter = 50;
    double solve_saved = 0;

    // Not owned; read by every run when set. Copies share it.
    const CancelToken* cancel_token = nullptr;
    PricingProblem last_problem = PricingProblem::None;
};
