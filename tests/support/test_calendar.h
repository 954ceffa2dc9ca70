// Trading calendars made for tests: weekdays over a span less closed days, written as the
// program's calendar file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "temp_dir.h"

class TestCalendar {
  public:
    // The weekdays from first to last (yyyymmdd), both included.
    static TestCalendar weekdays(int32_t first, int32_t last) {
        TestCalendar c;
        for (long day = serial(first); day <= serial(last); ++day)
            if (is_weekday(day)) c.days_.push_back(yyyymmdd(day));
        return c;
    }
    // The first `count` weekdays from first (yyyymmdd) on.
    static TestCalendar weekdays_from(int32_t first, int count) {
        TestCalendar c;
        for (long day = serial(first); static_cast<int>(c.days_.size()) < count; ++day)
            if (is_weekday(day)) c.days_.push_back(yyyymmdd(day));
        return c;
    }
    // Closes the days from first to last, both included: a holiday.
    TestCalendar& close(int32_t first, int32_t last) {
        std::vector<int32_t> open;
        for (int32_t d : days_)
            if (d < first || d > last) open.push_back(d);
        days_.swap(open);
        return *this;
    }

    const std::vector<int32_t>& days() const { return days_; }

    // The file's text: the header line, then one date a line.
    std::string csv() const {
        std::string text = "iDate\n";
        for (int32_t d : days_)
            text += std::to_string(d) + "\n";
        return text;
    }
    std::string write(const TempDir& dir, const std::string& name = "trade_calendar.csv") const {
        return dir.write(name, csv());
    }

  private:
    // Days since 1 March of year 0 in the proleptic Gregorian calendar, and back.
    static long serial(int32_t ymd) {
        long y = ymd / 10000;
        const int m = ymd / 100 % 100, d = ymd % 100;
        if (m <= 2) --y;
        const long era = y / 400, year_of_era = y - era * 400;
        const int day_of_year = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
        return era * 146097 + year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    }
    static int32_t yyyymmdd(long serial_day) {
        const long era = serial_day / 146097, day_of_era = serial_day - era * 146097;
        const long year_of_era =
            (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
        const long day_of_year =
            day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
        const long mp = (5 * day_of_year + 2) / 153;
        const long d = day_of_year - (153 * mp + 2) / 5 + 1;
        const long m = mp < 10 ? mp + 3 : mp - 9;
        const long y = year_of_era + era * 400 + (m <= 2);
        return static_cast<int32_t>(y * 10000 + m * 100 + d);
    }
    // 1 March of year 0 was a Wednesday.
    static bool is_weekday(long serial_day) { return (serial_day + 2) % 7 < 5; }

    std::vector<int32_t> days_;
};
