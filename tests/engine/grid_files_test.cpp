// The grid files: the "%.4f" text written fast, node 0 as +0, and appends that are whole or none.
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "file_size_limit.h"
#include "matrix_dump.h"
#include "temp_dir.h"
#include "test_snowball.h"

namespace {

std::string printf_text(double v) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.4f", v);
    return buffer;
}

std::string fast_text(double v) {
    char buffer[400];
    return std::string(buffer, format_grid_value(v, buffer));
}

// Appends the grids of a product of about 180 kB a block.
FileWriteStatus append_grids_of_a_large_product(const std::string& path) {
    Snowball_PDE e = TestSnowball::small().grid(200, 100).build();
    EXPECT_TRUE(e.compute_risk_grids());
    return e.append_price_grids(path);
}

}  // namespace

TEST(GridValueText, IsByteForByteWhatPercentPointFourFPrints) {
    const double inf = std::numeric_limits<double>::infinity();
    const double cases[] = {0.0,     -0.0,         1.0,     -1.0,     0.03125, -0.03125,
                            2.5e-5,  1.5e-4,       0.00005, -0.00004, 100.0,   99.99995,
                            1e11,    -1e11 + 1,    1e15,    -1.25e17, 1e300,   5e-324,
                            -5e-324, 123456.78905, inf,     -inf};
    for (double v : cases)
        EXPECT_EQ(fast_text(v), printf_text(v)) << v;
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> unit(-1, 1);
    for (int k = 0; k < 200000; ++k) {
        const double v = unit(rng) * std::pow(10.0, k % 14 - 4);
        const double on_a_tie = std::round(v * 1e4) / 1e4 + 0.00005;  // near-ties of the text
        ASSERT_EQ(fast_text(v), printf_text(v)) << v;
        ASSERT_EQ(fast_text(on_a_tie), printf_text(on_a_tie)) << on_a_tie;
    }
    EXPECT_EQ(fast_text(std::nan("")), "nan");
    EXPECT_EQ(fast_text(-std::nan("")), "nan");
}

TEST(GridFiles, TheLowerBoundaryIsPlusZeroInTheFileAndTheLookUp) {
    TempDir dir;
    Snowball_PDE e = TestSnowball::small().build();
    ASSERT_TRUE(e.compute_risk_grids());
    ASSERT_TRUE(e.write_price_grids(dir.file("calc.csv")));
    const std::string text = TempDir::read(dir.file("calc.csv"));
    EXPECT_EQ(text.find("-0.0000"), std::string::npos) << text;
    EXPECT_EQ(text.rfind("MATRIX:Price\n0.0000, 0.0000, ", 0), 0u) << text;
    EXPECT_FALSE(std::signbit(e.lookup_price(0, 0.5, false)));
    EXPECT_FALSE(std::signbit(e.lookup_price(0, 0.5, true)));
}

TEST(GridFiles, AFailedAppendLeavesTheFileAsItWasAndCreatesNone) {
    TempDir dir;
    const std::string kept = dir.write("PDE_Greeks.csv", "MATRIX:Price\n1.0000, \n");
    const std::string fresh = dir.file("product_calc.csv");
    {
        const FileSizeLimit limit(64 * 1024);
        EXPECT_EQ(append_grids_of_a_large_product(kept), FileWriteStatus::WriteFailed);
        EXPECT_EQ(append_grids_of_a_large_product(fresh), FileWriteStatus::WriteFailed);
    }
    EXPECT_EQ(TempDir::read(kept), "MATRIX:Price\n1.0000, \n");
    EXPECT_FALSE(std::filesystem::exists(fresh));

    // Without the limit the same append succeeds.
    EXPECT_EQ(append_grids_of_a_large_product(kept), FileWriteStatus::Ok);
    EXPECT_GT(TempDir::read(kept).size(), 300000u);

    EXPECT_EQ(append_whole("/dev/full", "MATRIX:Price\n"), FileWriteStatus::WriteFailed);
    EXPECT_EQ(append_whole(dir.file("missing/x.csv"), "x"), FileWriteStatus::OpenFailed);
}
