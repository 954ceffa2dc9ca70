// The univariate sweep plan, the stress grid and the heat levels, without widgets.
#include <cmath>

#include <gtest/gtest.h>

#include "heat_scale.h"
#include "panel_test_support.h"
#include "point_count.h"
#include "stress.h"
#include "sweep.h"

namespace {

TEST(PlanSweep, EndBelowStartZeroStepAndNaNGiveNoPoints) {
    EXPECT_EQ(plan_sweep(1, 0, 0.05).count, 0);
    EXPECT_EQ(plan_sweep(0, 1, 0).count, 0);
    EXPECT_EQ(plan_sweep(0, std::nan(""), 0.05).count, 0);
}

TEST(RunSweep, OnEqualDistancesTheEarlierPointWins) {
    // A code that is no parameter kind changes nothing, so every point has the same price.
    const Snowball_PDE e = TestSnowball::quarterly().grid(20, 20).build();
    const SweepOutcome out = run_sweep(e, 9, plan_sweep(0, 1, 0.25), 0);
    ASSERT_EQ(out.status, SweepOutcome::Ok);
    ASSERT_EQ(out.prices.size(), 5u);
    EXPECT_EQ(out.prices[0], out.prices[4]);
    EXPECT_EQ(out.best, 0);
}

TEST(RunSweep, LeavesTheEnginesParameterAsItWas) {
    const Snowball_PDE e = TestSnowball::quarterly().grid(20, 20).build();
    run_sweep(e, 3, plan_sweep(0.1, 0.3, 0.1), 100);
    EXPECT_EQ(e.params.sigma, 0.18);
}

TEST(ComputeStress, ReadsEachRowOffOneSolutionAtItsVolatility) {
    const Snowball_PDE e = TestSnowball::quarterly().grid(40, 40).build();
    const StressGrid grid{3, 2, 80, 20, 0.1, 0.2, 0.5};
    const StressResult r = compute_stress(e, grid);
    ASSERT_EQ(r.value.size(), 2u);
    ASSERT_EQ(r.gamma[1].size(), 3u);
    const Snowball_PDE ref = solvedAtVolatility(e, grid.volatility(1));
    EXPECT_EQ(r.value[1][2], ref.lookup_price(120, 0.5, false));
    EXPECT_EQ(r.delta[1][0], ref.lookup_delta(80, 0.5, false));
    EXPECT_EQ(r.gamma[1][1], ref.lookup_gamma(100, 0.5, false));
    EXPECT_EQ(e.params.sigma, 0.18);
}

TEST(ComputeStress, APriceOffTheGridAndAnUnpricedRowAreNaN) {
    const Snowball_PDE e = TestSnowball::quarterly().grid(20, 20).build();
    // Volatility -0.1 cannot be priced; its row must not repeat another row's grids.
    const StressResult r = compute_stress(e, {2, 2, 100, 150, 0.2, -0.3, 0.5});
    EXPECT_FALSE(std::isnan(r.value[0][0]));
    EXPECT_TRUE(std::isnan(r.value[0][1])) << "250 lies above the grid's 200";
    EXPECT_TRUE(std::isnan(r.value[1][0]));
    EXPECT_TRUE(std::isnan(r.delta[1][0]));
}

TEST(HeatScale, SpreadsEachSideOverEightLevels) {
    const HeatScale s({{0.25, 0.5, 2.0}, {-0.5, -0.25, 1.0}}, 0);
    EXPECT_EQ(s.level(0.25), 1);
    EXPECT_EQ(s.level(0.5), 2);
    EXPECT_EQ(s.level(2.0), 8);
    EXPECT_EQ(s.level(-0.5), -8);
    EXPECT_EQ(s.level(-0.25), -1);
}

TEST(HeatScale, ValuesAllAboveTheCentreAreRedsFromOneToEight) {
    const HeatScale s({{101, 102, 103}, {104, 105, 108}}, 100);
    EXPECT_EQ(s.level(101), 1);
    EXPECT_EQ(s.level(108), 8);
    for (double v : {102.0, 103.0, 104.0, 105.0}) {
        EXPECT_GE(s.level(v), 1);
        EXPECT_LE(s.level(v), 8);
    }
}

TEST(HeatScale, ASideOfEqualValuesIsOneStepFromTheCentre) {
    const HeatScale s({{0.3, 0.3, -0.2, -0.2}}, 0);
    EXPECT_EQ(s.level(0.3), 1);
    EXPECT_EQ(s.level(-0.2), -1);
}

TEST(HeatScale, TheCentreNaNAndInfinityTakeTheNeutralLevel) {
    const HeatScale s({{0, std::nan(""), INFINITY, 1, -1}}, 0);
    EXPECT_EQ(s.level(0), 0);
    EXPECT_EQ(s.level(std::nan("")), 0);
    EXPECT_EQ(s.level(INFINITY), 0);
    EXPECT_EQ(s.level(1), 1) << "an infinite value does not stretch the scale";
}

}  // namespace
