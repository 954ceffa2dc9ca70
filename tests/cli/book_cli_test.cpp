// brimvale-cli value and book on product files, run as a user runs them, on the shipped calendar.
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "temp_dir.h"

namespace {

// A one-year classic snowball from 7 January 2025 observed monthly after a three-month lock-up,
// on a coarse grid to keep the test short.
const char* const kProduct = R"({
  "format": "brimvale-product", "version": 1, "category": "classic",
  "structure": {"knock_out_price": 103, "knock_in_price": 80},
  "schedule": {"start": "20250107", "maturity": "20260107",
    "dates": ["20250407", "20250507", "20250609", "20250707", "20250807", "20250908",
              "20251009", "20251107", "20251208", "20260107"]},
  "pde": {"M": 100, "N": 121}})";

class BookCli : public testing::Test {
  protected:
    std::vector<std::string> lines(const std::string& text) const {
        std::vector<std::string> out;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            out.push_back(line);
        return out;
    }

    TempDir dir;
};

TEST_F(BookCli, ABadRowGetsItsReasonWhileTheOtherRowsAreValuedAsTheValueCommandValuesThem) {
    dir.write("classic.json", kProduct);
    std::filesystem::create_directories(dir.path() / "sub");
    const std::string book = dir.write("sub/book.csv",
                                       "file,date,spot,knocked_in,vol,rate\n"
                                       "../classic.json,20250707,95,0,,\n"
                                       "../classic.json,20270707,95,0,,\n"
                                       "../classic.json,20250707,92.5,yes,21,2\n");
    const CliRun result = run_cli("book " + book);
    EXPECT_EQ(result.exit_code, 1) << result.err;
    const std::vector<std::string> rows = lines(result.out);
    ASSERT_EQ(rows.size(), 4u) << result.out;
    EXPECT_EQ(rows[0], "file,value,delta,gamma,theta,vega,rho,status");
    EXPECT_EQ(rows[2],
              "../classic.json,,,,,,,date 20270707 is outside the product's life (20250107 to "
              "20260107)");

    const std::string product = dir.file("classic.json");
    const CliRun plain = run_cli("value " + product + " --date 20250707 --spot 95");
    const CliRun knocked =
        run_cli("value " + product + " --date 20250707 --spot 92.5 --knocked-in --vol 21 --rate 2");
    ASSERT_EQ(plain.exit_code, 0) << plain.err;
    ASSERT_EQ(knocked.exit_code, 0) << knocked.err;
    for (const auto& [row, single] : {std::pair{rows[1], plain}, std::pair{rows[3], knocked}}) {
        const nlohmann::json v = single.json();
        std::istringstream fields(row);
        std::string field;
        std::getline(fields, field, ',');
        EXPECT_EQ(field, "../classic.json");
        for (const char* key : {"value", "delta", "gamma", "theta", "vega", "rho"}) {
            std::getline(fields, field, ',');
            EXPECT_EQ(std::strtod(field.c_str(), nullptr), v.at(key).get<double>())
                << key << " in " << row;
        }
        std::getline(fields, field);
        EXPECT_EQ(field, "ok");
    }
}

TEST_F(BookCli, ABookWithoutTheHeaderAndADayThatIsNoTradingDayAreRefusedWithExit2) {
    const CliRun headless =
        run_cli("book " + dir.write("book.csv", "classic.json,20250707,95,0\n"));
    EXPECT_EQ(headless.exit_code, 2);
    EXPECT_NE(headless.err.find("unknown column 'classic.json'"), std::string::npos)
        << headless.err;
    EXPECT_EQ(headless.out, "");

    const std::string product = dir.write("classic.json", kProduct);
    const CliRun sunday = run_cli("value " + product + " --date 20250706 --spot 95");
    EXPECT_EQ(sunday.exit_code, 2);
    EXPECT_NE(sunday.err.find("not a trading day"), std::string::npos) << sunday.err;
}

}  // namespace
