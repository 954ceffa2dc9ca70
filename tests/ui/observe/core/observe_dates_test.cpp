#include "observe_dates.h"

#include <QString>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "form_text.h"
#include "qt_text.h"
#include "trade_calendar.h"

namespace {

const QString kLockupTooLong = u8("锁定观察数量大于以观察频率取样的日期数量!");

QDate ymd(int32_t d) {
    return FormText::dateFromNumber(d);
}

// The shipped exchange calendar, loaded into the process-wide calendar the generator rolls on.
struct ObserveDates : ::testing::Test {
    static void SetUpTestSuite() {
        ASSERT_TRUE(
            trade_calendar().load(std::string(BRIMVALE_SOURCE_DIR) + "/data/trade_calendar.csv"));
    }
    static QString generate(int32_t start, int32_t end, int lockup, const char* frequency) {
        const ObserveDatesResult r =
            generateObserveDates(ymd(start), ymd(end), lockup, u8(frequency));
        EXPECT_TRUE(r.ok()) << r.errorText.toStdString();
        return r.dates;
    }
    static QString failure(int32_t start, int32_t end, int lockup, const char* frequency) {
        const ObserveDatesResult r =
            generateObserveDates(ymd(start), ymd(end), lockup, u8(frequency));
        EXPECT_TRUE(r.dates.isEmpty());
        EXPECT_EQ(r.errorTitle, u8("观察日参数错误"));
        return r.errorText;
    }
};

}  // namespace

TEST_F(ObserveDates, MonthlyCandidatesCarryTheShortenedMonthEnd) {
    EXPECT_EQ(generate(20240131, 20240628, 1, "月"),
              "20240229_20240329_20240429_20240529_20240628");
    EXPECT_EQ(generate(20240131, 20240628, 1, "1M"), generate(20240131, 20240628, 1, "月"));
}

TEST_F(ObserveDates, TheGuardBeforeMaturityIsStrict) {
    // Weekly: 18 March plus 3 days is the maturity itself, so that candidate goes.
    EXPECT_EQ(generate(20240304, 20240321, 0, "周"), "20240311_20240321");
    EXPECT_EQ(generate(20240304, 20240322, 0, "1W"), "20240311_20240318_20240322");
    // Monthly: 15 February 2023 plus 15 days is 2 March.
    EXPECT_EQ(generate(20230115, 20230302, 0, "月"), "20230302");
    EXPECT_EQ(generate(20230115, 20230303, 0, "月"), "20230215_20230303");
    // Biweekly: 14-day steps, 7 days of guard.
    EXPECT_EQ(generate(20240304, 20240408, 0, "双周"), "20240318_20240408");
    EXPECT_EQ(generate(20240304, 20240409, 0, "2W"), "20240318_20240401_20240409");
}

TEST_F(ObserveDates, LockupDropsAllButTheLastOfTheCoveredCandidates) {
    // Eleven monthly candidates from 2 February to 2 December 2024.
    const QString all = generate(20240102, 20250102, 0, "月");
    EXPECT_EQ(all.split('_').size(), 12);
    EXPECT_EQ(generate(20240102, 20250102, 1, "月"), all);
    const QString three = generate(20240102, 20250102, 3, "月");
    EXPECT_EQ(three.split('_').size(), 10);
    EXPECT_TRUE(three.startsWith("20240402_")) << three.toStdString();
    EXPECT_EQ(generate(20240102, 20250102, 11, "月"), "20241202_20250102");

    EXPECT_EQ(failure(20240102, 20250102, 12, "月"), kLockupTooLong);
    EXPECT_EQ(failure(20240102, 20250102, -1, "月"), kLockupTooLong);
}

TEST_F(ObserveDates, AnUnknownFrequencyGivesNoCandidates) {
    EXPECT_EQ(generate(20240102, 20250102, 0, "季"), "20250102");
    EXPECT_EQ(failure(20240102, 20250102, 1, "季"), kLockupTooLong);
}

TEST_F(ObserveDates, AbsentDatesAreReportedStartFirst) {
    EXPECT_EQ(failure(0, 0, 3, "月"), u8("无起始日"));
    EXPECT_EQ(failure(20240102, 0, 3, "月"), u8("无到期日"));
}

TEST_F(ObserveDates, CandidatesRolledOntoTheSameDayAreAllKept) {
    // 9 and 16 February 2024 both fall in the Spring Festival closure and roll onto the 19th.
    EXPECT_EQ(generate(20240202, 20240301, 0, "周"), "20240219_20240219_20240223_20240301");
    // The last candidate may roll onto the maturity date itself.
    EXPECT_EQ(generate(20240126, 20240219, 0, "周"), "20240202_20240219_20240219");
}

TEST_F(ObserveDates, ACandidateOutsideTheCalendarIsWrittenAsZero) {
    EXPECT_EQ(generate(20351115, 20360301, 0, "月"), "20351217_0_20360301");
}

TEST(ObserveYearFractions, NaturalDaysKeepNegativeTimesAndAppend) {
    std::vector<double> times{9.0};
    observeYearFractionsNatural("20240101__20240701_20231231_", "20240101", 365, times);
    ASSERT_EQ(times.size(), 4u);
    EXPECT_EQ(times[0], 9.0);
    EXPECT_DOUBLE_EQ(times[1], 0.0);
    EXPECT_DOUBLE_EQ(times[2], 182.0 / 365);
    EXPECT_DOUBLE_EQ(times[3], -1.0 / 365);
}

TEST(ObserveYearFractions, TradingDaysSkipDatesBeforeTheStartAndKeepTheStart) {
    ASSERT_TRUE(
        trade_calendar().load(std::string(BRIMVALE_SOURCE_DIR) + "/data/trade_calendar.csv"));
    std::vector<double> times;
    observeYearFractionsTrading("20231229_20240102_20240105_20240219", "20240102", 252, times);
    ASSERT_EQ(times.size(), 3u);
    EXPECT_DOUBLE_EQ(times[0], 0.0);
    EXPECT_DOUBLE_EQ(times[1], 3.0 / 252);
    EXPECT_DOUBLE_EQ(times[2],
                     28.0 / 252);  // 22 trading days in January, 6 in February before the 19th
}
