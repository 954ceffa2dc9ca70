#include "finite_diff_solver.h"

#include <climits>
#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "explicit_reference_scheme.h"
#include "grid_lookup.h"
#include "log_capture.h"
#include "test_snowball.h"
#include "tridiagonal_system.h"

namespace {

// Runs the solver with grid outputs and returns the two grids.
struct GridRun {
    double price;
    NEWMAT::Matrix V, W;
    double dS = NAN, dt = NAN;
};

GridRun run_with_grids(const Snowball_PDE& e) {
    GridRun g;
    PdeParams p = e.params;
    p.out_price = &g.V;
    p.out_price_ki = &g.W;
    p.out_dS = &g.dS;
    p.out_dt = &g.dt;
    g.price = auto_call_finite_diff_implicit(e.obs_time, e.ko_barrier, e.coupon, e.ki_barrier,
                                             e.div_coupon, e.floor_price, e.call_strike,
                                             e.call_participation, e.coupon_adj_rate,
                                             e.coupon_adj_share, e.payoff_mode, p);
    return g;
}

double relative_gap(double a, double b) {
    return std::fabs(a - b) / std::max(1.0, std::max(std::fabs(a), std::fabs(b)));
}

double max_relative_gap(const NEWMAT::Matrix& a, const NEWMAT::Matrix& b) {
    double worst = 0;
    for (int i = 1; i <= a.Nrows(); ++i)
        for (int j = 1; j <= a.Ncols(); ++j)
            worst = std::max(worst, relative_gap(a(i, j), b(i, j)));
    return worst;
}

}  // namespace

TEST(SolverNodes, KnockOutBarrierOnANodeKnocksOutThatNodeAndOneAboveItDoesNot) {
    Snowball_PDE e = TestSnowball::small().build();  // dS = 20
    const double ko_amount_at_maturity = 100 + 0.1 * 1.0 * 100;
    const double ko_amount_on_date_2 = 100 + 0.1 * 0.6 * 100;  // column 7, time 0.6
    GridRun on = run_with_grids(e);
    EXPECT_DOUBLE_EQ(at(on.V, 5, 11), ko_amount_at_maturity);
    EXPECT_NE(at(on.V, 4, 11), ko_amount_at_maturity);
    EXPECT_DOUBLE_EQ(at(on.V, 5, 7), ko_amount_on_date_2);
    EXPECT_DOUBLE_EQ(at(on.W, 5, 7), ko_amount_on_date_2);
    EXPECT_NE(at(on.V, 4, 7), ko_amount_on_date_2);

    e.ko_barrier = {101, 101, 101};
    GridRun above = run_with_grids(e);
    EXPECT_NE(at(above.V, 5, 11), ko_amount_at_maturity);
    EXPECT_DOUBLE_EQ(at(above.V, 6, 11), ko_amount_at_maturity);
    EXPECT_NE(at(above.V, 5, 7), ko_amount_on_date_2);
    EXPECT_DOUBLE_EQ(at(above.V, 6, 7), ko_amount_on_date_2);
}

TEST(SolverNodes, KnockInBarrierOnANodeKnocksInThatNodeAndTheNodesBelow) {
    Snowball_PDE e = TestSnowball::small().build();
    e.ko_barrier = {200, 200, 200};  // keep knock-out away from the nodes looked at
    GridRun g = run_with_grids(e);
    // At maturity the knocked-in value is the underlying, the other one the dividend coupon.
    EXPECT_DOUBLE_EQ(at(g.V, 4, 11), 80);
    EXPECT_DOUBLE_EQ(at(g.V, 5, 11), 100 + 0.05 * 100);
    for (int n = 1; n <= 10; ++n) {
        for (int j = 1; j <= 4; ++j)
            EXPECT_EQ(at(g.V, j, n), at(g.W, j, n)) << j << "," << n;
        EXPECT_NE(at(g.V, 5, n), at(g.W, 5, n)) << n;
    }
}

TEST(SolverNodes, KnockInOnAnObservationColumnUsesTheBarrierOfTheFollowingPeriod) {
    Snowball_PDE e = TestSnowball::small().build();
    e.ko_barrier = {200, 200, 200};
    e.ki_barrier = {40, 80, 80};  // column 4 is the first date: the barrier after it is 80
    GridRun g = run_with_grids(e);
    EXPECT_EQ(at(g.V, 4, 4), at(g.W, 4, 4));
    EXPECT_NE(at(g.V, 4, 3), at(g.W, 4, 3));
    EXPECT_EQ(at(g.V, 2, 3), at(g.W, 2, 3));
}

TEST(SolverNodes, ANodeIndexCountsABarrierOnANodeUpToRoundingNoise) {
    // With M = 58, 100 / (200 / 58) evaluates to 29.000000000000004.
    Snowball_PDE e = TestSnowball::small().grid(58, 10).build();
    e.ki_barrier = {0, 0, 0};
    GridRun g = run_with_grids(e);
    EXPECT_DOUBLE_EQ(at(g.V, 29, 11), 100 + 0.1 * 100);
    EXPECT_DOUBLE_EQ(at(g.V, 28, 11), 100 + 0.05 * 100);

    // With M = 145, 80 / (200 / 145) evaluates to 57.99999999999999.
    Snowball_PDE k = TestSnowball::small().grid(145, 10).build();
    GridRun h = run_with_grids(k);
    EXPECT_DOUBLE_EQ(at(h.V, 58, 11), 80);
    EXPECT_DOUBLE_EQ(at(h.V, 59, 11), 100 + 0.05 * 100);
}

TEST(SolverPayoff, FloorHoldsNodesUpToTheFloorNodeAndDiscountsOnTheLowerBoundary) {
    Snowball_PDE e = TestSnowball::small().build();
    e.floor_price = 70;  // k_f = ceil(70 / 20) = 4
    e.ko_barrier = {200, 200, 200};
    GridRun g = run_with_grids(e);
    for (int j = 0; j <= 4; ++j) {
        EXPECT_DOUBLE_EQ(at(g.V, j, 11), 70) << j;
        EXPECT_DOUBLE_EQ(at(g.W, j, 11), 70) << j;
    }
    EXPECT_DOUBLE_EQ(at(g.W, 5, 11), 100);
    for (int n = 1; n <= 10; ++n)
        EXPECT_DOUBLE_EQ(at(g.V, 0, n), std::exp(-0.05 * (11 - n) * 0.1) * 70);

    e.floor_price = 0;  // no floor: the lower boundary is worth nothing
    GridRun none = run_with_grids(e);
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(at(none.V, 0, n), 0);
}

TEST(SolverPayoff, CallParticipationAddsTheAmountAboveTheStrikeOnKnockOut) {
    Snowball_PDE e = TestSnowball::small().build();
    GridRun plain = run_with_grids(e);
    e.call_participation = 1;
    e.call_strike = 100;
    GridRun with_call = run_with_grids(e);
    // Node 7 is the price 140.
    EXPECT_DOUBLE_EQ(at(with_call.V, 7, 11) - at(plain.V, 7, 11), 40);
    EXPECT_DOUBLE_EQ(at(with_call.V, 7, 7) - at(plain.V, 7, 7), 40);
    EXPECT_DOUBLE_EQ(at(with_call.V, 5, 11), at(plain.V, 5, 11));
    EXPECT_DOUBLE_EQ(at(with_call.V, 10, 11), 100 + 0.1 * 100 + 100);
}

TEST(SolverPayoff, ProfitAndLossGridIsTheFullGridMinusS0AtMaturity) {
    Snowball_PDE e = TestSnowball::small().build();
    e.floor_price = 70;
    e.call_participation = 0.5;
    e.call_strike = 120;
    GridRun full = run_with_grids(e);
    e.payoff_mode = 1;
    GridRun pnl = run_with_grids(e);
    for (int j = 0; j <= 10; ++j) {
        EXPECT_DOUBLE_EQ(at(pnl.V, j, 11), at(full.V, j, 11) - 100) << j;
        EXPECT_DOUBLE_EQ(at(pnl.W, j, 11), at(full.W, j, 11) - 100) << j;
    }
}

TEST(SolverPrice, PriceIsReadAtS0OnANodeAndBetweenTheTwoNodesAroundItOtherwise) {
    Snowball_PDE e = TestSnowball::small().build();
    GridRun on = run_with_grids(e);
    EXPECT_EQ(on.price, at(on.V, 5, 1));

    e.params.S0 = 95;  // between the nodes 80 and 100
    GridRun off = run_with_grids(e);
    EXPECT_DOUBLE_EQ(off.price,
                     interpolate_between_nodes(95.0 / 20, at(off.V, 5, 1), at(off.V, 4, 1)));
    EXPECT_DOUBLE_EQ(off.price, 0.25 * at(off.V, 4, 1) + 0.75 * at(off.V, 5, 1));
}

TEST(SolverPrice, TwoRunsGiveTheSameValuesAndTheCouponAdjustmentIsNotAccumulated) {
    Snowball_PDE e = TestSnowball::small().build();
    e.coupon_adj_share = 0.8;
    e.coupon_adj_rate = 0.05;  // raises every coupon by 0.01 in the run
    const double first = e.price();
    EXPECT_EQ(e.price(), first);
    EXPECT_EQ(e.coupon, std::vector<double>({0.1, 0.1, 0.1}));

    Snowball_PDE raised = TestSnowball::small().build();
    raised.coupon = {0.11, 0.11, 0.11};
    EXPECT_NEAR(raised.price(), first, 1e-12);
}

TEST(SolverFailures, EveryFailedValidationGivesNaNAndOnlyANegativeDateIsLogged) {
    LogCapture log;
    const std::vector<std::pair<const char*, std::function<void(Snowball_PDE&)>>> cases = {
        {"S0 zero", [](Snowball_PDE& e) { e.params.S0 = 0; }},
        {"S0 at S_max", [](Snowball_PDE& e) { e.params.S0 = 200; }},
        {"S0 NaN", [](Snowball_PDE& e) { e.params.S0 = NAN; }},
        {"S_max NaN", [](Snowball_PDE& e) { e.params.S_max = NAN; }},
        {"S_max infinite", [](Snowball_PDE& e) { e.params.S_max = INFINITY; }},
        {"sigma negative", [](Snowball_PDE& e) { e.params.sigma = -0.01; }},
        {"sigma NaN", [](Snowball_PDE& e) { e.params.sigma = NAN; }},
        {"T zero", [](Snowball_PDE& e) { e.params.T = 0; }},
        {"T NaN", [](Snowball_PDE& e) { e.params.T = NAN; }},
        {"T infinite", [](Snowball_PDE& e) { e.params.T = INFINITY; }},
        {"two coupons", [](Snowball_PDE& e) { e.coupon.pop_back(); }},
        {"two knock-out barriers", [](Snowball_PDE& e) { e.ko_barrier.pop_back(); }},
        {"four knock-in barriers", [](Snowball_PDE& e) { e.ki_barrier.push_back(80); }},
        {"date after T", [](Snowball_PDE& e) { e.obs_time.back() = 1.0001; }},
        {"knock-out above S_max", [](Snowball_PDE& e) { e.ko_barrier[1] = 200.5; }},
        {"knock-in above S_max", [](Snowball_PDE& e) { e.ki_barrier[2] = 201; }},
        {"knock-out NaN", [](Snowball_PDE& e) { e.ko_barrier[0] = NAN; }},
        {"knock-in NaN", [](Snowball_PDE& e) { e.ki_barrier[0] = NAN; }},
        {"M one", [](Snowball_PDE& e) { e.params.M = 1; }},
        {"N zero", [](Snowball_PDE& e) { e.params.N = 0; }},
        {"no dates",
         [](Snowball_PDE& e) { e.obs_time = e.ko_barrier = e.coupon = e.ki_barrier = {}; }},
    };
    for (const auto& [name, change] : cases) {
        Snowball_PDE e = TestSnowball::small().build();
        change(e);
        const std::size_t lines_before = log.lines().size();
        EXPECT_TRUE(std::isnan(e.price_with_grids())) << name;
        EXPECT_EQ(log.lines().size(), lines_before) << name;
        EXPECT_EQ(e.price_grid.Nrows(), 0) << name;
    }

    Snowball_PDE e = TestSnowball::small().build();
    e.obs_time[0] = -0.01;
    EXPECT_TRUE(std::isnan(e.price_with_grids()));
    EXPECT_TRUE(log.contains("observation:-0.01000 exceed."));
    EXPECT_DOUBLE_EQ(e.dS, 20);  // the steps were stored before the dates were read
    EXPECT_DOUBLE_EQ(e.dt, 0.1);

    Snowball_PDE ok = TestSnowball::small().build();
    ok.price();
    EXPECT_TRUE(log.contains("auto_call_finite_diff_implicit(10, 10) uses 0 seconds."));
}

TEST(SolverFailures, GridsBeyondTheMemoryBoundAndAbsurdSizesAreRefusedWithoutThrowing) {
    Snowball_PDE e = TestSnowball::small().build();
    const auto refused = [&](int M, int N, bool grids) {
        Snowball_PDE run = e;
        run.set_grid_size(M, N);
        return std::isnan(grids ? run.price_with_grids() : run.price());
    };
    EXPECT_TRUE(refused(20000, 20000, true));  // 3.2 GB of grids
    EXPECT_TRUE(refused(INT_MAX, 10, false));
    EXPECT_TRUE(refused(10, INT_MAX, false));
    EXPECT_TRUE(refused(INT_MAX, INT_MAX, true));
    EXPECT_TRUE(refused(200000, 200000, false));
    EXPECT_FALSE(refused(20000, 20, false));  // price() alone needs no grid
    EXPECT_TRUE(grids_fit(1000, 1000, 16));
    EXPECT_FALSE(grids_fit(3000, 3000, 16));

    Snowball_PDE risk = TestSnowball::small().build();
    ASSERT_TRUE(risk.compute_risk_grids());
    risk.set_grid_size(3000, 3000);  // fine for one run, too much for sixteen grids
    EXPECT_FALSE(risk.compute_risk_grids());
    EXPECT_EQ(risk.delta.Nrows(), 11);
}

TEST(SolverOutputs, GridsAreStoredOnlyWherePointersAreSet) {
    Snowball_PDE e = TestSnowball::small().build();
    e.price();
    EXPECT_EQ(e.price_grid.Nrows(), 0);
    EXPECT_EQ(e.price_ki.Nrows(), 0);
    EXPECT_TRUE(std::isnan(e.dS));
    EXPECT_TRUE(std::isnan(e.dt));

    e.params.out_price_ki = &e.price_ki;
    e.price();
    EXPECT_EQ(e.price_grid.Nrows(), 0);
    EXPECT_EQ(e.price_ki.Nrows(), 11);
    EXPECT_EQ(e.price_ki.Ncols(), 11);
    EXPECT_TRUE(std::isnan(e.dt));

    const double with_grids = e.price_with_grids();
    EXPECT_EQ(e.price_grid.Nrows(), 11);
    EXPECT_DOUBLE_EQ(e.dS, 20);
    EXPECT_DOUBLE_EQ(e.dt, 0.1);
    EXPECT_EQ(with_grids, e.price());
}

TEST(SolverOutputs, ACopiedEngineNeverWritesIntoItsSource) {
    Snowball_PDE source = TestSnowball::small().build();
    source.price_with_grids();  // its base block now points at its own grids
    const NEWMAT::Matrix before = source.price_grid;
    Snowball_PDE copy = source;
    EXPECT_EQ(copy.params.out_price, nullptr);
    EXPECT_EQ(copy.params.out_dt, nullptr);
    copy.params.sigma = 0.4;
    copy.price();
    copy.set_grid_size(20, 20);
    copy.price_with_grids();
    copy.compute_risk_grids();
    EXPECT_EQ(source.price_grid.Nrows(), 11);
    EXPECT_EQ(max_relative_gap(source.price_grid, before), 0);
    EXPECT_DOUBLE_EQ(source.dS, 20);
    EXPECT_EQ(copy.price_grid.Nrows(), 21);

    Snowball_PDE assigned;
    assigned = source;
    EXPECT_EQ(assigned.params.out_price_ki, nullptr);
}

TEST(TridiagonalSystem, SolvingWhatTheMatrixMadeOfTwoVectorsGivesThemBack) {
    // Diagonally dominant rows of differing sizes, like the implicit step's; the entries outside
    // the matrix are NaN, so reading one spoils the result.
    const std::size_t n = 7;
    std::vector<double> lower(n), diag(n), upper(n), x(n), y(n);
    for (std::size_t k = 0; k < n; ++k) {
        lower[k] = -0.3 - 0.1 * k;
        diag[k] = 1.5 + 0.2 * k;
        upper[k] = -0.2 - 0.05 * k;
        x[k] = 10 * std::sin(k + 1.0);
        y[k] = double(k * k) - 3;
    }
    lower[0] = upper[n - 1] = NAN;
    auto apply = [&](const std::vector<double>& v) {
        std::vector<double> out(n);
        for (std::size_t k = 0; k < n; ++k)
            out[k] = diag[k] * v[k] + (k > 0 ? lower[k] * v[k - 1] : 0) +
                     (k + 1 < n ? upper[k] * v[k + 1] : 0);
        return out;
    };
    std::vector<double> bx = apply(x), by = apply(y);
    TridiagonalSystem system;
    system.factorise(lower.data(), diag.data(), upper.data(), n);
    ASSERT_EQ(system.size(), n);
    system.solve_pair(bx.data(), by.data());
    for (std::size_t k = 0; k < n; ++k) {
        EXPECT_NEAR(bx[k], x[k], 1e-12) << "row " << k;
        EXPECT_NEAR(by[k], y[k], 1e-12) << "row " << k;
    }
}

// The tridiagonal solve against the explicit inverse of the interior block, on products that
// exercise every feature of the scheme; S0 stays on a node, where both read the same value.
TEST(SolverReference, MatchesTheExplicitInverseSchemeOnPricesAndWholeGrids) {
    struct Case {
        const char* name;
        int M, N;
        std::function<void(Snowball_PDE&)> change;
    };
    const std::vector<Case> cases = {
        {"plain", 10, 10, [](Snowball_PDE&) {}},
        {"one interior node", 2, 10, [](Snowball_PDE&) {}},
        {"floor", 20, 30, [](Snowball_PDE& e) { e.floor_price = 70; }},
        {"call", 40, 25,
         [](Snowball_PDE& e) {
             e.call_participation = 0.8;
             e.call_strike = 105;
         }},
        {"step-down", 50, 60,
         [](Snowball_PDE& e) {
             e.ko_barrier = {104, 102, 100};
             e.coupon = {0.12, 0.1, 0.08};
             e.ki_barrier = {84, 80, 76};
         }},
        {"profit and loss", 20, 20,
         [](Snowball_PDE& e) {
             e.payoff_mode = 1;
             e.floor_price = 50;
         }},
        {"dividend yield", 40, 40,
         [](Snowball_PDE& e) {
             e.params.q = 0.03;
             e.params.r = 0.02;
         }},
        {"coupon adjustment", 10, 40,
         [](Snowball_PDE& e) {
             e.coupon_adj_share = 0.7;
             e.coupon_adj_rate = 0.04;
         }},
        {"two dates on one column", 20, 10,
         [](Snowball_PDE& e) {
             e.obs_time = {0.3, 0.32, 1};
         }},
        {"dates out of order", 20, 10,
         [](Snowball_PDE& e) {
             e.obs_time = {0.6, 0.3, 1};
         }},
        {"date today and high volatility", 20, 12,
         [](Snowball_PDE& e) {
             e.obs_time = {0, 0.5, 1};
             e.params.sigma = 0.6;
         }},
    };
    for (const Case& c : cases) {
        Snowball_PDE e = TestSnowball::small().grid(c.M, c.N).build();
        c.change(e);
        const ReferenceRun ref = explicit_reference_scheme(e);
        const GridRun ours = run_with_grids(e);
        EXPECT_LT(relative_gap(ours.price, ref.price), 1e-9)
            << c.name << ": " << ours.price << " vs " << ref.price;
        EXPECT_LT(max_relative_gap(ours.V, ref.V), 1e-9) << c.name;
        EXPECT_LT(max_relative_gap(ours.W, ref.W), 1e-9) << c.name;
    }
}
