// A book of live products valued on one or more days: every row on the first free worker, one
// engine per worker, the results in the order of the rows.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "live_valuation.h"

struct BookRow {
    std::string file;  // the product file as the book names it
    std::string path;  // where it is read from
    LiveMarket market;
    std::string problem;  // set when the row itself could not be read; it is then not valued
};

struct BookResult {
    LookupReadout values{};
    bool ok = false;
    std::string status;  // "ok", or why the row has no value
};

// Values every row with `workers` threads (at least one). progress, when given, is called from
// the workers with the number of rows done so far; it must be cheap and thread-safe.
std::vector<BookResult> valueBook(const std::vector<BookRow>& rows, int workers,
                                  const std::function<void(std::size_t)>& progress = {});
