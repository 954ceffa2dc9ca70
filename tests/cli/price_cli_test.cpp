// brimvale-cli price, run as a program on product files.
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli_product.h"
#include "cli_run.h"
#include "temp_dir.h"
#include "test_snowball.h"

namespace {

// Runs `brimvale-cli price ARGS` with `input` on standard input.
CliRun run_price(const std::string& args, const std::string& input = "") {
    TempDir dir;
    return run_cli("price " + args + " <" + dir.write("in.json", input));
}

CliRun price_file(const std::string& json) {
    TempDir dir;
    return run_price(dir.write("product.json", json));
}

double printed_price(const CliRun& run) {
    return run.json().at("price").get<double>();
}

}  // namespace

TEST(PriceCli, OneNumberPerDateKeyHoldsOnEveryDateAndDefaultsFillTheRest) {
    const CliRun run = price_file(
        R"({"obs_time": [0.25, 0.5, 0.75, 1], "ko_barrier": 103, "coupon": 0.16,
            "ki_barrier": 80, "M": 200, "N": 240})");
    ASSERT_EQ(run.exit_code, 0) << run.err;

    TestSnowball t = TestSnowball::quarterly().grid(200, 240);
    t.sigma = 0.2;  // the engine's defaults
    t.r = 0.05;
    t.div_coupon = 0.15;
    EXPECT_EQ(printed_price(run), t.build().price());  // %.17g reads back to the same double
    EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << "one line of JSON on standard output";
}

TEST(PriceCli, EveryKeyReachesTheEngineAndStandardInputIsRead) {
    TestSnowball t;
    t.S0 = 95;
    t.S_max = 250;
    t.sigma = 0.25;
    t.r = 0.03;
    t.q = 0.01;
    t.T = 0.5;
    t.grid(100, 60);
    t.obs_time = {0.25, 0.5};
    t.ko_barriers = {104, 100};
    t.coupons = {0.12, 0.1};
    t.ki_barriers = {75, 70};
    t.div_coupon = 0.05;
    t.floor_price = 60;
    t.call_strike = 110;
    t.call_participation = 0.5;
    t.coupon_adj_rate = 0.02;
    t.coupon_adj_share = 0.5;
    t.payoff_mode = 1;
    const std::string json = cli_product_json(t);
    const CliRun run = run_price("-", json);
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(printed_price(run), t.build().price());
    EXPECT_EQ(run_price("", json).out, run.out) << "no FILE reads standard input too";
}

TEST(PriceCli, AProductThatCannotBePricedPrintsNullAndExitsOne) {
    const CliRun run =
        price_file(R"({"S0": 250, "ko_barrier": 103, "coupon": 0.1, "ki_barrier": 80})");
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.out, "{\"price\": null}\n");
    EXPECT_NE(run.err.find("cannot be priced"), std::string::npos) << run.err;

    // The per-date keys default to empty lists, which the engine cannot price.
    EXPECT_EQ(price_file("{}").exit_code, 1);
}

TEST(PriceCli, BadInputExitsTwoWithOneLineNamingTheKey) {
    const struct {
        const char* json;
        const char* named;
    } cases[] = {
        {R"({"sigma": 0.2,)", "malformed JSON"},
        {R"({"sigma": 0.2, "volatility": 0.3})", "'volatility'"},
        {R"({"sigma": "0.2"})", "'sigma'"},
        {R"({"M": 10.5})", "'M'"},
        {R"({"N": 1e12})", "'N'"},
        {R"({"payoff_mode": true})", "'payoff_mode'"},
        {R"({"obs_time": 1})", "'obs_time'"},
        {R"({"obs_time": [0.5, "1"]})", "'obs_time'"},
        {R"({"obs_time": [0.5, 1], "coupon": [0.1, 0.1, 0.1]})", "'coupon'"},
        {R"({"ki_barrier": [80, 80]})", "'ki_barrier'"},
        {R"({"ko_barrier": null})", "'ko_barrier'"},
        {R"([1, 2])", "object"},
    };
    for (const auto& c : cases) {
        const CliRun run = price_file(c.json);
        EXPECT_EQ(run.exit_code, 2) << c.json;
        EXPECT_TRUE(run.out.empty()) << c.json;
        EXPECT_NE(run.err.find(c.named), std::string::npos) << c.json << " -> " << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << c.json << " -> " << run.err;
    }
    const CliRun missing = run_price("/nonexistent/product.json");
    EXPECT_EQ(missing.exit_code, 2);
    EXPECT_NE(missing.err.find("/nonexistent/product.json"), std::string::npos);
}

TEST(PriceCli, HelpDescribesEveryKey) {
    const CliRun run = run_price("--help");
    EXPECT_EQ(run.exit_code, 0);
    for (const char* key :
         {"S0", "S_max", "sigma", "r ", "q ", "T ", "M ", "N ", "obs_time", "ko_barrier", "coupon",
          "ki_barrier", "div_coupon", "floor_price", "call_strike", "call_participation",
          "coupon_adj_rate", "coupon_adj_share", "payoff_mode"})
        EXPECT_NE(run.out.find(std::string("  ") + key), std::string::npos) << key;
}
