#include "accurate_solver.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>
#include <vector>

#include "accurate_grid_terms.h"
#include "cubic_readout.h"
#include "finite_diff_solver.h"
#include "grid_writer.h"
#include "nonuniform_operator.h"
#include "price_grid_axes.h"
#include "sdirk_stepper.h"
#include "snowball_grid_terms.h"
#include "snowball_pde.h"
#include "sp_logger.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Peaks of the node density are at least this wide in volatility units, so that a product with
// no volatility still gets a grid.
constexpr double kMinPeakVolatility = 0.05;

// Sub-steps of the day that follows a jump of the values (maturity or a knock-out date) going
// back in time, of the day after that, and of the other days; the knocked-in product, which has
// no daily knock-in jump, takes one step on the other days.
int day_parts(int days_after_jump, bool knocked_in, int at_least) {
    if (days_after_jump == 0) return 8;
    if (days_after_jump == 1) return std::max(4, at_least);
    return std::max(knocked_in ? 1 : 2, at_least);
}

AccurateGridTerms terms_on(const Snowball_PDE& e, const PdeParams& p, std::vector<double> nodes) {
    AccurateGridTerms g;
    g.set_run(p, e.payoff_mode, e.div_coupon);
    g.set_floor_and_call(e.floor_price, e.call_strike, e.call_participation);
    g.M = static_cast<int>(nodes.size()) - 1;
    g.S = std::move(nodes);
    return g;
}

// The observation columns and adjusted coupons, as the implicit scheme counts them.
bool set_dates(const Snowball_PDE& e, AccurateGridTerms& g) {
    SnowballGridTerms dates;
    dates.N = g.N;
    dates.dt = g.dt;
    dates.T = g.T;
    if (!dates.set_observation_columns(e.obs_time)) return false;
    dates.set_coupons(e.coupon, e.coupon_adj_rate, e.coupon_adj_share);
    g.col = dates.col;
    g.c = dates.c;
    return true;
}

// The sub-steps of the time step from column n + 1 back to column n. Inside the step the next
// knock-out date is the first at or after column n + 1; at its end, the first at or after
// column n.
class StepBack {
  public:
    StepBack(const AccurateGridTerms& g, int n) : g_(g), n_(n) {
        inside_ = g.date_from(n + 1);
        at_end_ = g.date_from(n);
    }

    // Sub-step s (counted from the start of the step, back in time) of `parts` on `values`.
    SubStep sub_step(double* values, int parts, int s) const {
        const double tau = g_.dt / parts;
        const int left = parts - 1 - s;  // sub-steps still to go after this one
        const double t_end = g_.column_time(n_) + left * tau;
        return {values, parts, g_.edges(SdirkStepper::stage_time(t_end, tau), inside_),
                g_.edges(t_end, left == 0 ? at_end_ : inside_)};
    }

  private:
    const AccurateGridTerms& g_;
    int n_;
    std::size_t inside_, at_end_;
};

// v_parts sub-steps on v and w_parts (no more) on w, side by side while both have one to take.
void step_back(const AccurateGridTerms& g, SdirkStepper& stepper, int n, int v_parts, double* v,
               int w_parts, double* w) {
    const StepBack step(g, n);
    for (int s = 0; s < v_parts; ++s) {
        if (s < w_parts)
            stepper.advance(step.sub_step(v, v_parts, s), step.sub_step(w, w_parts, s));
        else
            stepper.advance(step.sub_step(v, v_parts, s));
    }
}

// Nodes on the side of a barrier that S lies on, never the node on the barrier itself.
void keep_side(const BarrierNodes& b, double barrier, double S, std::size_t& lo, std::size_t& hi) {
    if (S > barrier) {
        lo = std::max(lo, b.first + (b.on_node ? 1 : 0));
    } else if (b.first > 0) {
        hi = std::min(hi, b.first - 1);
    } else {
        hi = 0;
    }
}

// Today's value at S0: knocked out at once on an observation today at or above its barrier; the
// knocked-in product at or below today's knock-in barrier; otherwise the cubic on the side of the
// barriers S0 lies on.
PdeResult read_today(const Snowball_PDE& e, const AccurateGridTerms& g, const double* v,
                     const double* w, std::size_t ki_period, long ko_date) {
    const double S0 = g.S0;
    std::size_t lo = 0, hi = static_cast<std::size_t>(g.M);
    if (ko_date >= 0) {
        const std::size_t i = static_cast<std::size_t>(ko_date);
        if (S0 >= e.ko_barrier[i]) {
            const double slope = g.has_call && S0 > g.call_strike ? g.call_participation : 0.0;
            return {g.knock_out_value(i, 1, S0), slope, 0.0, kNaN};
        }
        keep_side(g.ko[i], e.ko_barrier[i], S0, lo, hi);
    }
    const bool knocked_in = S0 <= e.ki_barrier[ki_period];
    if (!knocked_in) keep_side(g.ki[ki_period], e.ki_barrier[ki_period], S0, lo, hi);
    const CubicReadout c = read_cubic(g.S, knocked_in ? w : v, S0, lo, hi);
    return {c.value, c.slope, c.curvature, kNaN};
}

PdeResult run(const Snowball_PDE& e, PdeParams& p, const FeatureGrid& grid, int min_parts,
              PricingProblem& problem) {
    // 1. validation, as for the implicit scheme
    problem = check_pricing_terms(e.obs_time, e.ko_barrier, e.coupon, e.ki_barrier, e.div_coupon, p,
                                  stored_grid_count(p));
    if (problem != PricingProblem::None) return {};
    if (std::isnan(p.q)) p.q = 0;
    const std::time_t started = std::time(nullptr);

    // 2. the grid and the steps
    std::vector<double> nodes = grid.nodes();
    if (nodes.size() < 3 || grid.intervals() != p.M) {
        // Every barrier, the strike and the floor start a segment of at least one interval.
        problem = PricingProblem::TooFewPriceSteps;
        return {};
    }
    const int M = p.M;
    const int N = p.N;
    if (p.out_dS) *p.out_dS = kNaN;
    if (p.out_dt) *p.out_dt = p.T / N;

    // 3. dates, coupons and barrier nodes
    AccurateGridTerms g = terms_on(e, p, std::move(nodes));
    if (!set_dates(e, g)) {
        problem = PricingProblem::ObservationOutsideLife;
        return {};
    }
    g.set_barriers(e.ko_barrier, e.ki_barrier);

    // 4. maturity column and the edge at the top of the grid
    std::vector<double> v(static_cast<std::size_t>(M) + 1), w(v.size());
    g.terminal_values(v.data(), w.data());
    v[M] = w[M] = g.edges(g.T, g.date_from(N + 1)).upper;
    GridWriter v_grid(p.out_price, M, N);
    GridWriter w_grid(p.out_price_ki, M, N);
    if (p.out_axes) *p.out_axes = PriceGridAxes::on_nodes(g.S, N, g.dt, p.T);
    v_grid.write_column(N + 1, v.data());
    w_grid.write_column(N + 1, w.data());

    // 5. backward induction: sub-steps, then knock-in, then knock-out on an observation column
    const NonUniformOperator op(g.S, p.sigma, p.r, p.q);
    SdirkStepper stepper(op, g.dt, M);
    std::size_t period = g.col.size() - 1;
    int last_jump = N + 1;
    std::size_t today_ki = period;
    long today_ko = -1;
    for (int n = N; n >= 1; --n) {
        if (cancel_requested(e.cancel_token)) {
            discard_outputs(p);
            problem = PricingProblem::Cancelled;
            return {};
        }
        const int after_jump = last_jump - (n + 1);
        const int v_parts = day_parts(after_jump, false, min_parts);
        const int w_parts = day_parts(after_jump, true, min_parts);
        step_back(g, stepper, n, v_parts, v.data(), w_parts, w.data());
        g.apply_knock_in(period, v.data(), w.data());
        today_ki = period;
        if (period > 0 && n == g.col[period - 1]) {
            g.apply_knock_out(period - 1, n, v.data(), w.data());
            if (n == 1) today_ko = static_cast<long>(period - 1);
            --period;
            last_jump = n;
        }
        v_grid.write_column(n, v.data());
        w_grid.write_column(n, w.data());
    }

    // 6. price and Greeks at S0 today
    const PdeResult result = read_today(e, g, v.data(), w.data(), today_ki, today_ko);
    sp_printf(&SpLogger::instance(), kLogInfo,
              "auto_call_finite_diff_accurate(%d, %d) uses %d seconds.", M, N,
              static_cast<int>(std::time(nullptr) - started));
    return result;
}

// target(i, n) = (4·fine(2i, n) − target(i, n)) / 3 on the coarse nodes i, which are the even
// nodes of the fine grid.
void extrapolate_grid(NEWMAT::Matrix& target, const NEWMAT::Matrix& fine) {
    const int rows = target.Nrows();
    const int cols = target.Ncols();
    if (fine.Nrows() != 2 * rows - 1 || fine.Ncols() != cols) return;
    double* t = target.Store();
    const double* f = fine.Store();
    for (int i = 0; i < rows; ++i)
        for (int n = 0; n < cols; ++n)
            t[i * cols + n] = (4 * f[2 * i * cols + n] - t[i * cols + n]) / 3;
}

double richardson(double coarse, double fine) {
    return (4 * fine - coarse) / 3;
}

PdeResult run_extrapolated(const Snowball_PDE& e, PdeParams& p, const FeatureGrid& grid,
                           int min_parts, PricingProblem& problem) {
    const PdeResult coarse = run(e, p, grid, min_parts, problem);
    if (std::isnan(coarse.price)) return coarse;
    PdeParams fine_params = p;
    fine_params.clear_outputs();
    fine_params.M = 2 * p.M;
    NEWMAT::Matrix fine_v, fine_w;
    if (p.out_price) fine_params.out_price = &fine_v;
    if (p.out_price_ki) fine_params.out_price_ki = &fine_w;
    const PdeResult fine = run(e, fine_params, grid.refined(), min_parts, problem);
    if (std::isnan(fine.price)) {
        discard_outputs(p);
        return {};
    }
    if (p.out_price) extrapolate_grid(*p.out_price, fine_v);
    if (p.out_price_ki) extrapolate_grid(*p.out_price_ki, fine_w);
    return {richardson(coarse.price, fine.price), richardson(coarse.delta, fine.delta),
            richardson(coarse.gamma, fine.gamma), std::fabs(fine.price - coarse.price) / 3};
}

}  // namespace

FeatureGrid accurate_price_grid(const Snowball_PDE& e, const PdeParams& p) {
    std::vector<double> features = e.ko_barrier;
    features.insert(features.end(), e.ki_barrier.begin(), e.ki_barrier.end());
    if (e.call_participation > 0) features.push_back(e.call_strike);
    if (e.floor_price > 0) features.push_back(e.floor_price);
    const double width = std::max(p.sigma, kMinPeakVolatility) * std::sqrt(p.T / p.N);
    return FeatureGrid(features, p.S_max, p.M, width);
}

PdeResult auto_call_finite_diff_accurate(const Snowball_PDE& product, PdeParams& params,
                                         const FeatureGrid* grid, int min_day_parts,
                                         PricingProblem* problem) {
    PricingProblem local = PricingProblem::None;
    PricingProblem& out = problem ? *problem : local;
    try {
        const FeatureGrid own = grid ? FeatureGrid() : accurate_price_grid(product, params);
        const FeatureGrid& used = grid ? *grid : own;
        return params.extrapolate ? run_extrapolated(product, params, used, min_day_parts, out)
                                  : run(product, params, used, min_day_parts, out);
    } catch (...) {
        // An allocation the bounds let through can still fail on a loaded machine.
        discard_outputs(params);
        out = PricingProblem::OutOfMemory;
        return {};
    }
}
