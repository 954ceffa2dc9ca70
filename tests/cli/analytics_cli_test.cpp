// brimvale-cli greeks, solve, mc and grids, run as a user runs them.
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli_product.h"
#include "cli_run.h"
#include "temp_dir.h"

namespace {

class AnalyticsCli : public testing::Test {
  protected:
    static nlohmann::json parse(const CliRun& r) {
        EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << "one line expected: " << r.out;
        return r.json();
    }

    TempDir dir;
    // The classic one-year snowball on a coarse grid.
    const std::string file =
        dir.write("product.json", cli_product_json(TestSnowball::classic().grid(100)));
};

TEST_F(AnalyticsCli, GreeksPrintsSixValuesWhosePriceIsTheGridPrice) {
    const CliRun price = run_cli("price " + file);
    const CliRun greeks = run_cli("greeks " + file);
    ASSERT_EQ(greeks.exit_code, 0) << greeks.err;
    const nlohmann::json g = parse(greeks);
    EXPECT_EQ(g.size(), 6u);
    EXPECT_DOUBLE_EQ(g["price"].get<double>(), parse(price)["price"].get<double>());
    // A snowball is short volatility and long the underlying near its start.
    EXPECT_GT(g["delta"].get<double>(), 0);
    EXPECT_LT(g["vega"].get<double>(), 0);
    for (const char* key : {"gamma", "theta", "rho"})
        EXPECT_TRUE(g[key].is_number()) << key;

    const nlohmann::json ki =
        parse(run_cli("greeks " + file + " --spot 90 --tau 0.5 --knocked-in"));
    EXPECT_LT(ki["price"].get<double>(), 95);  // worth about the underlying once knocked in
    EXPECT_GT(ki["delta"].get<double>(), 0.5);
}

TEST_F(AnalyticsCli, GreeksOffTheGridAreNullAndNoResult) {
    const CliRun r = run_cli("greeks " + file + " --spot 250");
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_TRUE(parse(r)["delta"].is_null());
}

TEST_F(AnalyticsCli, SolveKeepsItsProgressOffStandardOutput) {
    const CliRun r = run_cli("solve " + file + " --kind 3 --target 100 --lo 0.05 --hi 0.6");
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const nlohmann::json j = parse(r);
    EXPECT_EQ(j["code"], 0);
    EXPECT_GT(j["value"].get<double>(), 0.05);
    EXPECT_LT(j["value"].get<double>(), 0.6);
    EXPECT_NE(r.err.find("price:"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(" calc"), std::string::npos) << r.err;  // the log line of success
}

TEST_F(AnalyticsCli, SolveReportsTheSearchCodeWithANullValue) {
    CliRun r = run_cli("solve " + file + " --kind 6 --target 100");
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.out, "{\"code\": -3, \"value\": null}\n");
    r = run_cli("solve " + file + " --kind 3 --target 0 --lo 0.1 --hi 0.4");
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.out, "{\"code\": -4, \"value\": null}\n");
}

TEST_F(AnalyticsCli, FirstMonteCarloRunIsTheSameInEveryProcessAndSeedsStartOtherStreams) {
    const CliRun a = run_cli("mc " + file + " --paths 2000");
    const CliRun b = run_cli("mc " + file + " --paths 2000");
    ASSERT_EQ(a.exit_code, 0) << a.err;
    EXPECT_EQ(a.out, b.out);
    const nlohmann::json j = parse(a);
    EXPECT_NEAR(j["price"].get<double>(), 102, 3);
    EXPECT_GT(j["stderr"].get<double>(), 0);

    const CliRun s1 = run_cli("mc " + file + " --paths 2000 --seed 11");
    EXPECT_EQ(s1.out, run_cli("mc " + file + " --paths 2000 --seed 11").out);
    EXPECT_NE(s1.out, a.out);
    EXPECT_EQ(run_cli("mc " + file + " --paths 2000 --seed 5489").out, a.out);  // the default seed
}

TEST_F(AnalyticsCli, GridsAppendsBothBlocksAndReportsAnUnwritablePath) {
    const std::string out = dir.file("grids.csv");
    CliRun r = run_cli("grids " + file + " --out " + out);
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.out, "{\"written\": true, \"rows\": 101, \"cols\": 244}\n");
    const std::string text = TempDir::read(out);
    EXPECT_EQ(text.rfind("MATRIX:Price\n", 0), 0u);
    EXPECT_NE(text.find("\nMATRIX:Price_KI\n"), std::string::npos);

    r = run_cli("grids " + file + " --out " + dir.file("no/such/dir.csv"));
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.out, "{\"written\": false}\n");
    EXPECT_NE(r.err.find("Can't open file to write:"), std::string::npos);
}

TEST_F(AnalyticsCli, BadInputExitsWithTwoAndOneLine) {
    const std::string broken = dir.write("broken.json", "{\"S0\": ");
    const std::string unknown = dir.write("unknown.json", "{\"volatility\": 0.2}");
    const std::string cases[] = {
        "greeks " + broken,
        "greeks " + unknown,
        "greeks " + file + " --spot abc",
        "greeks " + file + " --bogus 1",
        "solve " + file + " --target 100",
        "solve " + file + " --kind 3 --target nan",
        "mc " + broken,
        "mc " + file + " --paths 0",
        "mc " + file + " --seed -1",
        "mc " + file + " " + file,
        "grids " + file,
        "grids " + unknown + " --out " + dir.file("x.csv"),
    };
    for (const std::string& args : cases) {
        const CliRun r = run_cli(args);
        EXPECT_EQ(r.exit_code, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << args << ": " << r.err;
    }
}

TEST_F(AnalyticsCli, UnpriceableProductIsNoResult) {
    TestSnowball terms = TestSnowball::classic().grid(100);
    terms.sigma = -0.1;
    const std::string bad = dir.write("unpriceable.json", cli_product_json(terms));
    EXPECT_EQ(run_cli("greeks " + bad).exit_code, 1);
    EXPECT_EQ(run_cli("grids " + bad + " --out " + dir.file("g.csv")).exit_code, 1);
    const CliRun mc = run_cli("mc " + bad + " --paths 10");
    EXPECT_EQ(mc.exit_code, 1);
    EXPECT_EQ(mc.out, "{\"price\": null, \"stderr\": null}\n");
}

}  // namespace
