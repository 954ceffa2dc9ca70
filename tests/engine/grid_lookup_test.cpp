// Reading values off the grids at an underlying price and a remaining life.
#include <cmath>

#include <gtest/gtest.h>

#include "snowball_pde.h"

namespace {

// S_max 200 and M 10 (dS 20); T 1 and N 8 (dt 0.125, binary-exact so that halves stay halves).
// Cell (i, n) holds 100 i + n, so a value names the cell it came from.
Snowball_PDE engine_with_grid() {
    Snowball_PDE e;
    e.params.S_max = 200;
    e.params.M = 10;
    e.params.T = 1;
    e.params.N = 8;
    e.dS = 20;
    e.dt = 0.125;
    e.price_grid.ReSize(11, 9);
    for (int i = 1; i <= 11; ++i)
        for (int n = 1; n <= 9; ++n)
            e.price_grid(i, n) = 100 * i + n;
    return e;
}

}  // namespace

TEST(GridLookup, PriceOnANodeReadsItAndBetweenNodesInterpolates) {
    const Snowball_PDE e = engine_with_grid();
    EXPECT_DOUBLE_EQ(e.lookup_price(100, 1, false), 601);  // node 5
    EXPECT_DOUBLE_EQ(e.lookup_price(110, 1, false), 651);  // halfway between nodes 5 and 6
    EXPECT_DOUBLE_EQ(e.lookup_price(105, 1, false), 626);
    EXPECT_DOUBLE_EQ(e.lookup_price(0, 1, false), 101);
    EXPECT_DOUBLE_EQ(e.lookup_price(200, 1, false), 1101);  // node 10
}

TEST(GridLookup, PriceOutsideTheGridOrNotANumberIsNaN) {
    const Snowball_PDE e = engine_with_grid();
    EXPECT_TRUE(std::isnan(e.lookup_price(201, 1, false)));
    EXPECT_TRUE(std::isnan(e.lookup_price(-1, 1, false)));
    EXPECT_TRUE(std::isnan(e.lookup_price(NAN, 1, false)));
    EXPECT_TRUE(std::isnan(e.lookup_price(INFINITY, 1, false)));
}

TEST(GridLookup, RemainingLifePicksTheNearestTimeColumnClampedToTheGrid) {
    const Snowball_PDE e = engine_with_grid();
    EXPECT_DOUBLE_EQ(e.lookup_price(100, -1, false), 601);      // negative: today
    EXPECT_DOUBLE_EQ(e.lookup_price(100, 1, false), 601);       // tau = T: today
    EXPECT_DOUBLE_EQ(e.lookup_price(100, 0, false), 609);       // maturity
    EXPECT_DOUBLE_EQ(e.lookup_price(100, 5, false), 601);       // beyond T: today
    EXPECT_DOUBLE_EQ(e.lookup_price(100, 0.3125, false), 607);  // 5.5 steps: half away from 0
    EXPECT_DOUBLE_EQ(e.lookup_price(100, 0.33, false), 606);
    EXPECT_TRUE(std::isnan(e.lookup_price(100, NAN, false)));
}

TEST(GridLookup, EachLookupReadsItsOwnGridAndItsKnockedInTwin) {
    Snowball_PDE e = engine_with_grid();
    NEWMAT::Matrix* grids[] = {&e.price_grid, &e.delta,    &e.gamma,    &e.theta,
                               &e.vega,       &e.rho,      &e.price_ki, &e.delta_ki,
                               &e.gamma_ki,   &e.theta_ki, &e.vega_ki,  &e.rho_ki};
    for (int g = 0; g < 12; ++g) {
        grids[g]->ReSize(11, 9);
        *grids[g] = g;
    }
    using Lookup = double (Calculator_PDE::*)(double, double, bool) const;
    const Lookup lookups[] = {&Calculator_PDE::lookup_price, &Calculator_PDE::lookup_delta,
                              &Calculator_PDE::lookup_gamma, &Calculator_PDE::lookup_theta,
                              &Calculator_PDE::lookup_vega,  &Calculator_PDE::lookup_rho};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ((e.*lookups[k])(150, 0.5, false), k) << "look-up " << k;
        EXPECT_EQ((e.*lookups[k])(150, 0.5, true), k + 6) << "knocked-in look-up " << k;
    }
}

TEST(GridLookup, BeforeAnyRunOrOnASmallerOlderGridTheResultIsNaN) {
    const Snowball_PDE fresh;
    EXPECT_TRUE(std::isnan(fresh.lookup_price(100, 1, false)));
    EXPECT_TRUE(std::isnan(fresh.lookup_delta(100, 0, true)));

    Snowball_PDE e = engine_with_grid();
    e.price_grid = e.price_grid.SubMatrix(1, 6, 1, 4);  // grids of a run with M 5 and N 3
    EXPECT_DOUBLE_EQ(e.lookup_price(100, -1, false), 601);
    EXPECT_TRUE(std::isnan(e.lookup_price(120, 1, false)));
    EXPECT_TRUE(std::isnan(e.lookup_price(100, 0, false)));
    EXPECT_TRUE(std::isnan(e.lookup_gamma(100, 1, false)));  // never sized
}
