// Look-ups read the grids on the axes they were computed with, whatever the grid sizes say now.
#include <cmath>

#include <gtest/gtest.h>

#include "test_snowball.h"

TEST(GridAxes, LookUpsAfterTheGridSizesChangedStillReadTheStoredGrid) {
    Snowball_PDE e = TestSnowball::small().grid(10, 10).build();
    ASSERT_TRUE(e.compute_risk_grids());
    ASSERT_TRUE(e.compute_greeks(false));
    const double today = e.lookup_price(100, 1, false);
    const double at_maturity = at(e.price_grid, 5, 11);  // node 5 (price 100), maturity column
    const double delta_mid = e.lookup_delta(110, 0.5, false);

    // Before the mend, N = 5 clamped tau = 0 to column 6 of 11, a mid-life column, and M = 5
    // put the prices above 100 off the grid.
    e.set_grid_size(5, 5);
    EXPECT_EQ(e.lookup_price(100, 0, false), at_maturity);
    EXPECT_EQ(e.lookup_price(100, 1, false), today);
    EXPECT_EQ(e.lookup_delta(110, 0.5, false), delta_mid);
    EXPECT_EQ(e.lookup_price(200, 0, true), at(e.price_ki, 10, 11)) << "M = 5";

    e.params.T = 2;  // tau = 0 stays maturity, not the middle of a two-year grid
    e.params.S_max = 400;
    EXPECT_EQ(e.lookup_price(100, 0, false), at_maturity);
}

TEST(GridAxes, ACopyReadsItsSourcesGridAndAFailedRunKeepsTheStoredAxes) {
    Snowball_PDE e = TestSnowball::small().grid(10, 10).build();
    ASSERT_FALSE(std::isnan(e.price_with_grids()));
    const Snowball_PDE copy = e;
    EXPECT_EQ(copy.lookup_price(100, 0, false), at(e.price_grid, 5, 11));

    // Terms that cannot be priced leave the grids and their axes as they were.
    e.set_grid_size(1, 40);
    EXPECT_TRUE(std::isnan(e.price_with_grids()));
    EXPECT_EQ(e.lookup_price(100, 0, false), at(e.price_grid, 5, 11));
}
