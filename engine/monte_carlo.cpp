// Daily paths under geometric Brownian motion at r - q, points k = 0 .. steps - 1 at times k dt.
// An observation date is tested one point before its own time: o = steps * t / T - 1, so a date at
// maturity is tested at the last point. On an observation point the knock-out test comes first,
// then the knock-in test against the barrier of the period that then holds. A knocked-in path
// stays alive and is paid as a knock-out if it knocks out later. Amounts are those of the
// finite-difference solver: coupon for the time to the redemption point, the call participation
// only on knock-out, the dividend coupon when neither event happens, the principal taken off in
// profit-and-loss mode.
#include "monte_carlo.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The whole part of a count that is meant to be whole: a value within rounding noise of an
// integer is that integer (252 * (243 / 252) is 243, not 242), any other is truncated.
double whole_part(double x) {
    const double nearest = std::round(x);
    const bool on_integer = std::fabs(x - nearest) <= 1e-9 * std::fmax(1.0, std::fabs(nearest));
    return on_integer ? nearest : std::trunc(x);
}

// Number of path points; 0 for fewer than one or more than kMaxMonteCarloSteps.
int path_steps(int steps_per_year, double T) {
    const double steps = whole_part(steps_per_year * T);
    if (!(steps >= 1 && steps <= kMaxMonteCarloSteps)) return 0;
    return static_cast<int>(steps);
}

// The path point at which a date is tested, kept on the path for any date.
int observation_step(double obs_time, double T, int steps) {
    const double o = whole_part(steps * obs_time / T - 1);
    if (!(o > 0)) return 0;
    return o < steps - 1 ? static_cast<int>(o) : steps - 1;
}

// Barriers are compared in log prices; one at or below 0 lies below every price, and a NaN
// barrier is never crossed, as with prices.
double log_level(double barrier) {
    if (std::isnan(barrier)) return barrier;
    return barrier > 0 ? std::log(barrier) : -std::numeric_limits<double>::infinity();
}

// The product as the path walk reads it; amounts in price units.
struct PathTerms {
    int steps = 0;
    double dt = 0;
    double log_step_drift = 0;  // (r - q - sigma^2 / 2) dt
    double step_vol = 0;        // sigma sqrt(dt)
    double r = 0;
    double S0 = 0;
    double principal = 0;  // S0, or 0 when values are profit and loss
    double div_coupon = 0;
    double floor_price = 0;
    double call_strike = 0;
    double call_participation = 0;
    // One entry per observation date.
    std::vector<int> step;
    std::vector<double> log_ko, log_ki, coupon;
};

bool valid_terms(const Snowball_PDE& p) {
    const PdeParams& b = p.params;
    const size_t n = p.obs_time.size();
    if (!(b.S0 > 0) || !std::isfinite(b.S0) || !(b.sigma >= 0) || !std::isfinite(b.sigma) ||
        !(b.T > 0) || !std::isfinite(b.T) || !std::isfinite(b.r))
        return false;
    if (n == 0 || p.ko_barrier.size() != n || p.coupon.size() != n || p.ki_barrier.size() != n)
        return false;
    for (double t : p.obs_time)
        if (!(t >= 0 && t <= b.T)) return false;
    return true;
}

PathTerms make_terms(const Snowball_PDE& p, int steps) {
    const PdeParams& b = p.params;
    PathTerms t;
    t.steps = steps;
    t.dt = b.T / steps;
    const double q = std::isnan(b.q) ? 0 : b.q;
    t.log_step_drift = (b.r - q - 0.5 * b.sigma * b.sigma) * t.dt;
    t.step_vol = b.sigma * std::sqrt(t.dt);
    t.r = b.r;
    t.S0 = b.S0;
    t.principal = p.payoff_mode > 0.5 ? 0 : b.S0;
    t.div_coupon = p.div_coupon;
    t.floor_price = p.floor_price;
    t.call_strike = p.call_strike;
    t.call_participation = p.call_participation;
    // The solver raises every coupon by the adjustment (1 - share) * rate, so the check does the
    // same: without it the two would price different coupons whenever the adjustment is set.
    const double adj_rate = std::isnan(p.coupon_adj_rate) ? 0 : p.coupon_adj_rate;
    const double adj_share = std::isnan(p.coupon_adj_share) ? 1 : p.coupon_adj_share;
    for (size_t i = 0; i < p.obs_time.size(); ++i) {
        t.step.push_back(observation_step(p.obs_time[i], b.T, steps));
        t.log_ko.push_back(log_level(p.ko_barrier[i]));
        t.log_ki.push_back(log_level(p.ki_barrier[i]));
        t.coupon.push_back(p.coupon[i] + (1 - adj_share) * adj_rate);
    }
    return t;
}

double call_amount(const PathTerms& t, double S) {
    return t.call_participation > 0 ? t.call_participation * std::fmax(S - t.call_strike, 0) : 0;
}

// Discounted amount of a path knocked out at point k on observation j.
double knock_out_value(const PathTerms& t, int k, size_t j, double S) {
    const double time = k * t.dt;
    return std::exp(-t.r * time) * (t.principal + t.coupon[j] * time * t.S0 + call_amount(t, S));
}

// Discounted amount, paid at steps * dt, of a path that never knocked out; S is its last point.
double maturity_value(const PathTerms& t, bool knocked_in, double S) {
    const double T = t.steps * t.dt;
    const double stock_part = t.S0 - t.principal;  // what profit and loss mode subtracts
    double amount;
    if (!knocked_in)
        amount = t.principal + t.div_coupon * T * t.S0;
    else if (t.floor_price > 0)
        amount = std::fmax(t.floor_price, S) - stock_part;
    else
        amount = S - stock_part;
    return std::exp(-t.r * T) * amount;
}

// Walks one path of log prices, log_path[k] at point k.
double path_value(const PathTerms& t, const std::vector<double>& log_path) {
    const size_t last = t.step.size() - 1;
    size_t j = 0;  // current observation: its barriers hold until it is passed
    bool knocked_in = false;
    for (int k = 0; k < t.steps; ++k) {
        const double x = log_path[k];
        if (k == t.step[j]) {
            // A path at or above the barrier knocks out whether it has knocked in or not.
            if (x >= t.log_ko[j]) return knock_out_value(t, k, j, std::exp(x));
            if (j < last) ++j;
        }
        if (x < t.log_ki[j]) knocked_in = true;
    }
    return maturity_value(t, knocked_in, std::exp(log_path[t.steps - 1]));
}

// Fills log_path[1 ..] with one path from log_path[0].
void draw_path(const PathTerms& t, NormalDeviates& deviates, std::vector<double>& log_path) {
    const int n = t.steps - 1;
    double* point = log_path.data() + 1;
    deviates.fill(point, n);
    double x = log_path[0];
    for (int k = 0; k < n; ++k) {
        x += t.log_step_drift + t.step_vol * point[k];
        point[k] = x;
    }
}

}  // namespace

double price_mc(const Snowball_PDE& product, int steps_per_year, int paths,
                NormalDeviates& deviates, double* std_error) {
    if (std_error) *std_error = kNaN;
    if (paths < 1 || !valid_terms(product)) return kNaN;
    const int steps = path_steps(steps_per_year, product.params.T);
    if (steps < 1) return kNaN;
    const PathTerms terms = make_terms(product, steps);

    std::vector<double> log_path(steps);  // one buffer, reused by every path
    log_path[0] = std::log(terms.S0);
    // Welford's running mean and sum of squared deviations.
    double mean = 0, m2 = 0;
    for (int path = 1; path <= paths; ++path) {
        draw_path(terms, deviates, log_path);
        const double value = path_value(terms, log_path);
        const double delta = value - mean;
        mean += delta / path;
        m2 += delta * (value - mean);
    }
    const double to_percent = 100 / terms.S0;
    if (std_error) *std_error = paths > 1 ? std::sqrt(m2 / (paths - 1) / paths) * to_percent : kNaN;
    return mean * to_percent;
}

double price_mc(const Snowball_PDE& product, int steps_per_year, int paths, double* std_error) {
    return price_mc(product, steps_per_year, paths, process_normal_deviates(), std_error);
}
