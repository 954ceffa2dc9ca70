// Simulated paths follow the finite-difference solver's discrete monitoring, node for node when
// its time step is one path step: knock-in on every time node at or below the barrier of the
// current period, knock-out at or above the barrier on the observation nodes, the last
// observation at maturity; coupons for the elapsed time; discounting at r.
#include "monte_carlo.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Number of steps of a path: steps_per_year * T, whole. A product is meant to be a whole number
// of steps, so a value within rounding noise of an integer is that integer (252 * (243 / 252)
// is 243, not 242).
int path_steps(int steps_per_year, double T) {
    const double exact = steps_per_year * T;
    if (!(exact >= 0.5 && exact <= kMaxMonteCarloSteps + 0.5)) return 0;
    const double nearest = std::round(exact);
    const bool on_integer = std::fabs(exact - nearest) <= 1e-9 * nearest;
    return static_cast<int>(on_integer ? nearest : std::floor(exact));
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
    double T = 0;
    double div_coupon = 0;
    double floor_price = 0;
    double call_strike = 0;
    double call_participation = 0;
    // One entry per observation; the last one is maturity.
    std::vector<int> node;
    std::vector<double> log_ko, log_ki, ko, ki, coupon;
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
    t.T = b.T;
    t.div_coupon = p.div_coupon;
    t.floor_price = p.floor_price;
    t.call_strike = p.call_strike;
    t.call_participation = p.call_participation;
    // The coupon adjustment of the solver, on a copy.
    const double adj_rate = std::isnan(p.coupon_adj_rate) ? 0 : p.coupon_adj_rate;
    const double adj_share = std::isnan(p.coupon_adj_share) ? 1 : p.coupon_adj_share;
    const size_t n = p.obs_time.size();
    for (size_t i = 0; i < n; ++i) {
        // The solver's observation column: the time node nearest to the date.
        const int node = i + 1 == n ? steps : static_cast<int>(std::round(p.obs_time[i] / t.dt));
        t.node.push_back(node);
        t.ko.push_back(p.ko_barrier[i]);
        t.ki.push_back(p.ki_barrier[i]);
        t.log_ko.push_back(log_level(p.ko_barrier[i]));
        t.log_ki.push_back(log_level(p.ki_barrier[i]));
        t.coupon.push_back(p.coupon[i] + (1 - adj_share) * adj_rate);
    }
    return t;
}

double call_amount(const PathTerms& t, double S) {
    return t.call_participation > 0 ? t.call_participation * std::fmax(S - t.call_strike, 0) : 0;
}

// Discounted amount of a path knocked out at node k on observation j.
double knock_out_value(const PathTerms& t, int k, size_t j, double S) {
    const double time = k * t.dt;
    return std::exp(-t.r * time) * (t.principal + t.coupon[j] * time * t.S0 + call_amount(t, S));
}

// Discounted amount at maturity of a path that did not knock out before it.
double maturity_value(const PathTerms& t, bool knocked_in, double S) {
    const size_t last = t.node.size() - 1;
    const double stock_part = t.S0 - t.principal;  // what profit and loss mode subtracts
    double amount;
    if (S >= t.ko[last])
        amount = t.principal + t.coupon[last] * t.T * t.S0 + call_amount(t, S);
    else if (t.floor_price > 0 && S <= t.floor_price)
        amount = t.floor_price - stock_part;
    else if (knocked_in || S <= t.ki[last])
        amount = S - stock_part;
    else
        amount = t.principal + t.div_coupon * t.T * t.S0;
    return std::exp(-t.r * t.T) * amount;
}

// Walks one path; log_path[k - 1] is the log price at node k (node 0 is today at S0).
double path_value(const PathTerms& t, const std::vector<double>& log_path) {
    const size_t last = t.node.size() - 1;
    const double log_S0 = std::log(t.S0);
    size_t j = 0;  // current period: the first observation whose node lies ahead
    bool knocked_in = false;
    for (int k = 0; k < t.steps; ++k) {
        const double x = k == 0 ? log_S0 : log_path[k - 1];
        if (j < last && k == t.node[j]) {
            // A path at or above the barrier knocks out whether it has knocked in or not;
            // otherwise the next period begins and its knock-in barrier already holds today.
            if (x >= t.log_ko[j]) return knock_out_value(t, k, j, std::exp(x));
            while (j < last && t.node[j] <= k)
                ++j;
        }
        if (!knocked_in && x <= t.log_ki[j]) knocked_in = true;
    }
    return maturity_value(t, knocked_in, std::exp(log_path[t.steps - 1]));
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
    const double log_S0 = std::log(terms.S0);
    // Welford's running mean and sum of squared deviations.
    double mean = 0, m2 = 0;
    for (int path = 1; path <= paths; ++path) {
        deviates.fill(log_path.data(), steps);
        double x = log_S0;
        for (double& point : log_path) {
            x += terms.log_step_drift + terms.step_vol * point;
            point = x;
        }
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
