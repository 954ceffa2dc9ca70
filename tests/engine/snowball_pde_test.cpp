#include "snowball_pde.h"

#include <cmath>

#include <gtest/gtest.h>

#include "param_kind.h"
#include "test_snowball.h"

TEST(SnowballPde, ANewEngineHoldsTheDefaultsAndCannotPriceAnEmptySchedule) {
    Snowball_PDE e;
    EXPECT_TRUE(std::isnan(e.price()));
    // The key lists div_coupon .. call_participation, the mode, then S0 .. N.
    EXPECT_EQ(e.param_key(),
              "nan nan nan 0.150000 0.000000 0.000000 0.000000 0.000000 100.000000 200.000000 "
              "0.200000 0.050000 0.000000 1.000000 10.000000 10.000000");
    EXPECT_EQ(e.coupon_adj_share, 1.0);
    EXPECT_TRUE(e.has_ki);
    EXPECT_FALSE(e.product_set);
    EXPECT_TRUE(std::isnan(e.dS) && std::isnan(e.dt));
}

TEST(SnowballPde, ParamKeyListsTheDatesThenTheSixteenNumbersWithSixDecimals) {
    TestSnowball t = TestSnowball::small();
    t.obs_time = {0.5, 1.0};
    t.ko = 103;
    t.coupon = 0.16;
    t.div_coupon = 0.15;
    t.floor_price = 70;
    t.call_strike = 100;
    t.call_participation = 0.5;
    t.payoff_mode = 1;
    const Snowball_PDE e = t.build();
    EXPECT_EQ(e.param_key(),
              "0.500000-1.000000-103.000000 0.160000 80.000000 0.150000 70.000000 100.000000 "
              "0.500000 1.000000 100.000000 200.000000 0.200000 0.050000 0.000000 1.000000 "
              "10.000000 10.000000");
    EXPECT_EQ(e.Calculator_PDE::param_key(), "-");
}

TEST(SnowballPde, ParamKeyReadsAnyNonZeroPayoffModeAsProfitAndLoss) {
    Snowball_PDE e = TestSnowball::small().build();
    e.payoff_mode = 1;
    const std::string profit_and_loss = e.param_key();
    e.payoff_mode = 0.3;
    EXPECT_EQ(e.param_key(), profit_and_loss);
}

TEST(SnowballPde, SettingAKindChangesEveryDateAndSavingReadsTheFirstEntry) {
    Snowball_PDE e = TestSnowball::small().build();
    e.set_param(kParamKiBarrier, 70);
    EXPECT_EQ(e.ki_barrier, std::vector<double>({70, 70, 70}));
    e.set_param(kParamCouponDiv, 0.2);
    EXPECT_EQ(e.div_coupon, 0.2);
    EXPECT_EQ(e.coupon, std::vector<double>({0.2, 0.2, 0.2}));
    e.div_coupon = 0.3;
    e.save_param(kParamCouponDiv);
    EXPECT_EQ(e.solve_saved, 0.3);

    e.ko_barrier = {105, 103, 101};
    e.save_param(kParamKoBarrier);
    e.set_param(kParamKoBarrier, 90);
    e.restore_param(kParamKoBarrier);
    EXPECT_EQ(e.ko_barrier, std::vector<double>({105, 105, 105}));

    e.save_param(kParamSigma);
    e.set_param(kParamSigma, 0.5);
    EXPECT_EQ(e.params.sigma, 0.5);
    e.restore_param(kParamSigma);
    EXPECT_EQ(e.params.sigma, 0.2);

    const Snowball_PDE before = e;
    e.set_param(9, 1);
    e.save_param(9);
    e.restore_param(-1);
    EXPECT_EQ(e.param_key(), before.param_key());
    EXPECT_EQ(e.solve_saved, before.solve_saved);
}

TEST(SnowballPde, SetProductCopiesTheTermsAndClearsTheOutputPointers) {
    Snowball_PDE e = TestSnowball::small().build();
    e.price_with_grids();
    ASSERT_NE(e.params.out_price, nullptr);
    PdeParams base = e.params;
    base.sigma = 0.3;
    e.set_product(e.obs_time, e.ko_barrier, e.coupon, e.ki_barrier, 0.12, 0, 0, 0, 0.05, 0.9, 1,
                  base);
    EXPECT_EQ(e.params.out_price, nullptr);
    EXPECT_EQ(e.params.out_dS, nullptr);
    EXPECT_EQ(e.params.sigma, 0.3);
    EXPECT_EQ(e.obs_time.size(), 3u);  // its own vectors survive being passed back
    EXPECT_EQ(e.div_coupon, 0.12);
    EXPECT_EQ(e.payoff_mode, 1);
    EXPECT_TRUE(e.product_set);
}

TEST(SnowballPde, CopyTermsTakesTheProductButKeepsAdjustmentPayoffModeAndSearchSettings) {
    Snowball_PDE window = TestSnowball::small().build();
    window.floor_price = 60;
    window.params.sigma = 0.25;
    window.coupon_adj_rate = 0.05;
    window.payoff_mode = 1;
    window.price_with_grids();

    Snowball_PDE panel;
    panel.solve_epsilon = 0.01;
    panel.copy_terms(window);
    EXPECT_EQ(panel.obs_time, window.obs_time);
    EXPECT_EQ(panel.ki_barrier, window.ki_barrier);
    EXPECT_EQ(panel.floor_price, 60);
    EXPECT_EQ(panel.params.sigma, 0.25);
    EXPECT_EQ(panel.params.out_price, nullptr);
    EXPECT_TRUE(panel.product_set);
    EXPECT_EQ(panel.coupon_adj_rate, 0);
    EXPECT_EQ(panel.payoff_mode, 0);
    EXPECT_EQ(panel.solve_epsilon, 0.01);
}

TEST(SnowballPde, RiskGridsPriceTheThreeBlocksWithTheSameAdjustedCoupons) {
    Snowball_PDE e = TestSnowball::small().grid(20, 20).build();
    e.coupon_adj_share = 0.8;
    e.coupon_adj_rate = 0.05;
    ASSERT_TRUE(e.compute_risk_grids());
    EXPECT_EQ(e.coupon, std::vector<double>({0.1, 0.1, 0.1}));
    for (const NEWMAT::Matrix* g : {&e.price_grid, &e.price_ki, &e.price_vol_up, &e.price_ki_vol_up,
                                    &e.price_rate_up, &e.price_ki_rate_up, &e.delta, &e.rho_ki}) {
        EXPECT_EQ(g->Nrows(), 21);
        EXPECT_EQ(g->Ncols(), 21);
    }
    EXPECT_EQ(e.params_vol_up.out_dt, nullptr);
    EXPECT_EQ(e.params_rate_up.out_price, &e.price_rate_up);

    // Each bumped grid is the grid of a product with the raised coupons and the bumped input.
    Snowball_PDE raised = TestSnowball::small().grid(20, 20).build();
    raised.coupon = {0.11, 0.11, 0.11};
    raised.params.sigma += 0.01;
    raised.price_with_grids();
    EXPECT_NEAR(at(raised.price_grid, 10, 1), at(e.price_vol_up, 10, 1), 1e-12);
    raised.params.sigma -= 0.01;
    raised.params.r += 0.01;
    raised.price_with_grids();
    EXPECT_NEAR(at(raised.price_ki, 7, 5), at(e.price_ki_rate_up, 7, 5), 1e-12);
}

TEST(SnowballPde, RiskGridsFailOnAProductThatCannotBePricedAndKeepTheGreekGridSizes) {
    Snowball_PDE e = TestSnowball::small().build();
    ASSERT_TRUE(e.compute_risk_grids());
    e.set_grid_size(20, 20);
    e.params.sigma = -1;
    EXPECT_FALSE(e.compute_risk_grids());
    EXPECT_EQ(e.gamma.Nrows(), 11);
    EXPECT_EQ(e.theta_ki.Ncols(), 11);
}
