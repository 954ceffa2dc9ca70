#include "book_valuation.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

#include "trade_calendar.h"

namespace {

BookResult valueRow(const BookRow& row, Snowball_PDE& engine) {
    BookResult result;
    if (!row.problem.empty()) {
        result.status = row.problem;
        return result;
    }
    ProductFile file;
    ProductFileError problem;
    if (!readProductPath(row.path, file, problem)) {
        result.status = problem.english();
        return result;
    }
    LiveFailure failure;
    if (!valueLiveProduct(file, row.market, engine, result.values, failure)) {
        result.status = failure.reason;
        return result;
    }
    const LookupReadout& v = result.values;
    for (double x : {v.price, v.delta, v.gamma, v.theta, v.vega, v.rho}) {
        if (!std::isfinite(x)) {
            result.status = "no value at this spot (off the price grid)";
            return result;
        }
    }
    result.ok = true;
    result.status = "ok";
    return result;
}

}  // namespace

std::vector<BookResult> valueBook(const std::vector<BookRow>& rows, int workers,
                                  const std::function<void(std::size_t)>& progress) {
    std::vector<BookResult> results(rows.size());
    // The calendar is loaded once here; the workers only read it.
    trade_calendar();
    std::atomic<std::size_t> next{0}, done{0};
    auto work = [&] {
        Snowball_PDE engine;
        for (std::size_t i = next++; i < rows.size(); i = next++) {
            results[i] = valueRow(rows[i], engine);
            const std::size_t finished = ++done;
            if (progress) progress(finished);
        }
    };
    const int count = std::clamp<int>(workers, 1, std::max<int>(1, int(rows.size())));
    std::vector<std::thread> threads;
    for (int k = 1; k < count; ++k)
        threads.emplace_back(work);
    work();
    for (std::thread& t : threads)
        t.join();
    return results;
}
