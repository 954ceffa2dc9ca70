// brimvale-cli stress and winrate, run as a user runs them.
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli_product.h"
#include "cli_run.h"
#include "temp_dir.h"
#include "test_calendar.h"

namespace {

struct CliResult {
    int exit_code;
    nlohmann::json json;  // standard output, when it is JSON
    std::string err;
};

// Four quarterly dates over 243 trading days, knock-out 103, knock-in 80, on a coarse grid.
TestSnowball quarterly_product() {
    TestSnowball terms = TestSnowball::classic().grid(100);
    terms.T = 243 / 252.0;
    terms.obs_time = {0.25, 0.5, 0.75, terms.T};
    return terms;
}

class PanelsCli : public testing::Test {
  protected:
    std::string winrate(const std::string& extra) const {
        return "winrate " + file + cal +
               " --start 20240102 --end 20240129 --dates 20240108_20240115_20240122_20240129 " +
               extra;
    }

    static CliResult run(const std::string& args) {
        const CliRun r = run_cli(args);
        return {r.exit_code, nlohmann::json::parse(r.out, nullptr, false), r.err};
    }

    TempDir dir;
    const std::string file = dir.write("product.json", cli_product_json(quarterly_product()));
    // Twenty weekdays of January 2024.
    const std::string cal =
        " --calendar " + TestCalendar::weekdays_from(20240102, 20).write(dir, "calendar.csv");
};

TEST_F(PanelsCli, StressPrintsThreeMatricesOverThePriceAndVolatilityAxes) {
    const CliResult r = run("stress " + file);
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.json["prices"].size(), 7u);
    EXPECT_EQ(r.json["prices"][6], 130);
    ASSERT_EQ(r.json["volatilities"].size(), 10u);
    EXPECT_DOUBLE_EQ(r.json["volatilities"][9].get<double>(), 0.5);
    EXPECT_DOUBLE_EQ(r.json["tau"].get<double>(), 100 / 252.0);
    for (const char* m : {"value", "delta", "gamma"}) {
        ASSERT_EQ(r.json[m].size(), 10u) << m;
        EXPECT_EQ(r.json[m][0].size(), 7u) << m;
    }
}

TEST_F(PanelsCli, StressValueAtTheStartAndTheProductsVolatilityIsItsPrice) {
    const CliResult price = run("price " + file);
    const CliResult r = run("stress " + file +
                            " --price-start 100 --price-end 100 --vol-start 0.18 --vol-end 0.18 "
                            "--days 243");
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_DOUBLE_EQ(r.json["value"][0][0].get<double>(), price.json["price"].get<double>());
}

TEST_F(PanelsCli, StressRefusesEmptyOrOversizedAxesAndMalformedNumbers) {
    for (const char* args : {" --price-end 60", " --vol-step 0", " --price-step 0.01",
                             " --days 1.5", " --vol-end x", " --volatility 1"}) {
        const CliResult r = run("stress " + file + args);
        EXPECT_EQ(r.exit_code, 2) << args;
        EXPECT_FALSE(r.err.empty()) << args;
    }
    EXPECT_EQ(run("stress " + dir.file("missing.json")).exit_code, 2);
}

TEST_F(PanelsCli, StressOfVolatilitiesThatCannotBePricedHasNoValueAndExitsOne) {
    const CliResult r = run("stress " + file + " --vol-start -0.5 --vol-end -0.4 --vol-step 0.1");
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_TRUE(r.json["value"][0][0].is_null());
}

TEST_F(PanelsCli, WinratePrintsOneRowOfFiveFractionsPerVolatilityInIncreasingOrder) {
    const CliResult r = run(winrate("--vol-start 25 --vol-end 7 --vol-step -6 --seed 5"));
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.json["paths"], 50000);
    EXPECT_EQ(r.json["days"], 20);
    EXPECT_EQ(r.json["seed"], 5);
    const auto& rows = r.json["rows"];
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_DOUBLE_EQ(rows[0]["volatility"].get<double>(), 0.07);
    EXPECT_DOUBLE_EQ(rows[3]["volatility"].get<double>(), 0.25);
    for (const auto& row : rows) {
        const auto& f = row["fractions"];
        ASSERT_EQ(f.size(), 5u);
        const double a = f[0], b = f[1], c = f[2], d = f[3], w = f[4];
        EXPECT_NEAR(a + b + c + d, 1, 1e-12);
        EXPECT_NEAR(w, a + b + c, 1e-12);
    }
}

TEST_F(PanelsCli, WinrateWithAFixedSeedRepeatsOnAnyNumberOfThreads) {
    const CliResult one = run(winrate("--seed 9 --threads 1"));
    const CliResult two = run(winrate("--seed 9 --threads 3"));
    ASSERT_EQ(one.exit_code, 0) << one.err;
    ASSERT_EQ(two.exit_code, 0) << two.err;
    EXPECT_EQ(one.json["rows"], two.json["rows"]);
    EXPECT_EQ(one.json["rows"].size(), 7u);
}

TEST_F(PanelsCli, WinrateRefusesMissingOrMalformedDatesAndNegativeVolatilities) {
    for (const std::string args :
         {" --end 20240129 --dates 20240129", " --start 20240102 --end 20240129",
          " --start 20240102 --end 20240129 --dates 20240108__20240129",
          " --start 2024-01-02 --end 20240129 --dates 20240129",
          " --start 20240102 --end 20240129 --dates 20240129 --vol-start -5",
          " --start 20240102 --end 20240129 --dates 20240129 --vol-step -3",
          " --start 20240102 --end 20240129 --dates 20240129 --threads 0"}) {
        const CliResult r = run("winrate " + file + cal + args);
        EXPECT_EQ(r.exit_code, 2) << args;
        EXPECT_FALSE(r.err.empty()) << args;
    }
}

TEST_F(PanelsCli, WinrateNeedsABarrierPerDateUnlessOneHoldsForAll) {
    const std::string five =
        " --start 20240102 --end 20240129 --dates "
        "20240108_20240111_20240115_20240122_20240129 --seed 1";
    EXPECT_EQ(run("winrate " + file + cal + five).exit_code, 2);
    const std::string single =
        dir.write("single.json", "{\"ko_barrier\": 103, \"ki_barrier\": 80}");
    EXPECT_EQ(run("winrate " + single + cal + five).exit_code, 0);
}

}  // namespace
