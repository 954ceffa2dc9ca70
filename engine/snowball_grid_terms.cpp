#include "snowball_grid_terms.h"

#include <algorithm>
#include <cmath>

#include "sp_logger.h"

namespace {

constexpr double kNodeTolerance = 1e-12;

// A node index clamped into [lo, hi]; the clamp changes nothing the grid can see, and keeps the
// conversion to int defined for any barrier.
int clamp_node(double x, int lo, int hi) {
    if (!(x > lo)) return lo;
    if (x > hi) return hi;
    return static_cast<int>(x);
}

}  // namespace

double snap_to_node(double x) {
    const double nearest = std::round(x);
    return std::fabs(x - nearest) <= kNodeTolerance * std::max(1.0, std::fabs(x)) ? nearest : x;
}

bool SnowballGridTerms::set_observation_columns(const std::vector<double>& obs_time) {
    col.clear();
    for (double t : obs_time) {
        if (!(t >= 0) || t > T) {
            sp_printf(&SpLogger::instance(), kLogError, "observation:%.5f exceed.", t);
            return false;
        }
        col.push_back(clamp_node(std::round(t / dt) + 1, 1, N + 1));
    }
    // A date whose column the walk has already passed (one sharing the column of the date before
    // it) is never left: the walk stays on it to maturity.
    walk_start.assign(1, 1);
    for (std::size_t i = 0; i + 1 < col.size() && col[i] >= walk_start[i]; ++i)
        walk_start.push_back(col[i] + 1);
    return !col.empty();
}

void SnowballGridTerms::set_nodes(const std::vector<double>& ko_barrier,
                                  const std::vector<double>& ki_barrier, double floor,
                                  double strike, double participation) {
    ko.clear();
    ki.clear();
    for (double b : ko_barrier)
        ko.push_back(clamp_node(std::ceil(snap_to_node(b / dS)), 1, M + 1));
    for (double b : ki_barrier)
        ki.push_back(clamp_node(std::floor(snap_to_node(b / dS)) + 1, 0, M + 1));
    set_floor_and_call(floor, strike, participation);
    floor_node = has_floor ? clamp_node(std::ceil(snap_to_node(floor / dS)), 0, M + 1) : -1;
    call_node = std::ceil(snap_to_node(strike / dS));
}

void SnowballGridTerms::set_coupons(const std::vector<double>& coupon, double adj_rate,
                                    double adj_share) {
    if (std::isnan(adj_rate)) adj_rate = 0;
    if (std::isnan(adj_share)) adj_share = 1;
    const double raise = (1 - adj_share) * adj_rate;
    c.clear();
    for (double x : coupon)
        c.push_back(x + raise);
}

double SnowballGridTerms::call_amount(int j) const {
    if (!has_call) return 0;
    return std::max(j - call_node, 0.0) * dS * call_participation;
}

double SnowballGridTerms::knock_out_value(std::size_t i, int n, int j) const {
    return principal + c[i] * (n - 1) * dt * S0 + call_amount(j);
}

double SnowballGridTerms::lower_boundary(int n) const {
    // 0 − shift, not −shift: in full-value mode the boundary is +0, which the grid files print
    // as "0.0000" rather than "-0.0000".
    if (!has_floor) return 0.0 - shift();
    return std::exp(-r * (N + 1 - n) * dt) * floor_price - shift();
}

double SnowballGridTerms::upper_boundary(int n) const {
    const std::size_t i =
        std::upper_bound(walk_start.begin(), walk_start.end(), n) - walk_start.begin() - 1;
    const double call = has_call ? std::max((S_max - call_strike) * call_participation, 0.0) : 0.0;
    const double redemption = principal + c[i] * (col[i] - 1) * dt * S0 + call;
    return std::exp(-r * (col[i] - n) * dt) * redemption;
}

void SnowballGridTerms::terminal_values(double* v, double* w) const {
    const std::size_t last = col.size() - 1;
    for (int j = 0; j < M; ++j) {
        if (j >= ko[last]) {
            v[j] = w[j] = principal + c[last] * T * S0 + call_amount(j);
        } else if (has_floor && j <= floor_node) {
            v[j] = w[j] = floor_price - shift();
        } else {
            w[j] = j * dS - shift();
            v[j] = j >= ki[last] ? principal + div_coupon * T * S0 : w[j];
        }
    }
}

void SnowballGridTerms::apply_knock_in(std::size_t period, double* v, const double* w) const {
    const int end = std::min(ki[period], M);
    for (int j = 1; j < end; ++j)
        v[j] = w[j];
}

void SnowballGridTerms::apply_knock_out(std::size_t i, int n, double* v, double* w) const {
    for (int j = M - 1; j >= ko[i]; --j)
        v[j] = w[j] = knock_out_value(i, n, j);
}
