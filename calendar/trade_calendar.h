// The exchange trading calendar: the ascending list of trading days (yyyyMMdd integers, 0 for no
// date) and the date arithmetic the schedule and the windows count in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Every operation finds a date d by binary search: lo is the number of trading days strictly
// before d, and d is a trading day exactly when it is the entry at lo.
class TradeCalendar {
  public:
    // Logs "Calendar(<id>) is created." at trace level. The process-wide calendar has id 0.
    explicit TradeCalendar(int32_t id);

    // Reads a typed CSV file whose first line is the header and whose first column is an 'i'
    // column of trading days. Rows whose date reads as 0 (blank or non-numeric lines) are left
    // out; lines that are too long, hold a NUL byte or give no real calendar date
    // (is_calendar_date) are skipped and counted in the log line of the load. Only a regular
    // file is read. Fails with "CANT load Calendar from <path>." at critical level, keeping the
    // previous dates, when no date was read or the dates are not strictly ascending (a binary
    // search over an unsorted list gives wrong answers silently).
    //
    // Tests reload the process-wide calendar from a file of their own with
    // trade_calendar().load(path). Loading is not safe while other threads read the calendar.
    bool load(const std::string& path);

    bool is_trading_day(int32_t d) const;
    // k trading days from a trading day (back for k < 0); from any other day k = 0 and k = 1
    // give the next trading day and k = -1 the previous one. 0 outside the list.
    int32_t shift_trading_days(int32_t d, int32_t k) const;
    // d when it is a trading day, else the next trading day; 0 outside the calendar.
    int32_t roll_to_trading_day(int32_t d) const;
    // Trading days t with a <= t < b (negative when b < a), plus 1 when inclusive; -1 when empty.
    int32_t count_trading_days(int32_t a, int32_t b, bool inclusive) const;
    // Trading days from a to b divided by days_per_year; NaN when the calendar is empty.
    double trading_year_fraction(int32_t a, int32_t b, double days_per_year) const;

    int32_t id;
    std::vector<int32_t> dates;

  private:
    size_t position(int32_t d) const;  // lo of the binary search
    bool contains(int32_t d) const;
};

// Whether d (yyyyMMdd) is a real date of the Gregorian calendar in the years 1900 to 2200.
bool is_calendar_date(int32_t d);

// The process-wide calendar (id 0). The first call, safe from any thread, creates it and loads
// the first of locate_calendar_file()'s candidates that exists, keeping the calendar whether or
// not the load succeeded.
TradeCalendar& trade_calendar();

// trading_year_fraction on the process-wide calendar.
double trading_year_fraction(int32_t a, int32_t b, double days_per_year);

// Where the process-wide calendar is read from, in order: "trade_calendar.csv" in the working
// directory, then beside the executable, then in "data/" beside the executable (a program
// started from a desktop menu has an arbitrary working directory).
std::vector<std::string> calendar_file_candidates();
// The first candidate that exists, or "trade_calendar.csv" when none does.
std::string locate_calendar_file();
