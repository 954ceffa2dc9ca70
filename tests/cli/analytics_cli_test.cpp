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
    // The classic one-year snowball on a coarse grid.
    std::string product(TestSnowball terms = TestSnowball::classic().grid(100)) const {
        return dir.write("product.json", cli_product_json(terms));
    }

    static CliRun run(const std::string& args) { return run_cli(args); }

    static nlohmann::json parse(const CliRun& r) {
        EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << "one line expected: " << r.out;
        return r.json();
    }

    TempDir dir;
};

TEST_F(AnalyticsCli, GreeksPrintsSixValuesWhosePriceIsTheGridPrice) {
    const std::string file = product();
    const CliRun price = run("price " + file);
    const CliRun greeks = run("greeks " + file);
    ASSERT_EQ(greeks.exit_code, 0) << greeks.err;
    const nlohmann::json g = parse(greeks);
    EXPECT_EQ(g.size(), 6u);
    EXPECT_DOUBLE_EQ(g["price"].get<double>(), parse(price)["price"].get<double>());
    // A snowball is short volatility and long the underlying near its start.
    EXPECT_GT(g["delta"].get<double>(), 0);
    EXPECT_LT(g["vega"].get<double>(), 0);
    for (const char* key : {"gamma", "theta", "rho"})
        EXPECT_TRUE(g[key].is_number()) << key;

    const nlohmann::json ki = parse(run("greeks " + file + " --spot 90 --tau 0.5 --knocked-in"));
    EXPECT_LT(ki["price"].get<double>(), 95);  // worth about the underlying once knocked in
    EXPECT_GT(ki["delta"].get<double>(), 0.5);
}

TEST_F(AnalyticsCli, GreeksOffTheGridAreNullAndNoResult) {
    const CliRun r = run("greeks " + product() + " --spot 250");
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_TRUE(parse(r)["delta"].is_null());
}

TEST_F(AnalyticsCli, SolveKeepsItsProgressOffStandardOutput) {
    const CliRun r = run("solve " + product() + " --kind 3 --target 100 --lo 0.05 --hi 0.6");
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const nlohmann::json j = parse(r);
    EXPECT_EQ(j["code"], 0);
    EXPECT_GT(j["value"].get<double>(), 0.05);
    EXPECT_LT(j["value"].get<double>(), 0.6);
    EXPECT_NE(r.err.find("price:"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(" calc"), std::string::npos) << r.err;  // the log line of success
}

TEST_F(AnalyticsCli, SolveReportsTheSearchCodeWithANullValue) {
    const std::string file = product();
    CliRun r = run("solve " + file + " --kind 6 --target 100");
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.out, "{\"code\": -3, \"value\": null}\n");
    r = run("solve " + file + " --kind 3 --target 0 --lo 0.1 --hi 0.4");
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.out, "{\"code\": -4, \"value\": null}\n");
}

TEST_F(AnalyticsCli, FirstMonteCarloRunIsTheSameInEveryProcessAndSeedsStartOtherStreams) {
    const std::string file = product();
    const CliRun a = run("mc " + file + " --paths 2000");
    const CliRun b = run("mc " + file + " --paths 2000");
    ASSERT_EQ(a.exit_code, 0) << a.err;
    EXPECT_EQ(a.out, b.out);
    const nlohmann::json j = parse(a);
    EXPECT_NEAR(j["price"].get<double>(), 102, 3);
    EXPECT_GT(j["stderr"].get<double>(), 0);

    const CliRun s1 = run("mc " + file + " --paths 2000 --seed 11");
    EXPECT_EQ(s1.out, run("mc " + file + " --paths 2000 --seed 11").out);
    EXPECT_NE(s1.out, a.out);
    EXPECT_EQ(run("mc " + file + " --paths 2000 --seed 5489").out, a.out);  // the default seed
}

TEST_F(AnalyticsCli, GridsAppendsBothBlocksAndReportsAnUnwritablePath) {
    const std::string file = product();
    const std::string out = dir.file("grids.csv");
    CliRun r = run("grids " + file + " --out " + out);
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.out, "{\"written\": true, \"rows\": 101, \"cols\": 244}\n");
    const std::string text = TempDir::read(out);
    EXPECT_EQ(text.rfind("MATRIX:Price\n", 0), 0u);
    EXPECT_NE(text.find("\nMATRIX:Price_KI\n"), std::string::npos);

    r = run("grids " + file + " --out " + dir.file("no/such/dir.csv"));
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.out, "{\"written\": false}\n");
    EXPECT_NE(r.err.find("Can't open file to write:"), std::string::npos);
}

TEST_F(AnalyticsCli, BadInputExitsWithTwoAndOneLine) {
    const std::string good = product();
    const std::string broken = dir.write("broken.json", "{\"S0\": ");
    const std::string unknown = dir.write("unknown.json", "{\"volatility\": 0.2}");
    const std::string cases[] = {
        "greeks " + broken,
        "greeks " + unknown,
        "greeks " + good + " --spot abc",
        "greeks " + good + " --bogus 1",
        "solve " + good + " --target 100",
        "solve " + good + " --kind 3 --target nan",
        "mc " + broken,
        "mc " + good + " --paths 0",
        "mc " + good + " --seed -1",
        "mc " + good + " " + good,
        "grids " + good,
        "grids " + unknown + " --out " + dir.file("x.csv"),
    };
    for (const std::string& args : cases) {
        const CliRun r = run(args);
        EXPECT_EQ(r.exit_code, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << args << ": " << r.err;
    }
}

TEST_F(AnalyticsCli, UnpriceableProductIsNoResult) {
    TestSnowball terms = TestSnowball::classic().grid(100);
    terms.sigma = -0.1;
    const std::string file = product(terms);
    EXPECT_EQ(run("greeks " + file).exit_code, 1);
    EXPECT_EQ(run("grids " + file + " --out " + dir.file("g.csv")).exit_code, 1);
    const CliRun mc = run("mc " + file + " --paths 10");
    EXPECT_EQ(mc.exit_code, 1);
    EXPECT_EQ(mc.out, "{\"price\": null, \"stderr\": null}\n");
}

}  // namespace
