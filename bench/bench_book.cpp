// Running time of a morning re-valuation: a book of 1,000 live products, each in its own product
// file at the window's default grid (M 200, N the trading days to maturity minus one), valued on
// one worker per processor as brimvale-cli book values it.
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <QString>

#include <benchmark/benchmark.h>

#include "book_valuation.h"
#include "observe_dates.h"
#include "product_file.h"

namespace {

constexpr int kBookRows = 1000;

// The window's default product from 7 January 2025 for a year; every product gets its own coupon,
// and the rows spread over several days and spots, half of them knocked in.
std::vector<BookRow> writeBook(const std::filesystem::path& folder) {
    const QString dates =
        generateObserveDates(QDate(2025, 1, 7), QDate(2026, 1, 7), 3, QStringLiteral("1M")).dates;
    ProductFile product;
    product.schedule.start = 20250107;
    product.schedule.maturity = 20260107;
    for (const QString& d : dates.split(QLatin1Char('_')))
        product.schedule.dates.push_back(d.toInt());
    const int32_t days[] = {20250107, 20250408, 20250707, 20251009, 20251231};
    std::vector<BookRow> rows;
    for (int i = 0; i < kBookRows; ++i) {
        product.knockOutCouponPct = {10 + 0.01 * i};
        product.schedule.knockOutCouponsPct = product.knockOutCouponPct;
        BookRow row;
        row.file = row.path = (folder / ("product" + std::to_string(i) + ".json")).string();
        std::ofstream(row.path) << productText(product);
        row.market.date = days[i % 5];
        row.market.spot = 85 + i % 25;
        row.market.knocked_in = i % 2 == 1;
        rows.push_back(row);
    }
    return rows;
}

void BM_book_1000_products(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "brimvale-bench-book";
    std::filesystem::create_directories(folder);
    const std::vector<BookRow> rows = writeBook(folder);
    const int workers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::size_t valued = 0;
    for (auto _ : state) {
        const std::vector<BookResult> results = valueBook(rows, workers);
        valued = 0;
        for (const BookResult& r : results)
            valued += r.ok;
    }
    state.counters["valued"] = double(valued);
    state.counters["workers"] = workers;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_book_1000_products)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
