// Facts about the shipped exchange calendar, from the exchanges' holiday announcements.
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "temp_dir.h"
#include "trade_calendar.h"
#include "typed_csv_table.h"

namespace {

const std::string kShipped = std::string(BRIMVALE_SOURCE_DIR) + "/data/trade_calendar.csv";

// Day of the week of a yyyyMMdd date, 0 for Sunday (Sakamoto's method).
int weekday(int32_t d) {
    static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    int y = d / 10000, m = d / 100 % 100;
    const int day = d % 100;
    if (m < 3) y -= 1;
    return (y + y / 4 - y / 100 + y / 400 + t[m - 1] + day) % 7;
}

struct Shipped : ::testing::Test {
    static TradeCalendar& calendar() {
        static TradeCalendar c = [] {
            TradeCalendar loaded(1);
            loaded.load(kShipped);
            return loaded;
        }();
        return c;
    }
    void expect_closed(int32_t first, int32_t last) {
        for (int32_t d = first; d <= last; ++d)
            EXPECT_FALSE(calendar().is_trading_day(d)) << d << " should be closed";
    }
};

}  // namespace

TEST_F(Shipped, CoversTheFirstTradingDayOf2005ToTheLastOf2035) {
    ASSERT_FALSE(calendar().dates.empty());
    EXPECT_EQ(calendar().dates.front(), 20050104);
    EXPECT_EQ(calendar().dates.back(), 20351231);
    for (int32_t d : calendar().dates) {
        const int wd = weekday(d);
        ASSERT_TRUE(wd >= 1 && wd <= 5) << d << " is a weekend day";
    }
}

TEST_F(Shipped, HasTheIDateHeaderAndSaysFromWhichYearDatesAreEstimated) {
    const std::string text = TempDir::read(kShipped);
    EXPECT_EQ(text.substr(0, 6), "iDate\n");
    EXPECT_NE(text.find("\n# Published schedules up to 2026; dates from 2027 on are estimated.\n"),
              std::string::npos);
}

TEST_F(Shipped, ClosesTheSpringFestivalOf2024FromItsEveAndReopensOnTheNineteenth) {
    expect_closed(20240209, 20240218);
    EXPECT_TRUE(calendar().is_trading_day(20240208));
    EXPECT_TRUE(calendar().is_trading_day(20240219));
    EXPECT_FALSE(calendar().is_trading_day(20240204)) << "a make-up working Sunday";
}

TEST_F(Shipped, ClosesTheJoinedNationalDayAndMidAutumnBreakOf2025) {
    expect_closed(20251001, 20251008);
    EXPECT_TRUE(calendar().is_trading_day(20250930));
    EXPECT_TRUE(calendar().is_trading_day(20251009));
    EXPECT_FALSE(calendar().is_trading_day(20251011)) << "a make-up working Saturday";
}

TEST_F(Shipped, KnowsOtherAnnouncedClosures) {
    expect_closed(20200124, 20200202);  // Spring Festival 2020, extended
    EXPECT_TRUE(calendar().is_trading_day(20200203));
    expect_closed(20150903, 20150904);  // the 2015 commemoration
    expect_closed(20250128, 20250204);  // Spring Festival 2025
    EXPECT_TRUE(calendar().is_trading_day(20250205));
    expect_closed(20250501, 20250505);
    expect_closed(20260101, 20260102);
    EXPECT_TRUE(calendar().is_trading_day(20260105));
}

TEST_F(Shipped, HasEachYearsAnnouncedNumberOfTradingDays) {
    const std::map<int, int> announced{{2013, 238}, {2019, 244}, {2020, 243}, {2021, 243},
                                       {2022, 242}, {2023, 242}, {2024, 242}, {2025, 243}};
    for (const auto& [year, days] : announced) {
        EXPECT_EQ(
            calendar().count_trading_days(year * 10000 + 101, (year + 1) * 10000 + 101, false),
            days)
            << year;
    }
}
