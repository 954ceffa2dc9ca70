// Seeded random files for the typed reader and the calendar: whatever the bytes, a read ends,
// stays inside its records and keeps the row invariants.
#include <cstdio>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "log_capture.h"
#include "temp_dir.h"
#include "trade_calendar.h"
#include "typed_csv_table.h"

namespace {

// Text built from pieces a calendar file is made of, with a share of arbitrary bytes.
std::string random_text(std::mt19937& rng) {
    static const char* const pieces[] = {
        "iDate", "lID", "9T", "5Name", "dV", "fF", "cC", "0Z", "x",    "20240102", "-7",
        "1e308", "nan", " ",  "\t",    ",",  ",,", "#",  "\n", "\r\n", "\r",       "99999999999"};
    std::uniform_int_distribution<int> count(0, 60), pick(0, int(std::size(pieces)) - 1),
        byte(0, 255), kind(0, 9), run(1, 3000);
    std::string text;
    for (int i = count(rng); i > 0; --i) {
        const int k = kind(rng);
        if (k < 6) {
            text += pieces[pick(rng)];
        } else if (k < 8) {
            text.push_back(char(byte(rng)));
        } else {
            text.append(size_t(run(rng)), k == 8 ? '1' : char(byte(rng)));  // long lines and fields
        }
    }
    return text;
}

void check_table(const TypedCsvTable& t, bool read_ok) {
    if (!read_ok && t.columns.empty()) return;
    int32_t end = 0;
    for (const CsvColumn& c : t.columns) {
        ASSERT_GE(c.offset, end);
        end = c.offset + c.size;
    }
    ASSERT_LE(end, t.record_size);
    if (!t.rows.empty()) {
        ASSERT_LE(t.record_size, TypedCsvTable::kMaxRecord);
    }
    for (size_t r = 0; r < t.row_count(); ++r) {
        for (size_t c = 0; c < t.columns.size(); ++c) {
            ASSERT_LT(t.text_at(r, c).size(), size_t(t.columns[c].size));
            (void)t.int32_at(r, c);
            (void)t.double_at(r, c);
        }
    }
}

// Silences the process-wide log while it lives.
struct QuietLog {
    LogCapture capture;
    QuietLog() { SpLogger::instance().logger->set_level(spdlog::level::off); }
};

}  // namespace

TEST(TypedCsvRandomInput, AnyBytesReadWithoutOverrunOrHang) {
    std::mt19937 rng(20240209);
    for (int i = 0; i < 3000; ++i) {
        const std::string text = random_text(rng);
        const std::string header = (i % 3 == 0) ? random_text(rng) : std::string();
        std::FILE* file = std::tmpfile();
        ASSERT_NE(file, nullptr);
        std::fwrite(text.data(), 1, text.size(), file);
        std::rewind(file);
        TypedCsvTable t;
        t.trim_blanks = i % 2 == 0;
        const bool ok = t.read(file, header, i % 4 != 0);
        std::fclose(file);
        check_table(t, ok);
        if (HasFatalFailure()) {
            ADD_FAILURE() << "case " << i;
            return;
        }
    }
}

TEST(TypedCsvRandomInput, TheCalendarLoadsOnlyAscendingDatesFromAnyFile) {
    std::mt19937 rng(20251001);
    QuietLog quiet;  // hundreds of refused files would flood the console
    TempDir dir;
    for (int i = 0; i < 500; ++i) {
        const std::string text = (i % 2 ? "iDate\n" : "") + random_text(rng);
        TradeCalendar calendar(1);
        if (!calendar.load(dir.write("random_calendar.csv", text))) continue;
        for (size_t k = 1; k < calendar.dates.size(); ++k)
            ASSERT_LT(calendar.dates[k - 1], calendar.dates[k]) << "case " << i;
        (void)calendar.roll_to_trading_day(int32_t(rng()));
        (void)calendar.shift_trading_days(calendar.dates.front(), int32_t(rng()));
    }
}
