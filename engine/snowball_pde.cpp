#include "snowball_pde.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <limits>

#include "accurate_solver.h"
#include "finite_diff_solver.h"
#include "param_kind.h"

namespace {

// The number the key and the saved value read for a per-date term: its first entry.
double first_entry(const std::vector<double>& v) {
    return v.empty() ? std::numeric_limits<double>::quiet_NaN() : v.front();
}

void set_all(std::vector<double>& v, double x) {
    for (double& e : v)
        e = x;
}

// Grid sizes and market data of a block, without its outputs.
void copy_values(PdeParams& to, const PdeParams& from) {
    to = from;
    to.clear_outputs();
}

// The run of the block's scheme; an accurate run on `grid` when it is given.
PdeResult run_scheme(Snowball_PDE& e, PdeParams& block, const FeatureGrid* grid = nullptr) {
    if (block.scheme == PdeScheme::accurate)
        return auto_call_finite_diff_accurate(e, block, grid, 1, &e.last_problem);
    PdeResult result;
    result.price = auto_call_finite_diff_implicit(
        e.obs_time, e.ko_barrier, e.coupon, e.ki_barrier, e.div_coupon, e.floor_price,
        e.call_strike, e.call_participation, e.coupon_adj_rate, e.coupon_adj_share, e.payoff_mode,
        block, e.cancel_token, &e.last_problem);
    return result;
}

double run_solver(Snowball_PDE& e, PdeParams& block) {
    return run_scheme(e, block).price;
}

// Greek grids of another size than the coming run's are stale: freed before the run allocates,
// so that old and new grids never add up.
void release_stale(std::initializer_list<NEWMAT::Matrix*> grids, int rows, int cols) {
    for (NEWMAT::Matrix* g : grids)
        if (g->Nrows() != rows || g->Ncols() != cols) g->CleanUp();
}

}  // namespace

Snowball_PDE::Snowball_PDE() : Calculator_PDE(true) {}

Snowball_PDE::~Snowball_PDE() = default;

std::string Snowball_PDE::param_key() const {
    std::string key;
    char buffer[1024];
    for (double t : obs_time) {
        std::snprintf(buffer, sizeof buffer, "%f-", t);
        key += buffer;
    }
    std::snprintf(buffer, sizeof buffer, "%f %f %f %f %f %f %f %f %f %f %f %f %f %f %f %f",
                  first_entry(ko_barrier), first_entry(coupon), first_entry(ki_barrier), div_coupon,
                  floor_price, call_strike, call_participation, payoff_mode != 0 ? 1.0 : 0.0,
                  params.S0, params.S_max, params.sigma, params.r, params.q, params.T,
                  double(params.M), double(params.N));
    return key + buffer;
}

double Snowball_PDE::price_with_grids() {
    params.out_price = &price_grid;
    params.out_price_ki = &price_ki;
    params.out_dS = &dS;
    params.out_dt = &dt;
    params.out_axes = &grid_axes;
    return run_solver(*this, params);
}

double Snowball_PDE::price() {
    return run_solver(*this, params);
}

PricingProblem Snowball_PDE::check_terms(int grids) const {
    return check_pricing_terms(obs_time, ko_barrier, coupon, ki_barrier, div_coupon, params, grids);
}

PdeResult Snowball_PDE::price_result() {
    return run_scheme(*this, params);
}

bool Snowball_PDE::compute_risk_grids() {
    // The Greek grids are sized with the value grids, so the whole set has to fit. An observation
    // time below zero is left to the solver, which logs it.
    last_problem = check_terms(kRiskGridCount);
    if (last_problem != PricingProblem::None &&
        last_problem != PricingProblem::ObservationOutsideLife)
        return false;
    const int rows = params.M + 1;
    const int cols = params.N + 1;
    const std::initializer_list<NEWMAT::Matrix*> greeks = {
        &delta, &gamma, &theta, &vega, &rho, &delta_ki, &gamma_ki, &theta_ki, &vega_ki, &rho_ki};
    release_stale(greeks, rows, cols);

    copy_values(params_rate_up, params);
    params_rate_up.r += rate_bump;
    params_rate_up.out_price = &price_rate_up;
    params_rate_up.out_price_ki = &price_ki_rate_up;

    copy_values(params_vol_up, params);
    params_vol_up.sigma += vol_bump;
    params_vol_up.out_price = &price_vol_up;
    params_vol_up.out_price_ki = &price_ki_vol_up;

    params.out_price = &price_grid;
    params.out_price_ki = &price_ki;
    params.out_dS = &dS;
    params.out_dt = &dt;
    params.out_axes = &grid_axes;

    // The accurate grid depends on the volatility: the bumped runs take the base run's nodes.
    const FeatureGrid grid =
        params.scheme == PdeScheme::accurate ? accurate_price_grid(*this, params) : FeatureGrid();
    for (PdeParams* block : {&params, &params_vol_up, &params_rate_up}) {
        if (std::isnan(run_scheme(*this, *block, &grid).price)) return false;
    }
    try {
        for (NEWMAT::Matrix* g : greeks)
            size_grid(*g, rows, cols);
    } catch (...) {
        release_stale(greeks, 0, 0);
        last_problem = PricingProblem::OutOfMemory;
        return false;
    }
    return true;
}

void Snowball_PDE::set_product(const std::vector<double>& obs_time_,
                               const std::vector<double>& ko_barrier_,
                               const std::vector<double>& coupon_,
                               const std::vector<double>& ki_barrier_, double div_coupon_,
                               double floor_price_, double call_strike_, double call_participation_,
                               double coupon_adj_rate_, double coupon_adj_share_,
                               double payoff_mode_, const PdeParams& base) {
    if (&obs_time_ != &obs_time) obs_time = obs_time_;
    if (&ko_barrier_ != &ko_barrier) ko_barrier = ko_barrier_;
    if (&coupon_ != &coupon) coupon = coupon_;
    if (&ki_barrier_ != &ki_barrier) ki_barrier = ki_barrier_;
    div_coupon = div_coupon_;
    floor_price = floor_price_;
    call_strike = call_strike_;
    call_participation = call_participation_;
    coupon_adj_rate = coupon_adj_rate_;
    coupon_adj_share = coupon_adj_share_;
    payoff_mode = payoff_mode_;
    copy_values(params, base);
    product_set = true;
}

void Snowball_PDE::copy_terms(const Snowball_PDE& other) {
    if (&other == this) return;
    obs_time = other.obs_time;
    ko_barrier = other.ko_barrier;
    coupon = other.coupon;
    ki_barrier = other.ki_barrier;
    div_coupon = other.div_coupon;
    floor_price = other.floor_price;
    call_strike = other.call_strike;
    call_participation = other.call_participation;
    copy_values(params, other.params);
    product_set = other.product_set;
}

void Snowball_PDE::set_param(int kind, double v) {
    switch (kind) {
        case kParamKoBarrier:
            set_all(ko_barrier, v);
            break;
        case kParamKiBarrier:
            set_all(ki_barrier, v);
            break;
        case kParamCoupon:
            set_all(coupon, v);
            break;
        case kParamSigma:
            params.sigma = v;
            break;
        case kParamDivCoupon:
            div_coupon = v;
            break;
        case kParamCouponDiv:
            div_coupon = v;
            set_all(coupon, v);
            break;
        default:
            break;
    }
}

void Snowball_PDE::save_param(int kind) {
    switch (kind) {
        case kParamKoBarrier:
            solve_saved = first_entry(ko_barrier);
            break;
        case kParamKiBarrier:
            solve_saved = first_entry(ki_barrier);
            break;
        case kParamCoupon:
            solve_saved = first_entry(coupon);
            break;
        case kParamSigma:
            solve_saved = params.sigma;
            break;
        case kParamDivCoupon:
        case kParamCouponDiv:
            solve_saved = div_coupon;
            break;
        default:
            break;
    }
}

void Snowball_PDE::restore_param(int kind) {
    if (is_param_kind(kind)) set_param(kind, solve_saved);
}
