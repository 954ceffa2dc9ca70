// brimvale-cli price with the accurate scheme, run as a program.
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli_product.h"
#include "cli_run.h"
#include "temp_dir.h"
#include "test_snowball.h"

namespace {

CliRun run_price(const std::string& args, const std::string& json = "") {
    TempDir dir;
    return run_cli("price " + args + " " + dir.write("product.json", json));
}

// The quarterly product on the accurate scheme, as the engine and the tool price it.
TestSnowball accurate(bool extrapolate) {
    TestSnowball t = TestSnowball::quarterly().grid(200, 243);
    t.scheme = PdeScheme::accurate;
    t.extrapolate = extrapolate;
    return t;
}

}  // namespace

TEST(AccurateCli, PriceReproducesTheEngineAndPrintsTheErrorEstimateWhenExtrapolating) {
    const CliRun plain = run_price("", cli_product_json(accurate(false)));
    ASSERT_EQ(plain.exit_code, 0) << plain.err;
    const nlohmann::json p = plain.json();
    EXPECT_EQ(p.at("price").get<double>(), accurate(false).build().price());
    EXPECT_FALSE(p.contains("error_estimate"));

    const CliRun extrapolated = run_price("", cli_product_json(accurate(true)));
    ASSERT_EQ(extrapolated.exit_code, 0) << extrapolated.err;
    const nlohmann::json x = extrapolated.json();
    const PdeResult r = accurate(true).build().price_result();
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
