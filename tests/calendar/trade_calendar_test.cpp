#include "trade_calendar.h"

#include <cmath>
#include <filesystem>
#include <string>
#include <thread>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "log_capture.h"
#include "temp_dir.h"

namespace {

const char* const kNotInitialized = "trd_calendar is NOT initialized.";
const char* const kThreeDays = "iDate\n20240102\n20240103\n20240105\n";

// The calendar of the examples: 2 January, 3 January and 5 January 2024.
struct ThreeDays : ::testing::Test {
    TempDir dir;
    TradeCalendar calendar{1};
    void SetUp() override { ASSERT_TRUE(calendar.load(dir.write("c.csv", kThreeDays))); }
};

// A calendar with id 7 about to load files of a folder, its log captured from its creation.
struct TradeCalendarLoad : ::testing::Test {
    TempDir dir;
    LogCapture log;
    TradeCalendar calendar{7};
};

// A calendar whose only load failed (a file without the date column), with the log of that load
// cleared.
struct TradeCalendarEmpty : TradeCalendarLoad {
    void SetUp() override {
        EXPECT_FALSE(calendar.load(dir.write("x.csv", "xDate\n20240102\n")));
        log.clear();
    }
};

}  // namespace

TEST_F(ThreeDays, RollsAndShiftsFromDaysBetweenTradingDays) {
    EXPECT_EQ(calendar.roll_to_trading_day(20240104), 20240105);
    EXPECT_EQ(calendar.roll_to_trading_day(20240103), 20240103);
    EXPECT_EQ(calendar.shift_trading_days(20240104, -1), 20240103);
    EXPECT_EQ(calendar.shift_trading_days(20240104, 0), 20240105);
    EXPECT_EQ(calendar.shift_trading_days(20240104, 1), 20240105);
    EXPECT_EQ(calendar.shift_trading_days(20240102, 2), 20240105);
    EXPECT_EQ(calendar.shift_trading_days(20240105, -2), 20240102);
    EXPECT_TRUE(calendar.is_trading_day(20240105));
    EXPECT_FALSE(calendar.is_trading_day(20240104));
}

TEST_F(ThreeDays, ShiftsPastTheEndGiveZeroSilentlyAndDatesOutsideTheCalendarAreLogged) {
    LogCapture log;
    EXPECT_EQ(calendar.shift_trading_days(20240103, 2), 0);
    EXPECT_EQ(calendar.shift_trading_days(20240102, -1), 0);
    EXPECT_EQ(calendar.shift_trading_days(20240103, INT32_MAX), 0);
    EXPECT_TRUE(log.lines().empty());

    EXPECT_EQ(calendar.shift_trading_days(20231231, 1), 0);
    EXPECT_EQ(calendar.roll_to_trading_day(20240106), 0);
    EXPECT_EQ(log.lines(),
              (std::vector<LogCapture::Line>{{kLogError, "BASE day exceeds calendar."},
                                             {kLogError, "BASE day exceeds calendar."}}));
}

TEST_F(ThreeDays, CountsTradingDaysFromTheFirstDateUpToTheSecond) {
    EXPECT_EQ(calendar.count_trading_days(20240102, 20240105, false), 2);
    EXPECT_EQ(calendar.count_trading_days(20240102, 20240105, true), 3);
    EXPECT_EQ(calendar.count_trading_days(20240105, 20240102, false), -2);
    EXPECT_EQ(calendar.count_trading_days(20240101, 20240201, false), 3);
    EXPECT_DOUBLE_EQ(calendar.trading_year_fraction(20240103, 20240102, 252), -1.0 / 252);
    EXPECT_DOUBLE_EQ(calendar.trading_year_fraction(20240102, 20240106, 252), 3.0 / 252);
}

TEST_F(TradeCalendarLoad, ReadsTheFirstColumnSkippingCommentsAndLogsTheCount) {
    const std::string path = dir.write("c.csv", "iDate,5Note\n20240102,a\n# closed\n20240103\n\n");
    ASSERT_TRUE(calendar.load(path));
    EXPECT_EQ(calendar.dates, (std::vector<int32_t>{20240102, 20240103}));
    EXPECT_EQ(log.lines(), (std::vector<LogCapture::Line>{
                               {kLogTrace, "Calendar(7) is created."},
                               {kLogInfo, "Calendar: 2 items loaded from " + path + "."}}));
}

TEST_F(TradeCalendarLoad, LinesWithANulByteOrNoRealDateAreSkippedAndCountedInTheLogLine) {
    const char raw[] =
        "iDate\n20240102\n2024\0 0102\n20241301\n20240132\n18991231\n22010101\n20230229\n"
        "20240103\n20240229\n";
    const std::string path = dir.write("c.csv", std::string(raw, sizeof raw - 1));
    ASSERT_TRUE(calendar.load(path));
    EXPECT_EQ(calendar.dates, (std::vector<int32_t>{20240102, 20240103, 20240229}));
    EXPECT_EQ(log.lines().back(), (LogCapture::Line{kLogInfo, "Calendar: 3 items loaded from " +
                                                                  path + ", 6 lines skipped."}));
    EXPECT_TRUE(is_calendar_date(22001231));
    EXPECT_FALSE(is_calendar_date(21000229));  // not a leap year
}

TEST_F(TradeCalendarLoad, OnlyRegularFilesAreReadSoAPipeOrADeviceFailsAtOnce) {
    const std::string fifo = dir.file("calendar.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero"), dir.path().string()})
        EXPECT_FALSE(calendar.load(path)) << path;  // a pipe without a writer would block
    EXPECT_TRUE(calendar.dates.empty());
}

TEST_F(TradeCalendarLoad, AFailedLoadLogsThePathAndKeepsThePreviousDates) {
    ASSERT_TRUE(calendar.load(dir.write("good.csv", "iDate\n20240102\n")));
    for (const std::string& path :
         {dir.write("x.csv", "xDate\n20240103\n"), dir.file("absent.csv"),
          dir.write("none.csv", "iDate\n# nothing\n"), dir.write("d.csv", "dDate\n20240103\n")}) {
        log.clear();
        EXPECT_FALSE(calendar.load(path));
        EXPECT_EQ(log.lines().back(),
                  (LogCapture::Line{kLogCritical, "CANT load Calendar from " + path + "."}));
        EXPECT_EQ(calendar.dates, std::vector<int32_t>{20240102});
    }
}

TEST_F(TradeCalendarLoad, RefusesDatesOutOfOrderSinceTheSearchNeedsThemAscending) {
    const std::string path = dir.write("c.csv", "iDate\n20240103\n20240102\n");
    log.clear();
    EXPECT_FALSE(calendar.load(path));
    EXPECT_FALSE(calendar.load(dir.write("dup.csv", "iDate\n20240102\n20240102\n")));
    EXPECT_TRUE(calendar.dates.empty());
    EXPECT_EQ(log.lines().front(),
              (LogCapture::Line{kLogError,
                                "Calendar: dates in " + path + " are not in ascending order."}));
}

TEST_F(TradeCalendarEmpty, EveryOperationTakesItsEmptyBranchWithOneLogLinePerCall) {
    EXPECT_FALSE(calendar.is_trading_day(20240102));
    EXPECT_EQ(calendar.shift_trading_days(20240102, 1), 0);
    EXPECT_EQ(calendar.roll_to_trading_day(20240102), 0);
    EXPECT_EQ(log.lines(), (std::vector<LogCapture::Line>{{kLogCritical, kNotInitialized},
                                                          {kLogError, kNotInitialized},
                                                          {kLogError, kNotInitialized}}));
    log.clear();
    EXPECT_EQ(calendar.count_trading_days(20240102, 20240105, true), -1);
    EXPECT_TRUE(std::isnan(calendar.trading_year_fraction(20240102, 20240105, 252)));
    EXPECT_TRUE(log.lines().empty());
}

TEST(ProcessCalendar, FirstUseFromSeveralThreadsYieldsOneLoadedCalendar) {
    std::vector<TradeCalendar*> seen(4, nullptr);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = &trade_calendar(); });
    for (std::thread& t : threads)
        t.join();
    for (TradeCalendar* c : seen)
        EXPECT_EQ(c, &trade_calendar());
    EXPECT_FALSE(trade_calendar().dates.empty()) << "the shipped copy beside the executable loads";
}

TEST(ProcessCalendar, IsOneObjectWithIdZeroThatTestsCanReloadFromTheirOwnFile) {
    TradeCalendar& calendar = trade_calendar();
    EXPECT_EQ(&calendar, &trade_calendar());
    EXPECT_EQ(calendar.id, 0);
    TempDir dir;
    ASSERT_TRUE(trade_calendar().load(dir.write("c.csv", kThreeDays)));
    EXPECT_DOUBLE_EQ(trading_year_fraction(20240102, 20240105, 252), 2.0 / 252);
}

TEST(ProcessCalendar, IsFoundInTheWorkingDirectoryFirstAndBesideTheExecutableOtherwise) {
    TempDir dir;
    InDirectory in(dir.path());
    const std::string beside = std::string(BRIMVALE_BIN_DIR) + "/trade_calendar.csv";
    const std::vector<std::string> candidates = calendar_file_candidates();
    ASSERT_EQ(candidates.size(), 4u);
    EXPECT_EQ(candidates[0], "trade_calendar.csv");
    EXPECT_TRUE(std::filesystem::equivalent(candidates[1], beside));
    const std::filesystem::path installed(candidates[3]);
    EXPECT_TRUE(installed.is_absolute() && installed.parent_path().filename() == "brimvale")
        << "then the installed data folder: " << installed;
    EXPECT_TRUE(std::filesystem::equivalent(locate_calendar_file(), beside));

    dir.write("trade_calendar.csv", "iDate\n20240102\n");
    EXPECT_EQ(locate_calendar_file(), "trade_calendar.csv");
}
