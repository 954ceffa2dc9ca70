// The accurate scheme's parts on the grid: barrier averages, the deterministic limit, Greeks and
// look-ups on non-uniform nodes.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "accurate_grid_terms.h"
#include "accurate_solver.h"
#include "feature_grid.h"
#include "param_kind.h"
#include "test_snowball.h"

namespace {

// The classic product on the accurate scheme.
TestSnowball accurate(int M = 300) {
    TestSnowball s = TestSnowball::classic().grid(M);
    s.scheme = PdeScheme::accurate;
    return s;
}

// Nodes 0, 50, 80, 100, 150, 200; one date at maturity, knock-out 150, knock-in 80.
AccurateGridTerms six_nodes() {
    AccurateGridTerms g;
    g.S = {0, 50, 80, 100, 150, 200};
    g.M = 5;
    g.N = 1;
    g.dt = g.T = 1;
    g.S0 = g.principal = 100;
    g.S_max = 200;
    g.col = {2};
    g.c = {0.1};
    g.set_barriers({150}, {80});
    return g;
}

}  // namespace

TEST(AccurateScheme, FeatureGridPutsEveryFeatureOnANodeAndNestsWhenRefined) {
    const FeatureGrid grid({103, 80, 80, 250, -1}, 200, 300, 0.18 * std::sqrt(1 / 252.0));
    const std::vector<double> nodes = grid.nodes();
    ASSERT_EQ(nodes.size(), 301u);
    EXPECT_EQ(nodes.front(), 0);
    EXPECT_EQ(nodes.back(), 200);
    for (double c : {80.0, 103.0})
        EXPECT_NE(std::find(nodes.begin(), nodes.end(), c), nodes.end()) << c;
    double finest = INFINITY, widest = 0;
    for (std::size_t j = 1; j < nodes.size(); ++j) {
        finest = std::min(finest, nodes[j] - nodes[j - 1]);
        widest = std::max(widest, nodes[j] - nodes[j - 1]);
    }
    EXPECT_LT(finest, 0.15);  // crowded at the barriers
    EXPECT_GT(widest, 2.5);   // sparse far from them
    const std::vector<double> fine = grid.refined().nodes();
    ASSERT_EQ(fine.size(), 601u);
    for (std::size_t j = 0; j < nodes.size(); ++j)
        ASSERT_EQ(fine[2 * j], nodes[j]) << j;
    EXPECT_FALSE(FeatureGrid({50, 80, 103, 150}, 200, 4, 0.01).valid()) << "5 segments, M = 4";
}

TEST(AccurateScheme, BarrierOnANodeAveragesThatNodeAndSnapsTheNodesBeyondIt) {
    const AccurateGridTerms g = six_nodes();
    std::vector<double> v = {0, 1, 2, 3, 4, 5}, w = {0, 10, 20, 30, 40, 50};
    g.apply_knock_in(0, v.data(), w.data());
    EXPECT_EQ(v[1], 10);  // below 80: knocked in
    EXPECT_EQ(v[2], 11);  // on 80: the mean of 2 and 20
    EXPECT_EQ(v[3], 3);   // above: untouched
    EXPECT_EQ(v[0], 0);   // the edge node belongs to the boundary
    g.apply_knock_out(0, 2, v.data(), w.data());
    EXPECT_EQ(v[4], 0.5 * (4 + 110));  // on 150: the mean with the redemption 100 + 10
    EXPECT_EQ(w[4], 0.5 * (40 + 110));
    EXPECT_EQ(v[5], 5);  // the edge node again
    std::vector<double> vt(6), wt(6);
    g.terminal_values(vt.data(), wt.data());
    EXPECT_EQ(vt[2], 0.5 * (80 - 0 + 100)) << "on the knock-in barrier at maturity: 80 or 100";
    EXPECT_EQ(wt[4], 0.5 * (150 + 110)) << "on the knock-out barrier at maturity: 150 or 110";
}

TEST(AccurateScheme, MovingTheKnockInBarrierWithinANodeSpacingMovesThePriceSmoothly) {
    // The implicit scheme's price stays flat while the barrier moves between two nodes and jumps
    // when it crosses one; here the price falls steadily as the barrier rises.
    TestSnowball s = accurate();
    std::vector<double> prices;
    for (int k = 0; k <= 20; ++k) {
        s.ki = 79.5 + 0.05 * k;
        prices.push_back(s.build().price());
    }
    for (std::size_t k = 2; k < prices.size(); ++k) {
        const double step = prices[k] - prices[k - 1];
        const double before = prices[k - 1] - prices[k - 2];
        EXPECT_LT(step, 0) << "ki = " << 79.5 + 0.05 * k;
        EXPECT_NEAR(step, before, 0.1 * std::fabs(before)) << "ki = " << 79.5 + 0.05 * k;
    }
}

TEST(AccurateScheme, WithoutVolatilityThePriceIsTheDiscountedDeterministicPayoff) {
    // The forward S0·e^(0.015 t) stays between the barriers: the dividend coupon at maturity, in
    // full value and as profit and loss.
    TestSnowball s = accurate();
    s.sigma = 0;
    const double T = s.life();
    for (double S0 : {100.0, 97.3}) {
        s.S0 = S0;
        s.payoff_mode = 0;
        const double discount = std::exp(-s.r * T);
        EXPECT_NEAR(s.build().price(), discount * S0 * (1 + s.div_coupon * T), 1e-6) << S0;
        s.payoff_mode = 1;
        EXPECT_NEAR(s.build().price(), discount * S0 * s.div_coupon * T, 1e-6) << S0;
    }
}

TEST(AccurateScheme, GreeksAndLookUpsReadTheNonUniformGrid) {
    TestSnowball s = accurate();
    s.S0 = 97.3;
    Snowball_PDE e = s.build();
    const PdeResult at_s0 = e.price_result();
    ASSERT_TRUE(e.compute_risk_grids());
    ASSERT_TRUE(e.compute_greeks(false));
    const std::vector<double>& nodes = e.grid_axes.nodes;
    ASSERT_EQ(nodes.size(), 301u);
    EXPECT_FALSE(e.grid_axes.is_uniform());
    const double T = e.params.T;
    EXPECT_NEAR(e.lookup_price(97.3, T, false), at_s0.price, 1e-3);  // a line between nodes
    EXPECT_NEAR(e.lookup_delta(97.3, T, false), at_s0.delta, 1e-3);
    EXPECT_NEAR(e.lookup_gamma(97.3, T, false), at_s0.gamma, 1e-3);

    // Between two nodes the look-up is the straight line between them.
    const std::size_t j = std::upper_bound(nodes.begin(), nodes.end(), 120.0) - nodes.begin();
    const double S = 0.25 * nodes[j - 1] + 0.75 * nodes[j];
    EXPECT_NEAR(e.lookup_price(S, T, false),
                0.25 * e.price_grid(int(j), 1) + 0.75 * e.price_grid(int(j) + 1, 1), 1e-12);
    EXPECT_TRUE(std::isnan(e.lookup_price(200.5, T, false)));

    // Vega and rho come from runs on the base run's nodes: the bumped run on those nodes gives
    // the vega grid cell by cell.
    PdeParams bumped = e.params;
    bumped.clear_outputs();
    bumped.sigma += e.vol_bump;
    NEWMAT::Matrix up;
    bumped.out_price = &up;
    const FeatureGrid base_grid = accurate_price_grid(e, e.params);
    auto_call_finite_diff_accurate(e, bumped, &base_grid);
    for (int row : {2, 150, 280})
        EXPECT_EQ(e.vega(row, 1), (up(row, 1) - e.price_grid(row, 1)) * e.vega_scale) << row;
}

TEST(AccurateScheme, ExtrapolatedGridsAndPriceCombineBothRunsOnTheCoarseNodes) {
    TestSnowball s = accurate(200);
    s.extrapolate = true;
    Snowball_PDE e = s.build();
    const PdeResult r = e.price_result();
    EXPECT_GT(r.error_estimate, 0);
    EXPECT_LT(r.error_estimate, 1e-3);
    ASSERT_FALSE(std::isnan(e.price_with_grids()));
    EXPECT_EQ(e.grid_axes.nodes.size(), 201u);
    EXPECT_NEAR(e.lookup_price(s.S0, e.params.T, false), r.price, 1e-3);
}

TEST(AccurateScheme, TheParameterSearchPricesWithTheAccurateScheme) {
    Snowball_PDE e = accurate(200).build();
    double coupon = 0;
    ASSERT_EQ(e.solve_param(100, kParamCouponDiv, coupon, 0.01, 0.3), 0);
    e.set_param(kParamCouponDiv, coupon);
    EXPECT_NEAR(e.price(), 100, e.solve_epsilon);
    EXPECT_EQ(e.params.scheme, PdeScheme::accurate) << "the search keeps the scheme";
}
