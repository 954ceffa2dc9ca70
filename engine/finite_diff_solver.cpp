#include "finite_diff_solver.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <limits>

#include "grid_lookup.h"
#include "grid_writer.h"
#include "price_grid_axes.h"
#include "snowball_grid_terms.h"
#include "sp_logger.h"
#include "tridiagonal_system.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool any_above(const std::vector<double>& v, double bound) {
    return std::any_of(v.begin(), v.end(), [bound](double x) { return x > bound; });
}

// The implicit step's operator on the interior nodes j = 1 .. M−1, with a = r − q, factorised once
// per run. The coefficients that tie the first and last interior nodes to the boundary nodes
// move the boundary values to the right-hand side of every step.
struct ImplicitOperator {
    TridiagonalSystem system;
    double first_lower = 0;  // l_1
    double last_upper = 0;   // u_(M−1)

    ImplicitOperator(int M, double dt, double sigma, double r, double q) {
        const double a = r - q;
        const double s2 = sigma * sigma;
        const std::size_t n = static_cast<std::size_t>(M - 1);
        std::vector<double> lower(n), diag(n), upper(n);
        for (std::size_t k = 0; k < n; ++k) {
            const double j = double(k + 1);
            lower[k] = 0.5 * dt * j * (a - s2 * j);
            diag[k] = 1 + dt * (s2 * j * j + r);
            upper[k] = 0.5 * dt * j * (-a - s2 * j);
        }
        system.factorise(lower.data(), diag.data(), upper.data(), n);
        first_lower = lower.front();
        last_upper = upper.back();
    }

    // Column n+1 to column n for both products; v and w hold nodes 0 .. M, and their boundary
    // nodes receive the values of column n.
    void step(double lower_value, double upper_value, int M, double* v, double* w) const {
        const double h_first = first_lower * lower_value;
        const double h_last = last_upper * upper_value;
        v[1] -= h_first;
        w[1] -= h_first;
        v[M - 1] -= h_last;
        w[M - 1] -= h_last;
        system.solve_pair(v + 1, w + 1);
        v[0] = w[0] = lower_value;
        v[M] = w[M] = upper_value;
    }
};

// The price at S0, on the straight line between the two nodes around it.
double value_at(const std::vector<double>& column, double S0, double dS) {
    const double x = snap_to_node(S0 / dS);
    const std::size_t below = static_cast<std::size_t>(std::floor(x));
    const std::size_t above = std::min(static_cast<std::size_t>(std::ceil(x)), column.size() - 1);
    return interpolate_between_nodes(x, column[above], column[std::min(below, above)]);
}

SnowballGridTerms grid_of(const PdeParams& p, double payoff_mode, double div_coupon) {
    SnowballGridTerms g;
    g.set_run(p, payoff_mode, div_coupon);
    g.dS = p.S_max / p.M;
    return g;
}

double run(const std::vector<double>& obs_time, const std::vector<double>& ko_barrier,
           const std::vector<double>& coupon, const std::vector<double>& ki_barrier,
           double div_coupon, double floor_price, double call_strike, double call_participation,
           double coupon_adj_rate, double coupon_adj_share, double payoff_mode, PdeParams& p,
           const CancelToken* cancel, PricingProblem& problem) {
    // 1. validation. An observation time below zero (and not above T) is reported later, with a
    // log line, once the steps are stored.
    problem = check_pricing_terms(obs_time, ko_barrier, coupon, ki_barrier, div_coupon, p,
                                  stored_grid_count(p));
    const bool logged_later =
        problem == PricingProblem::ObservationOutsideLife && !any_above(obs_time, p.T);
    if (problem != PricingProblem::None && !logged_later) return kNaN;
    if (std::isnan(p.q)) p.q = 0;
    const std::time_t started = std::time(nullptr);

    // 2. grid steps, stored at once
    SnowballGridTerms g = grid_of(p, payoff_mode, div_coupon);
    if (p.out_dS) *p.out_dS = g.dS;
    if (p.out_dt) *p.out_dt = g.dt;

    // 3. observation columns, node indices and the run's coupons
    if (!g.set_observation_columns(obs_time)) return kNaN;
    g.set_nodes(ko_barrier, ki_barrier, floor_price, call_strike, call_participation);
    g.set_coupons(coupon, coupon_adj_rate, coupon_adj_share);

    // 4. maturity column and the boundary at the top of the grid
    const int M = p.M;
    const int N = p.N;
    std::vector<double> v(static_cast<std::size_t>(M) + 1), w(v.size());
    g.terminal_values(v.data(), w.data());
    v[M] = w[M] = g.upper_boundary(N + 1);
    GridWriter v_grid(p.out_price, M, N);
    GridWriter w_grid(p.out_price_ki, M, N);
    if (p.out_axes) *p.out_axes = PriceGridAxes::uniform(M, g.dS, N, g.dt, p.T);
    v_grid.write_column(N + 1, v.data());
    w_grid.write_column(N + 1, w.data());

    // 5. backward induction: step, then knock-in, then knock-out on an observation column
    const ImplicitOperator op(M, g.dt, p.sigma, p.r, p.q);
    std::size_t period = g.col.size() - 1;
    for (int n = N; n >= 1; --n) {
        if (cancel_requested(cancel)) {
            discard_outputs(p);
            sp_printf(&SpLogger::instance(), kLogInfo,
                      "auto_call_finite_diff_implicit(%d, %d) cancelled.", M, N);
            problem = PricingProblem::Cancelled;
            return kNaN;
        }
        op.step(g.lower_boundary(n), g.upper_boundary(n), M, v.data(), w.data());
        g.apply_knock_in(period, v.data(), w.data());
        if (period > 0 && n == g.col[period - 1]) {
            g.apply_knock_out(period - 1, n, v.data(), w.data());
            --period;
        }
        v_grid.write_column(n, v.data());
        w_grid.write_column(n, w.data());
    }

    // 6. price at S0 today
    const double result = value_at(v, p.S0, g.dS);
    sp_printf(&SpLogger::instance(), kLogInfo,
              "auto_call_finite_diff_implicit(%d, %d) uses %d seconds.", M, N,
              static_cast<int>(std::time(nullptr) - started));
    return result;
}

}  // namespace

int stored_grid_count(const PdeParams& p) {
    return (p.out_price != nullptr) + (p.out_price_ki != nullptr);
}

void discard_outputs(PdeParams& p) {
    if (p.out_price) p.out_price->CleanUp();
    if (p.out_price_ki) p.out_price_ki->CleanUp();
    if (p.out_dS) *p.out_dS = kNaN;
    if (p.out_dt) *p.out_dt = kNaN;
    if (p.out_axes) *p.out_axes = PriceGridAxes();
}

double auto_call_finite_diff_implicit(
    const std::vector<double>& obs_time, const std::vector<double>& ko_barrier,
    const std::vector<double>& coupon, const std::vector<double>& ki_barrier, double div_coupon,
    double floor_price, double call_strike, double call_participation, double coupon_adj_rate,
    double coupon_adj_share, double payoff_mode, PdeParams& params, const CancelToken* cancel,
    PricingProblem* problem) {
    PricingProblem reason = PricingProblem::None;
    double price;
    try {
        price = run(obs_time, ko_barrier, coupon, ki_barrier, div_coupon, floor_price, call_strike,
                    call_participation, coupon_adj_rate, coupon_adj_share, payoff_mode, params,
                    cancel, reason);
    } catch (...) {
        // An allocation the bounds let through can still fail on a loaded machine.
        discard_outputs(params);
        reason = PricingProblem::OutOfMemory;
        price = kNaN;
    }
    if (problem) *problem = reason;
    return price;
}
