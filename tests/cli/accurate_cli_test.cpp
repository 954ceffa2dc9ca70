// brimvale-cli price with the accurate scheme, run as a program.
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "temp_dir.h"
#include "test_snowball.h"

namespace {

CliRun run_price(const std::string& args, const std::string& json = "") {
    TempDir dir;
    return run_cli("price " + args + " " + dir.write("product.json", json));
}

const char* const kProduct = R"({"obs_time": [0.25, 0.5, 0.75, 1], "ko_barrier": 103,
    "coupon": 0.16, "ki_barrier": 80, "sigma": 0.18, "r": 0.015, "div_coupon": 0.16,
    "M": 200, "N": 243, "scheme": "accurate")";

Snowball_PDE engine_for(bool extrapolate) {
    Snowball_PDE e = TestSnowball::quarterly().grid(200, 243).build();
    e.params.scheme = PdeScheme::accurate;
    e.params.extrapolate = extrapolate;
    return e;
}

}  // namespace

TEST(AccurateCli, PriceReproducesTheEngineAndPrintsTheErrorEstimateWhenExtrapolating) {
    const CliRun plain = run_price("", std::string(kProduct) + "}");
    ASSERT_EQ(plain.exit_code, 0) << plain.err;
    const nlohmann::json p = plain.json();
    EXPECT_EQ(p.at("price").get<double>(), engine_for(false).price());
    EXPECT_FALSE(p.contains("error_estimate"));

    const CliRun extrapolated = run_price("", std::string(kProduct) + R"(, "extrapolate": true})");
    ASSERT_EQ(extrapolated.exit_code, 0) << extrapolated.err;
    const nlohmann::json x = extrapolated.json();
    const PdeResult r = engine_for(true).price_result();
    EXPECT_EQ(x.at("price").get<double>(), r.price);
    EXPECT_EQ(x.at("error_estimate").get<double>(), r.error_estimate);
}

TEST(AccurateCli, SchemeAndExtrapolateAreCheckedAndDocumented) {
    for (const char* json :
         {R"({"scheme": "exact"})", R"({"scheme": 1})",
          R"({"extrapolate": 1, "scheme": "accurate"})", R"({"extrapolate": true})"}) {
        const CliRun run = run_price("", json);
        EXPECT_EQ(run.exit_code, 2) << json;
        EXPECT_TRUE(run.err.find("'scheme'") != std::string::npos ||
                    run.err.find("'extrapolate'") != std::string::npos)
            << json << " -> " << run.err;
    }
    const CliRun help = run_price("--help");
    for (const char* text :
         {"  scheme", "  extrapolate", "\"implicit\"", "\"accurate\"", "error_estimate"})
        EXPECT_NE(help.out.find(text), std::string::npos) << text;
}
