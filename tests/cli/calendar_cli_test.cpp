// brimvale-cli schedule and calendar, run as a user runs them.
#include <cstdio>
#include <ctime>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "temp_dir.h"

namespace {

const std::string kOnShipped =
    " --calendar '" + std::string(BRIMVALE_SOURCE_DIR) + "/data/trade_calendar.csv'";

// Runs brimvale-cli with the arguments (a shell word list) in the given working directory.
CliRun cli(const std::string& args, const std::string& cwd = ".") {
    return run_shell("cd '" + cwd + "' && " + cli_path() + " " + args);
}

std::string yyyymmdd(const std::tm& tm) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    return buf;
}

std::vector<std::string> split(const std::string& text) {
    std::vector<std::string> parts;
    size_t pos = 0;
    for (size_t end; (end = text.find('_', pos)) != std::string::npos; pos = end + 1)
        parts.push_back(text.substr(pos, end - pos));
    parts.push_back(text.substr(pos));
    return parts;
}

}  // namespace

TEST(CliSchedule, TodayToOneYearMonthlyWithLockupThreeGivesTenDatesEndingAtMaturity) {
    const std::time_t now = std::time(nullptr);
    std::tm today = *std::localtime(&now);
    std::tm next = today;
    next.tm_year += 1;
    if (next.tm_mon == 1 && next.tm_mday == 29) next.tm_mday = 28;  // as adding a year does

    // A working directory without a calendar: the copy beside the executable is used.
    TempDir cwd;
    const CliRun r = cli("schedule --start " + yyyymmdd(today) + " --end " + yyyymmdd(next) +
                             " --frequency 月 --lockup 3",
                         cwd.path().string());
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_NE(r.err.find("loaded from " BRIMVALE_BIN_DIR "/trade_calendar.csv."), std::string::npos)
        << r.err;
    const nlohmann::json j = r.json();
    const std::vector<std::string> dates = split(j["dates"].get<std::string>());
    ASSERT_EQ(dates.size(), 10u) << r.out;
    const CliRun rolled = cli("calendar roll " + yyyymmdd(next), cwd.path().string());
    EXPECT_EQ(dates.back(), std::to_string(rolled.json()["date"].get<int>()));
    EXPECT_EQ(j["obs_time"].size(), 10u);
}

TEST(CliSchedule, PrintsDatesTradingTimesAndTheInclusiveDayCount) {
    const CliRun r =
        cli("schedule --start 20240210 --end 20250102 --frequency 1M --lockup 1" + kOnShipped);
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const nlohmann::json j = r.json();
    // The start rolls from the closed 10 February onto the 19th.
    EXPECT_EQ(split(j["dates"].get<std::string>()).front(), "20240319");
    EXPECT_EQ(split(j["dates"].get<std::string>()).back(), "20250102");
    const CliRun count = cli("calendar count 20240219 20250102 --inclusive" + kOnShipped);
    EXPECT_EQ(j["trading_days"], count.json()["count"]);
    const CliRun to_first = cli("calendar count 20240219 20240319" + kOnShipped);
    EXPECT_DOUBLE_EQ(j["obs_time"][0].get<double>(), to_first.json()["count"].get<int>() / 252.0);
}

TEST(CliSchedule, GeneratorErrorsExitOneWithTheirMessageAndBadArgumentsTwo) {
    const std::pair<std::string, const char*> generator_errors[] = {
        {"--start 20240102 --end 20250102 --lockup 12",
         "锁定观察数量大于以观察频率取样的日期数量!"},
        {"--start 19900102 --end 20250102", "无起始日"},  // rolls to no date
        {"--start 20240102 --end 20400102", "无到期日"}};
    for (const auto& [args, message] : generator_errors) {
        const CliRun r = cli("schedule " + args + kOnShipped);
        EXPECT_EQ(r.exit_code, 1) << args;
        EXPECT_TRUE(r.out.empty()) << args;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
    for (const std::string args : {"--start 20240230 --end 20250102", "--start 20240102",
                                   "--start 20240102 --end 20250102 --lockup x"})
        EXPECT_EQ(cli("schedule " + args + kOnShipped).exit_code, 2) << args;
    EXPECT_EQ(cli("schedule --start 20240102 --end 20250102 --calendar /nonexistent.csv").exit_code,
              2);
}

TEST(CliCalendar, CountsRollsAndShiftsOnTheGivenCalendar) {
    TempDir dir;
    const std::string cal =
        " --calendar '" + dir.write("c.csv", "iDate\n20240102\n20240103\n20240105\n") + "'";
    EXPECT_EQ(cli("calendar count 20240102 20240105" + cal).json()["count"], 2);
    EXPECT_EQ(cli("calendar count 20240102 20240105 --inclusive" + cal).json()["count"], 3);
    EXPECT_EQ(cli("calendar count 20240105 20240102" + cal).json()["count"], -2);
    EXPECT_EQ(cli("calendar roll 20240104" + cal).json()["date"], 20240105);
    EXPECT_EQ(cli("calendar shift 20240104 -1" + cal).json()["date"], 20240103);

    const CliRun past_end = cli("calendar shift 20240103 2" + cal);
    EXPECT_EQ(past_end.exit_code, 1);
    EXPECT_TRUE(past_end.out.empty());
    EXPECT_EQ(cli("calendar roll 20231231" + cal).exit_code, 1);
    EXPECT_EQ(cli("calendar shift 20240103" + cal).exit_code, 2);
    EXPECT_EQ(cli("calendar roll 2024-01-04" + cal).exit_code, 2);
    EXPECT_EQ(cli("calendar week 20240104" + cal).exit_code, 2);
}
