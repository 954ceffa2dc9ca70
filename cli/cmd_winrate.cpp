// brimvale-cli winrate: how simulated paths of a JSON product end, per volatility.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QThread>

#include "cli_calendar_options.h"
#include "command_registry.h"
#include "point_count.h"
#include "product_command.h"
#include "product_json.h"
#include "thread_calcu_win_rate_manager.h"
#include "trade_calendar.h"
#include "win_rate.h"

namespace {

const char* const kUsage =
    "usage: brimvale-cli winrate [FILE|-] --start yyyyMMdd --end yyyyMMdd --dates D1_D2_...\n"
    "                            [--vol-start 7] [--vol-end 25] [--vol-step 3] [--seed S]\n"
    "                            [--threads K] [--calendar PATH]\n"
    "Simulates 50,000 daily paths of the underlying from START to END (trading days of the\n"
    "calendar, both ends counted) for each volatility of the range (in percent, as in the\n"
    "panel) and prints {\"paths\", \"days\", \"threads\", \"seed\", \"columns\", \"rows\"}: one "
    "row\n"
    "{\"volatility\": fraction, \"fractions\": [knocked out after a knock-in, knocked out without\n"
    "one, neither, knocked in and never knocked out, win rate]} per volatility, in increasing\n"
    "volatility. DATES are the observation dates yyyyMMdd joined by \"_\", the last one the\n"
    "maturity, all within [START, END] (START not after END); the product's ko_barrier and\n"
    "ki_barrier hold one entry per date, or one entry for every date. A product file gives\n"
    "START, END and DATES from its schedule unless they are given here. Uses S0, r, q and the\n"
    "barriers of the product. Without --seed every simulation\n"
    "is seeded with the current time in seconds (seed null in the output). K workers (default:\n"
    "the number of processors) take the volatilities in turn.\n"
    "Exit status: 0 a result, 1 a volatility could not be simulated, 2 bad input.\n\n";

bool date_option(const CliArgs& args, const char* option, int32_t& out, std::string& error) {
    if (!args.has(option)) {
        error = std::string(option) + " is required";
        return false;
    }
    if (cli_calendar::parse_date(args.values.at(option).c_str(), out) && out != 0) return true;
    error = std::string(option) + " needs a date yyyyMMdd, got '" + args.values.at(option) + "'";
    return false;
}

bool dates_option(const CliArgs& args, QString& out, std::vector<int32_t>& days,
                  std::string& error) {
    if (!args.has("--dates")) {
        error = "--dates is required";
        return false;
    }
    out = QString::fromStdString(args.values.at("--dates"));
    const QStringList parts = out.split('_', Qt::KeepEmptyParts);
    for (const QString& part : parts) {
        int32_t d = 0;
        if (!cli_calendar::parse_date(part.toStdString().c_str(), d) || d == 0) {
            error =
                "--dates needs dates yyyyMMdd joined by _, got '" + args.values.at("--dates") + "'";
            return false;
        }
        days.push_back(d);
    }
    return true;
}

// The simulation runs from start to end: a later start, or a date outside that span, would be
// dropped or counted as an immediate outcome.
bool span_option(int32_t start, int32_t end, const std::vector<int32_t>& days, std::string& error) {
    if (start > end) {
        error = "--start " + std::to_string(start) + " lies after --end " + std::to_string(end);
        return false;
    }
    for (int32_t d : days) {
        if (d < start || d > end) {
            error = "--dates: " + std::to_string(d) + " lies outside --start " +
                    std::to_string(start) + " .. --end " + std::to_string(end);
            return false;
        }
    }
    return true;
}

// A barrier given as one number holds for every date.
void spread_single_entry(std::vector<double>& list, int dates) {
    if (list.size() == 1 && dates > 1) list.assign(dates, list.front());
}

void schedule_defaults(const ProductFile& file, CliArgs& args) {
    const ProductSchedule& s = file.schedule;
    std::string dates;
    for (int32_t d : s.dates)
        dates += (dates.empty() ? "" : "_") + std::to_string(d);
    args.values.emplace("--start", std::to_string(s.start));
    args.values.emplace("--end", std::to_string(s.maturity));
    args.values.emplace("--dates", dates);
}

struct VolRange {
    double v[3] = {7, 25, 3};
};

bool vol_option(const CliArgs& args, VolRange& range, std::string& error) {
    const char* names[3] = {"--vol-start", "--vol-end", "--vol-step"};
    for (int k = 0; k < 3; ++k)
        if (args.has(names[k]) && !option_double(args, names[k], range.v[k], error)) return false;
    if (range.v[0] < 0 || range.v[1] < 0) {
        error = "volatilities cannot be negative";
        return false;
    }
    return true;
}

int run(int argc, char** argv) {
    ProductCommand cmd("winrate", kUsage);
    if (const auto stop = cmd.parse(argc, argv,
                                    {"--start", "--end", "--dates", "--vol-start", "--vol-end",
                                     "--vol-step", "--seed", "--threads", "--calendar"},
                                    {}))
        return *stop;
    // The calendar first: a product file's dates are counted on it. A product file brings its own
    // schedule; the options, when given, replace it.
    const std::string calendar = cmd.args.has("--calendar") ? cmd.args.values.at("--calendar") : "";
    if (!cli_calendar::use_calendar_file(calendar)) return kExitBadInput;
    Snowball_PDE engine;
    std::optional<ProductFile> file;
    if (const auto stop = cmd.read_product(engine, &file)) return *stop;
    if (file) schedule_defaults(*file, cmd.args);
    const CliArgs& args = cmd.args;
    std::string& error = cmd.error;
    int32_t start = 0, end = 0;
    QString dates;
    std::vector<int32_t> date_list;
    VolRange range;
    int64_t seed = 0;
    int64_t threads = QThread::idealThreadCount();
    if (!date_option(args, "--start", start, error) || !date_option(args, "--end", end, error) ||
        !dates_option(args, dates, date_list, error) ||
        !span_option(start, end, date_list, error) || !vol_option(args, range, error) ||
        (args.has("--seed") && !option_integer(args, "--seed", 0, 4294967295LL, seed, error)) ||
        (args.has("--threads") && !option_integer(args, "--threads", 1, 256, threads, error)))
        return cmd.fail(error, kExitBadInput);
    const BoundedCount n = bounded_point_count(range.v[0] / 100, range.v[1] / 100, range.v[2] / 100,
                                               kMaxWinRateVolatilities);
    if (n.status != BoundedCount::Ok)
        return cmd.fail(n.status == BoundedCount::Empty
                            ? "the volatility range holds no point"
                            : "the volatility range holds more than " +
                                  std::to_string(kMaxWinRateVolatilities) + " points",
                        kExitBadInput);

    const int date_count = static_cast<int>(date_list.size());
    spread_single_entry(engine.ko_barrier, date_count);
    spread_single_entry(engine.ki_barrier, date_count);
    if (trade_calendar().dates.empty()) return cmd.fail("no trading calendar", kExitBadInput);
    std::optional<WinRateTerms> terms =
        make_win_rate_terms(engine, trade_calendar(), start, end, dates);
    if (!terms)
        return cmd.fail("ko_barrier and ki_barrier need one entry per date of --dates",
                        kExitBadInput);

    int qargc = 1;
    char* qargv[] = {argv[0], nullptr};
    QCoreApplication app(qargc, qargv);
    const std::vector<double> vols = volatility_list(range.v[0] / 100, range.v[2] / 100, n.count);
    const std::optional<uint32_t> fixed =
        args.has("--seed") ? std::optional<uint32_t>(static_cast<uint32_t>(seed)) : std::nullopt;
    const QMap<double, QList<double>> results = runWinRateToEnd(
        vols, std::make_shared<const WinRateTerms>(*terms), static_cast<int>(threads), fixed);

    bool complete = true;
    std::printf("{\"paths\": %d, \"days\": %d, \"threads\": %d, \"seed\": %s, ", kWinRatePaths,
                terms->days, static_cast<int>(threads),
                fixed ? std::to_string(*fixed).c_str() : "null");
    std::printf(
        "\"columns\": [\"knocked_out_and_in\", \"knocked_out_only\", \"neither\", "
        "\"knocked_in_only\", \"win_rate\"], \"rows\": [");
    bool first = true;
    for (auto it = results.constBegin(); it != results.constEnd(); ++it) {
        std::printf("%s{\"volatility\": %s, \"fractions\": [", first ? "" : ", ",
                    json_number(it.key()).c_str());
        for (int c = 0; c < it.value().size(); ++c) {
            const std::string v = json_number(it.value()[c]);
            complete &= v != "null";
            std::printf("%s%s", c ? ", " : "", v.c_str());
        }
        std::printf("]}");
        first = false;
    }
    std::printf("]}\n");
    if (!complete) return cmd.fail("a volatility could not be simulated", kExitNoResult);
    return kExitOk;
}

const bool registered = register_command(
    {"winrate", "simulated knock-out / knock-in outcomes of a JSON product per volatility", &run});

}  // namespace
