// brimvale-cli book: a whole book of live products valued on their days, on every core.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include <spdlog/spdlog.h>

#include "book_csv.h"
#include "command_registry.h"
#include "product_command.h"
#include "product_json.h"
#include "sp_logger.h"
#include "trade_calendar.h"

namespace {

const char* const kUsage =
    "usage: brimvale-cli book BOOK.csv\n"
    "Values every live product of the book as the value command does, and writes one CSV row\n"
    "per book row to standard output, in the order of the book:\n"
    "  file,value,delta,gamma,theta,vega,rho,status\n"
    "status is ok, or why the row has no value (the other rows go on). The book is a CSV with\n"
    "the header file,date,spot,knocked_in[,vol,rate]: the product file (relative to the book's\n"
    "folder), the day yyyyMMdd, the spot, 1 or 0 for an earlier knock-in, and optionally the\n"
    "volatility and the rate in percent replacing the file's (an empty cell keeps the file's).\n"
    "Each product is taken to be alive on its day. Rows are valued on every processor, one\n"
    "engine per worker; a book of more than 100 rows shows its progress on standard error when\n"
    "that is a terminal.\n"
    "Exit status: 0 every row valued, 1 some rows not, 2 the book cannot be read.\n";

constexpr std::size_t kProgressRows = 100;

// Rewrites one line on a terminal's standard error, at most every tenth of a second.
class ProgressLine {
  public:
    explicit ProgressLine(std::size_t total)
        : total_(total), shown_(total > kProgressRows && isatty(STDERR_FILENO)) {}
    void update(std::size_t done) {
        if (!shown_) return;
        std::lock_guard<std::mutex> guard(lock_);
        const auto now = std::chrono::steady_clock::now();
        if (done < total_ && now - last_ < std::chrono::milliseconds(100)) return;
        last_ = now;
        std::fprintf(stderr, "\rbook: %zu of %zu rows valued", done, total_);
        if (done == total_) std::fprintf(stderr, "\n");
    }

  private:
    std::size_t total_;
    bool shown_;
    std::mutex lock_;
    std::chrono::steady_clock::time_point last_{};
};

int run(int argc, char** argv) {
    ProductCommand cmd("book", kUsage, false);
    if (const auto stop = cmd.parse(argc, argv, {}, {})) return *stop;
    if (cmd.args.file == "-") return cmd.fail("expected the BOOK.csv argument", kExitBadInput);
    std::vector<BookRow> rows;
    if (!read_book(cmd.args.file, rows, cmd.error)) return cmd.fail(cmd.error, kExitBadInput);
    if (trade_calendar().dates.empty())
        return cmd.fail("no trading calendar (trade_calendar.csv)", kExitBadInput);

    // A line per solver run would bury the progress line and the failures.
    SpLogger::instance().logger->set_level(spdlog::level::warn);
    ProgressLine progress(rows.size());
    const int workers = std::max(1u, std::thread::hardware_concurrency());
    const std::vector<BookResult> results =
        valueBook(rows, workers, [&](std::size_t done) { progress.update(done); });

    std::printf("file,value,delta,gamma,theta,vega,rho,status\n");
    bool all = true;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const BookResult& r = results[i];
        const LookupReadout& v = r.values;
        std::string line = csv_field(rows[i].file);
        for (double x : {v.price, v.delta, v.gamma, v.theta, v.vega, v.rho}) {
            const std::string n = json_number(x);
            line += "," + (r.ok && n != "null" ? n : std::string());
        }
        std::printf("%s,%s\n", line.c_str(), csv_field(r.status).c_str());
        all &= r.ok;
    }
    return all ? kExitOk : cmd.fail("some rows could not be valued", kExitNoResult);
}

const bool registered =
    register_command({"book", "value a CSV book of live product files on every core", &run});

}  // namespace
