#include "accurate_grid_terms.h"

#include <algorithm>
#include <cmath>

namespace {

// A barrier this close to a node (relative to S_max) stands on it: the grid builder merged it.
constexpr double kOnNodeTolerance = 1e-12;

}  // namespace

BarrierNodes AccurateGridTerms::locate(double barrier) const {
    BarrierNodes b;
    const double tolerance = kOnNodeTolerance * S_max;
    b.first = static_cast<std::size_t>(std::lower_bound(S.begin(), S.end(), barrier - tolerance) -
                                       S.begin());
    b.on_node = b.first < S.size() && std::fabs(S[b.first] - barrier) <= tolerance;
    return b;
}

void AccurateGridTerms::set_barriers(const std::vector<double>& ko_barrier,
                                     const std::vector<double>& ki_barrier) {
    ko.clear();
    ki.clear();
    for (double b : ko_barrier)
        ko.push_back(locate(b));
    for (double b : ki_barrier)
        ki.push_back(locate(b));
}

double AccurateGridTerms::call_amount(double price) const {
    return has_call ? std::max((price - call_strike) * call_participation, 0.0) : 0.0;
}

double AccurateGridTerms::knock_out_value(std::size_t i, int n, double price) const {
    return principal + c[i] * column_time(n) * S0 + call_amount(price);
}

std::size_t AccurateGridTerms::date_from(int n) const {
    for (std::size_t i = 0; i < col.size(); ++i)
        if (col[i] >= n) return i;
    return col.size() - 1;
}

EdgeValues AccurateGridTerms::edges(double t, std::size_t i) const {
    EdgeValues e;
    e.lower = has_floor ? std::exp(-r * (T - t)) * floor_price - shift() : -shift();
    const double t_i = column_time(col[i]);
    const double redemption = principal + c[i] * t_i * S0 + call_amount(S_max);
    e.upper = std::exp(-r * (t_i - t)) * redemption;
    return e;
}

// The design's maturity rules (knocked out at or above the last barrier, the floor region at or
// below the floor, knocked in at or below the last knock-in barrier), read as one-sided limits.
void AccurateGridTerms::terminal_side(std::size_t j, bool right, double& v, double& w) const {
    const std::size_t last = col.size() - 1;
    const double price = S[j];
    const int ko_side = ko[last].side(j);
    const int ki_side = ki[last].side(j);
    const bool knocked_out = right ? ko_side >= 0 : ko_side > 0;
    const bool in_floor = has_floor && (right ? price < floor_price : price <= floor_price);
    const bool knocked_in = right ? ki_side < 0 : ki_side <= 0;
    if (knocked_out) {
        v = w = principal + c[last] * T * S0 + call_amount(price);
    } else if (in_floor) {
        v = w = floor_price - shift();
    } else {
        w = price - shift();
        v = knocked_in ? w : principal + div_coupon * T * S0;
    }
}

void AccurateGridTerms::terminal_values(double* v, double* w) const {
    for (int j = 0; j < M; ++j) {
        double vl, wl, vr, wr;
        terminal_side(j, false, vl, wl);
        terminal_side(j, true, vr, wr);
        v[j] = vl == vr ? vl : 0.5 * (vl + vr);
        w[j] = wl == wr ? wl : 0.5 * (wl + wr);
    }
}

void AccurateGridTerms::apply_knock_in(std::size_t period, double* v, const double* w) const {
    const BarrierNodes& b = ki[period];
    const std::size_t end = std::min<std::size_t>(b.first, M);
    for (std::size_t j = 1; j < end; ++j)
        v[j] = w[j];
    if (b.on_node && b.first >= 1 && b.first < std::size_t(M))
        v[b.first] = 0.5 * (v[b.first] + w[b.first]);
}

void AccurateGridTerms::apply_knock_out(std::size_t i, int n, double* v, double* w) const {
    const BarrierNodes& b = ko[i];
    const std::size_t start = std::max<std::size_t>(b.first + (b.on_node ? 1 : 0), 1);
    for (std::size_t j = start; j < std::size_t(M); ++j)
        v[j] = w[j] = knock_out_value(i, n, S[j]);
    if (b.on_node && b.first >= 1 && b.first < std::size_t(M)) {
        const double amount = knock_out_value(i, n, S[b.first]);
        v[b.first] = 0.5 * (v[b.first] + amount);
        w[b.first] = 0.5 * (w[b.first] + amount);
    }
}
