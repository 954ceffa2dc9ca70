#include "trade_calendar.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>

#include "sp_logger.h"
#include "typed_csv_table.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

constexpr const char* kCalendarFile = "trade_calendar.csv";

SpLogger* log() {
    return &SpLogger::instance();
}

// The folder of the running executable; empty when the system does not tell.
std::filesystem::path executable_dir() {
    std::error_code ec;
#ifdef _WIN32
    wchar_t buffer[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    if (n == 0 || n == MAX_PATH) return {};
    return std::filesystem::path(buffer).parent_path();
#else
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path();
#endif
}

// The first field of every row that holds a date, counting the rows whose number is no real
// date in `skipped`; false when a date is not above the one before it.
bool collect_dates(const TypedCsvTable& table, std::vector<int32_t>& dates, size_t& skipped) {
    for (size_t row = 0; row < table.row_count(); ++row) {
        const int32_t d = table.int32_at(row, 0);
        if (d == 0) continue;
        if (!is_calendar_date(d)) {
            ++skipped;
            continue;
        }
        if (!dates.empty() && d <= dates.back()) return false;
        dates.push_back(d);
    }
    return true;
}

}  // namespace

TradeCalendar::TradeCalendar(int32_t id_) : id(id_) {
    sp_printf(log(), kLogTrace, "Calendar(%d) is created.", id);
}

bool TradeCalendar::load(const std::string& path) {
    TypedCsvTable table;
    table.trim_blanks = true;
    std::vector<int32_t> loaded;
    const bool read = table.read(path, std::string(), true);
    size_t skipped = table.skipped_lines;
    if (read && !collect_dates(table, loaded, skipped)) {
        sp_printf(log(), kLogError, "Calendar: dates in %s are not in ascending order.",
                  path.c_str());
        loaded.clear();
    }
    if (loaded.empty()) {
        sp_printf(log(), kLogCritical, "CANT load Calendar from %s.", path.c_str());
        return false;
    }
    dates = std::move(loaded);
    if (skipped == 0)
        sp_printf(log(), kLogInfo, "Calendar: %d items loaded from %s.", int(dates.size()),
                  path.c_str());
    else
        sp_printf(log(), kLogInfo, "Calendar: %d items loaded from %s, %d lines skipped.",
                  int(dates.size()), path.c_str(), int(skipped));
    return true;
}

bool is_calendar_date(int32_t d) {
    const int32_t year = d / 10000, month = d / 100 % 100, day = d % 100;
    if (year < 1900 || year > 2200 || month < 1 || month > 12 || day < 1) return false;
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

size_t TradeCalendar::position(int32_t d) const {
    return size_t(std::lower_bound(dates.begin(), dates.end(), d) - dates.begin());
}

bool TradeCalendar::contains(int32_t d) const {
    const size_t lo = position(d);
    return lo < dates.size() && dates[lo] == d;
}

bool TradeCalendar::is_trading_day(int32_t d) const {
    if (dates.empty()) {
        sp_printf(log(), kLogCritical, "trd_calendar is NOT initialized.");
        return false;
    }
    return contains(d);
}

int32_t TradeCalendar::shift_trading_days(int32_t d, int32_t k) const {
    if (dates.empty()) {
        sp_printf(log(), kLogError, "trd_calendar is NOT initialized.");
        return 0;
    }
    if (d < dates.front() || d > dates.back()) {
        sp_printf(log(), kLogError, "BASE day exceeds calendar.");
        return 0;
    }
    // From a day between two trading days, lo already points at the next trading day, so one
    // step forward is taken by standing there.
    const int64_t lo = int64_t(position(d));
    const int64_t index = (!contains(d) && k > 0) ? lo + k - 1 : lo + k;
    if (index < 0 || index >= int64_t(dates.size())) return 0;
    return dates[size_t(index)];
}

int32_t TradeCalendar::roll_to_trading_day(int32_t d) const {
    // An empty calendar is reported once, by the shift.
    if (!dates.empty() && contains(d)) return d;
    return shift_trading_days(d, 1);
}

int32_t TradeCalendar::count_trading_days(int32_t a, int32_t b, bool inclusive) const {
    if (dates.empty()) return -1;
    return int32_t(int64_t(position(b)) - int64_t(position(a))) + (inclusive ? 1 : 0);
}

double TradeCalendar::trading_year_fraction(int32_t a, int32_t b, double days_per_year) const {
    if (dates.empty()) return std::numeric_limits<double>::quiet_NaN();
    return double(int64_t(position(b)) - int64_t(position(a))) / days_per_year;
}

TradeCalendar& trade_calendar() {
    // A function-local static: its initialisation runs once, and other threads wait for it.
    static TradeCalendar calendar = [] {
        TradeCalendar c(0);
        c.load(locate_calendar_file());
        return c;
    }();
    return calendar;
}

double trading_year_fraction(int32_t a, int32_t b, double days_per_year) {
    return trade_calendar().trading_year_fraction(a, b, days_per_year);
}

std::vector<std::string> calendar_file_candidates(const std::string& executable_folder,
                                                  const std::string& data_folder) {
    std::vector<std::string> candidates{kCalendarFile};
    const std::filesystem::path beside(executable_folder);
    if (!beside.empty()) {
        candidates.push_back((beside / kCalendarFile).string());
        candidates.push_back((beside / "data" / kCalendarFile).string());
    }
    if (!data_folder.empty())
        candidates.push_back((std::filesystem::path(data_folder) / kCalendarFile).string());
    return candidates;
}

std::vector<std::string> calendar_file_candidates() {
#ifdef BRIMVALE_DATA_DIR
    const std::string installed = BRIMVALE_DATA_DIR;
#else
    const std::string installed;
#endif
    return calendar_file_candidates(executable_dir().string(), installed);
}

std::string locate_calendar_file() {
    return locate_calendar_file(calendar_file_candidates());
}

std::string locate_calendar_file(const std::vector<std::string>& candidates) {
    for (const std::string& path : candidates) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec)) return path;
    }
    return kCalendarFile;
}
