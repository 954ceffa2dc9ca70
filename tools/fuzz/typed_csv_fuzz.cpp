// libFuzzer target for the typed CSV reader and the calendar load on top of it. The first byte
// picks the options; with its bit 2 set, the input's first line is passed as the header text.
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "trade_calendar.h"
#include "typed_csv_table.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

void check_table(const TypedCsvTable& t) {
    int32_t end = 0;
    for (const CsvColumn& c : t.columns) {
        check(c.offset >= end && c.size > 0);
        end = c.offset + c.size;
    }
    check(end <= t.record_size || t.columns.empty());
    if (!t.rows.empty()) check(t.record_size >= 1 && t.record_size <= TypedCsvTable::kMaxRecord);
    for (size_t r = 0; r < t.row_count(); ++r)
        for (size_t c = 0; c < t.columns.size(); ++c) {
            check(t.text_at(r, c).size() < size_t(t.columns[c].size));
            (void)t.int64_at(r, c);
            (void)t.double_at(r, c);
            (void)t.char_at(r, c);
        }
}

const std::string& calendar_path() {
    static const std::string path = "/dev/shm/typed_csv_fuzz_" + std::to_string(getpid()) + ".csv";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t options = data[0];
    std::string body(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string header;
    if (options & 4) {
        const size_t nl = body.find('\n');
        header = body.substr(0, nl);
        body = nl == std::string::npos ? std::string() : body.substr(nl + 1);
    }

    std::FILE* file = fmemopen(body.empty() ? nullptr : &body[0], body.size(), "rb");
    if (file == nullptr) return 0;
    TypedCsvTable table;
    table.trim_blanks = options & 1;
    table.separator = (options & 8) ? ';' : ',';
    table.read(file, header, options & 2);
    std::fclose(file);
    check_table(table);

    std::FILE* out = std::fopen(calendar_path().c_str(), "wb");
    if (out == nullptr) return 0;
    std::fwrite(body.data(), 1, body.size(), out);
    std::fclose(out);
    TradeCalendar calendar(1);
    if (calendar.load(calendar_path())) {
        for (size_t k = 1; k < calendar.dates.size(); ++k)
            check(calendar.dates[k - 1] < calendar.dates[k]);
        const int32_t first = calendar.dates.front();
        (void)calendar.roll_to_trading_day(first < INT32_MAX ? first + 1 : first);
        (void)calendar.shift_trading_days(calendar.dates.back(), -int32_t(calendar.dates.size()));
        (void)calendar.count_trading_days(0, calendar.dates.back(), true);
    }
    return 0;
}
