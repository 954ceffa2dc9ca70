// Greek grids, the matrix dump and the Greeks against re-pricing.
#include <cmath>
#include <filesystem>
#include <limits>

#include <gtest/gtest.h>

#include "finite_differences.h"
#include "matrix_dump.h"
#include "temp_dir.h"
#include "test_snowball.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

NEWMAT::Matrix grid(int rows, int cols, std::initializer_list<double> values) {
    NEWMAT::Matrix m(rows, cols);
    double* cell = m.Store();
    for (double v : values)
        *cell++ = v;
    return m;
}

// A 3 by 3 engine state as a compute_risk_grids run would leave it.
Snowball_PDE engine_with_grids() {
    Snowball_PDE e;
    e.dS = 2;
    e.dt = 0.5;
    e.price_grid = grid(3, 3, {1, 2, 4, 3, 5, 9, 7, 11, 20});
    e.price_ki = grid(3, 3, {0, 1, 1, 2, 2, 2, 5, 5, 6});
    e.price_vol_up = e.price_grid + 0.5;
    e.price_rate_up = e.price_grid - 0.25;
    e.price_ki_vol_up = e.price_ki + 0.125;
    e.price_ki_rate_up = e.price_ki + 1;
    return e;
}

}  // namespace

TEST(FiniteDifferences, ThreeByThreeGridUsesCentralOneSidedAndCopiedDifferences) {
    // Rows are price nodes dS = 2 apart, columns time nodes dt = 0.5 apart.
    const NEWMAT::Matrix V = grid(3, 3, {1, 2, 4, 3, 5, 9, 7, 11, 20});
    NEWMAT::Matrix D, G, Th;
    finite_differences(V, 2, 0.5, D, G, Th);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_DOUBLE_EQ(D(1, n), (V(2, n) - V(1, n)) / 2) << "column " << n;
        EXPECT_DOUBLE_EQ(D(2, n), (V(3, n) - V(1, n)) / 4) << "column " << n;
        EXPECT_DOUBLE_EQ(D(3, n), (V(3, n) - V(2, n)) / 2) << "column " << n;
        const double second = (V(1, n) + V(3, n) - 2 * V(2, n)) / 4;
        for (int i = 1; i <= 3; ++i)
            EXPECT_DOUBLE_EQ(G(i, n), second) << i << "," << n;
    }
    for (int i = 1; i <= 3; ++i) {
        EXPECT_DOUBLE_EQ(Th(i, 1), (V(i, 2) - V(i, 1)) / 0.5) << "row " << i;
        EXPECT_DOUBLE_EQ(Th(i, 2), (V(i, 3) - V(i, 2)) / 0.5) << "row " << i;
        EXPECT_DOUBLE_EQ(Th(i, 3), Th(i, 2)) << "row " << i;
    }
}

TEST(FiniteDifferences, GridOfOneRowOrOneColumnLeavesGreeksUntouched) {
    for (const NEWMAT::Matrix& V : {grid(1, 3, {1, 2, 3}), grid(3, 1, {1, 2, 3})}) {
        NEWMAT::Matrix D = grid(2, 2, {7, 7, 7, 7}), G = D, Th = D;
        finite_differences(V, 1, 1, D, G, Th);
        for (const NEWMAT::Matrix* m : {&D, &G, &Th}) {
            ASSERT_EQ(m->Nrows(), 2);
            ASSERT_EQ(m->Ncols(), 2);
            EXPECT_EQ((*m)(1, 1), 7);
            EXPECT_EQ((*m)(2, 2), 7);
        }
    }
}

TEST(FiniteDifferences, TwoRowGridHasNoGamma) {
    NEWMAT::Matrix D, G, Th;
    finite_differences(grid(2, 2, {1, 2, 3, 4}), 1, 1, D, G, Th);
    EXPECT_DOUBLE_EQ(D(1, 1), 2);
    EXPECT_TRUE(std::isnan(G(1, 1)));
    EXPECT_TRUE(std::isnan(G(2, 2)));
}

TEST(ComputeGreeks, VegaAndRhoAreScaledBumpedDifferencesForBothGrids) {
    Snowball_PDE e = engine_with_grids();
    ASSERT_TRUE(e.compute_greeks(false));
    for (int i = 1; i <= 3; ++i) {
        for (int n = 1; n <= 3; ++n) {
            EXPECT_DOUBLE_EQ(e.vega(i, n), 0.5 * 100);
            EXPECT_DOUBLE_EQ(e.rho(i, n), -0.25 * 100);
            EXPECT_DOUBLE_EQ(e.vega_ki(i, n), 0.125 * 100);
            EXPECT_DOUBLE_EQ(e.rho_ki(i, n), 1 * 100);
        }
    }
    EXPECT_DOUBLE_EQ(e.delta(2, 1), (7 - 1) / 4.0);
    EXPECT_DOUBLE_EQ(e.delta_ki(2, 1), (5 - 0) / 4.0);
    EXPECT_DOUBLE_EQ(e.theta_ki(3, 3), (6 - 5) / 0.5);

    e.vega_scale = 10;
    ASSERT_TRUE(e.compute_greeks(false));
    EXPECT_DOUBLE_EQ(e.vega(1, 1), 5);
}

TEST(ComputeGreeks, BumpedGridOfAnotherSizeGivesNaNGreeksAtPriceSizeAndFails) {
    Snowball_PDE e = engine_with_grids();
    e.price_vol_up = grid(2, 2, {1, 1, 1, 1});  // left over from an older, smaller run
    e.price_ki_rate_up = NEWMAT::Matrix();      // never computed
    EXPECT_FALSE(e.compute_greeks(false));
    ASSERT_EQ(e.vega.Nrows(), 3);
    ASSERT_EQ(e.vega.Ncols(), 3);
    ASSERT_EQ(e.rho_ki.Nrows(), 3);
    for (int i = 1; i <= 3; ++i) {
        for (int n = 1; n <= 3; ++n) {
            EXPECT_TRUE(std::isnan(e.vega(i, n)));
            EXPECT_TRUE(std::isnan(e.rho_ki(i, n)));
            EXPECT_DOUBLE_EQ(e.rho(i, n), -25);  // its own bumped grid is fine
        }
    }
}

TEST(ComputeGreeks, WithoutKnockedInGridsTheirBumpedGreeksAreNotComputed) {
    Snowball_PDE e = engine_with_grids();
    e.has_ki = false;
    e.price_ki_vol_up = NEWMAT::Matrix();  // would fail if it were read
    EXPECT_TRUE(e.compute_greeks(false));
    EXPECT_EQ(e.vega_ki.Nrows(), 0);
}

TEST(ComputeBaseGreeks, FillsOnlyDeltaGammaThetaOfBothGrids) {
    Snowball_PDE e = engine_with_grids();
    e.compute_base_greeks();
    EXPECT_DOUBLE_EQ(e.gamma(1, 3), (4 + 20 - 18) / 4.0);
    EXPECT_DOUBLE_EQ(e.delta_ki(3, 1), (5 - 2) / 2.0);
    EXPECT_EQ(e.vega.Nrows(), 0);
}

TEST(MatrixDump, WritesTheBlockFormatWithNaNAndInfinityInTheirOwnSpelling) {
    TempDir dir;
    const std::string path = dir.file("grid.csv");
    ASSERT_TRUE(dump_matrix(grid(3, 2, {1, 2, 3, kNaN, 5, 6}), path, "Price"));
    EXPECT_EQ(TempDir::read(path),
              "MATRIX:Price\n1.0000, 2.0000, \n3.0000, nan, \n5.0000, 6.0000, \n");
    const std::string other = dir.file("other.csv");
    ASSERT_TRUE(dump_matrix(grid(1, 3, {kInf, -kNaN, -0.5}), other, "X"));
    EXPECT_EQ(TempDir::read(other), "MATRIX:X\ninf, nan, -0.5000, \n");
}

TEST(MatrixDump, UnopenableFileIsReportedOnStandardOutputAndFails) {
    TempDir dir;
    const std::string path = dir.file("missing/grid.csv");
    testing::internal::CaptureStdout();
    const bool ok = dump_matrix(grid(1, 1, {1}), path, "Price");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Can't open file to write:" + path + "\n");
    EXPECT_FALSE(ok);
}

TEST(WritePriceGrids, AppendsPriceAndKnockedInBlocksOnEveryCall) {
    TempDir dir;
    const std::string path = dir.write("grids.csv", "kept\n");
    Snowball_PDE e;
    e.price_grid = grid(1, 2, {1, 2});
    e.price_ki = grid(1, 1, {3});
    ASSERT_TRUE(e.write_price_grids(path));
    ASSERT_TRUE(e.write_price_grids(path));
    const std::string block = "MATRIX:Price\n1.0000, 2.0000, \nMATRIX:Price_KI\n3.0000, \n";
    EXPECT_EQ(TempDir::read(path), "kept\n" + block + block);

    e.has_ki = false;
    const std::string alone = dir.file("alone.csv");
    ASSERT_TRUE(e.write_price_grids(alone));
    EXPECT_EQ(TempDir::read(alone), "MATRIX:Price\n1.0000, 2.0000, \n");
}

TEST(ComputeGreeks, WritesTheGreeksFileOnlyWhenAskedAndReportsAFailedWrite) {
    TempDir dir;
    InDirectory inside(dir.path());  // the Greeks file goes to the working directory
    Snowball_PDE e = engine_with_grids();
    ASSERT_TRUE(e.compute_greeks(false));
    EXPECT_FALSE(std::filesystem::exists("PDE_Greeks.csv"));
    ASSERT_TRUE(e.compute_greeks(true));
    EXPECT_EQ(TempDir::read("PDE_Greeks.csv").rfind("MATRIX:Price\n1.0000, 2.0000, 4.0000, \n", 0),
              0u);

    std::filesystem::remove("PDE_Greeks.csv");
    std::filesystem::create_directory("PDE_Greeks.csv");  // cannot be opened as a file
    testing::internal::CaptureStdout();
    EXPECT_FALSE(e.compute_greeks(true));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Can't open file to write:PDE_Greeks.csv\n");
    EXPECT_DOUBLE_EQ(e.vega(1, 1), 50);  // the Greeks are there all the same
}

// The engine's value is affine in its notional S0 at a fixed spot (every amount is P + c t S0,
// S or a floor, less S0 - P), so re-pricing at S0 +- h moves the notional as well as the spot:
//   price(s +- h) = V_s(s +- h) +- h a(s +- h),  a(S) = (V_(s+h)(S) - V_s(S)) / h,
// V_s the grid of the run at notional s. Taking the notional's part out leaves the spot
// derivatives that the grid's delta and gamma estimate.
TEST(GreeksAgainstRepricing, DeltaAndGammaAtTheSpotMatchCentralDifferencesOfPrice) {
    const TestSnowball terms = TestSnowball::classic().grid(400);  // dS = 0.5
    const double s = terms.S0;
    Snowball_PDE base = terms.build();
    ASSERT_TRUE(base.compute_risk_grids());
    ASSERT_TRUE(base.compute_greeks(false));
    const double T = base.params.T;

    // The run at notional x, whose grid gives V_x(S).
    auto at_notional = [&](double S0) {
        TestSnowball t = terms;
        t.S0 = S0;
        return t.build();
    };
    auto price_at = [&](double S0) { return at_notional(S0).price(); };
    const double h0 = 1;  // two nodes
    Snowball_PDE up = at_notional(s + h0);
    ASSERT_FALSE(std::isnan(up.price_with_grids()));
    auto a = [&](double S) {
        return (up.lookup_price(S, T, false) - base.lookup_price(S, T, false)) / h0;
    };
    // Spot-only differences of price() with step h: the notional's part taken out.
    auto spot_delta = [&](double h) {
        return (price_at(s + h) - price_at(s - h)) / (2 * h) - (a(s + h) + a(s - h)) / 2;
    };
    auto spot_gamma = [&](double h) {
        return (price_at(s + h) + price_at(s - h) - 2 * price_at(s)) / (h * h) -
               (a(s + h) - a(s - h)) / h;
    };
    const double delta = base.lookup_delta(s, T, false);
    const double gamma = base.lookup_gamma(s, T, false);
    ASSERT_FALSE(std::isnan(delta));
    // Central differences err by O(h^2): the step from h to 2h changes them by about three times
    // the error at h (and the grid's own step dS < h errs less), so the whole change is a
    // threefold margin; a floor of 1e-3 of the value stands for rounding.
    for (double h : {1.0, 2.0}) {
        const double d_h = spot_delta(h), d_2h = spot_delta(2 * h);
        EXPECT_NEAR(delta, d_h, std::fabs(d_2h - d_h) + 1e-3 * std::fabs(delta))
            << "h " << h << " delta(2h) " << d_2h;
        const double g_h = spot_gamma(h), g_2h = spot_gamma(2 * h);
        EXPECT_NEAR(gamma, g_h, std::fabs(g_2h - g_h) + 1e-3 * std::fabs(gamma))
            << "h " << h << " gamma(2h) " << g_2h;
    }
}
