// brimvale-cli under hostile input and failing output: it refuses, reports and never lies.
#include <sys/stat.h>

#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "temp_dir.h"

namespace {

// Runs a bash command line in which CLI stands for the tool; standard output and error go to
// files unless the line redirects them itself. A tool that hangs is killed after 20 seconds.
CliRun shell(std::string line) {
    for (std::size_t at; (at = line.find("CLI")) != std::string::npos;)
        line.replace(at, 3, "timeout 20 " + cli_path());
    // The quoting holds as long as the line itself uses double quotes only.
    return run_shell("bash -c '" + line + "'");
}

const std::string kProduct =
    R"({"obs_time": [0.5, 1], "ko_barrier": 103, "coupon": 0.16, "ki_barrier": 80, "M": 200,
        "N": 100})";

bool one_line(const std::string& text) {
    return !text.empty() && text.find('\n') == text.size() - 1;
}

// A folder of its own holding the product file.
struct CliRobustness : testing::Test {
    TempDir dir;
    const std::string product = dir.write("p.json", kProduct);
};

}  // namespace

TEST_F(CliRobustness, ProductInputBeyondFourMebibytesOrWithDatesOutOfOrderIsBadInput) {
    std::string big = R"({"S0": 100, "pad": ")";
    big.append(4 << 20, 'x');
    const std::string path = dir.write("big.json", big + "\"}");
    CliRun run = shell("CLI price " + path);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_NE(run.err.find("larger than 4194304 bytes"), std::string::npos) << run.err;
    run = shell("CLI price /dev/zero");
    EXPECT_EQ(run.exit_code, 2) << "an endless device is read only up to the limit";

    run = shell("CLI price " + dir.write("order.json", R"({"obs_time": [1.0, 0.5]})"));
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_NE(run.err.find("'obs_time'"), std::string::npos) << run.err;
    EXPECT_TRUE(one_line(run.err)) << run.err;

    EXPECT_NE(shell("CLI price --help").out.find("4 MiB"), std::string::npos);
}

TEST_F(CliRobustness, AResultThatCannotReachStandardOutputExitsOneWithAMessage) {
    for (const std::string redirect : {">/dev/full", ">&-"}) {
        const CliRun run = shell("CLI price " + product + " " + redirect);
        EXPECT_EQ(run.exit_code, 1) << redirect;
        EXPECT_NE(run.err.find("standard output"), std::string::npos) << redirect << run.err;
    }
    EXPECT_EQ(shell("CLI calendar --help >/dev/full").exit_code, 1);
}

TEST_F(CliRobustness, TermsThatCannotBePricedAreReportedWithTheEnginesReason) {
    CliRun run = shell("CLI price " + dir.write("ceiling.json", R"({"S0": 100, "S_max": 90})"));
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.out, "{\"price\": null}\n");
    EXPECT_NE(run.err.find("价格上限必须高于期初价格"), std::string::npos) << run.err;

    run = shell("CLI solve " + product + " --kind 0 --target 100 --lo 100 --hi 250");
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.json().at("code"), -5);
    EXPECT_NE(run.err.find("敲出价格或敲入价格高于价格上限"), std::string::npos) << run.err;

    // Eight grids of 4001 by 8001 nodes pass no memory bound of 1 GiB.
    const std::string large =
        dir.write("large.json", R"({"ko_barrier": 103, "coupon": 0.16, "ki_barrier": 80, "M": 4000,
                          "N": 8000})");
    run = shell("CLI stress " + large);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find("网格过大"), std::string::npos) << run.err;
}

TEST_F(CliRobustness, GreeksForALifeOutsideTheProductsAreNull) {
    for (const char* tau : {"-0.1", "1.5"}) {
        const CliRun run = shell("CLI greeks " + product + " --tau " + tau);
        EXPECT_EQ(run.exit_code, 1) << tau;
        EXPECT_EQ(run.json().at("price"), nullptr) << tau;
    }
    EXPECT_EQ(shell("CLI greeks " + product + " --tau 1").exit_code, 0);
    EXPECT_NE(shell("CLI greeks --help").out.find("outside the product's life"), std::string::npos);
}

TEST_F(CliRobustness, WinRateSpansAndCalendarsThatCannotHoldAreRefusedAtOnce) {
    const std::string calendar =
        dir.write("c.csv", "iDate\n20240102\n20240103\n20240104\n20240105\n20240108\n");
    const std::string win = "CLI winrate " + product + " --calendar " + calendar;
    CliRun run = shell(win + " --start 20240108 --end 20240102 --dates 20240102");
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_NE(run.err.find("--start 20240108 lies after --end 20240102"), std::string::npos);
    run = shell(win + " --start 20240102 --end 20240105 --dates 20240103_20240108");
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_NE(run.err.find("20240108 lies outside"), std::string::npos) << run.err;

    const std::string fifo = dir.file("calendar.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        run = shell("CLI calendar roll 20240103 --calendar " + path);
        EXPECT_EQ(run.exit_code, 2) << path << " (124 would be a hang)";
    }
}

TEST_F(CliRobustness, AGridFileThatCannotBeWrittenWholeKeepsItsEarlierContent) {
    const std::string out = dir.write("grids.csv", "MATRIX:Price\n1.0000, \n");
    // 16 KiB may be written: far less than the two blocks of 201 rows by 101 columns.
    const CliRun run =
        shell("ulimit -f 16; trap \"\" XFSZ; CLI grids " + product + " --out " + out);
    EXPECT_EQ(run.exit_code, 1) << run.err;
    EXPECT_EQ(run.out, "{\"written\": false}\n");
    EXPECT_EQ(TempDir::read(out), "MATRIX:Price\n1.0000, \n");
}
