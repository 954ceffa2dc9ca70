// brimvale-cli schedule: the knock-out observation dates the schedule editor would estimate.
#include <QDate>
#include <QString>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_args.h"
#include "cli_calendar_options.h"
#include "command_registry.h"
#include "day_count.h"
#include "form_text.h"
#include "observe_dates.h"
#include "trade_calendar.h"

namespace {

const char* const kUsage =
    "usage: brimvale-cli schedule --start yyyyMMdd --end yyyyMMdd [--frequency "
    "月|双周|周|1M|2W|1W]\n"
    "                             [--lockup N] [--calendar PATH]\n"
    "Rolls both dates onto trading days and prints the observation dates, their times in years\n"
    "of 252 trading days and the trading days from start to end counting both ends.\n"
    "Defaults: --frequency 月, --lockup 3.\n";

struct ScheduleArgs {
    QDate start;
    QDate end;
    QString frequency = QStringLiteral("月");
    int32_t lockup = 3;
    std::string calendar;
};

bool parse_yyyymmdd(const char* text, QDate& out) {
    int32_t value = 0;
    if (!cli_calendar::parse_date(text, value)) return false;
    out = FormText::dateFromNumber(value);
    return out.isValid();
}

// False with a message on standard error for a malformed command line.
bool parse_args(int argc, char** argv, ScheduleArgs& args) {
    for (int i = 1; i < argc; ++i) {
        const char* opt = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = value != nullptr;
        if (ok && !std::strcmp(opt, "--start"))
            ok = parse_yyyymmdd(value, args.start);
        else if (ok && !std::strcmp(opt, "--end"))
            ok = parse_yyyymmdd(value, args.end);
        else if (ok && !std::strcmp(opt, "--frequency"))
            args.frequency = QString::fromUtf8(value);
        else if (ok && !std::strcmp(opt, "--lockup"))
            ok = cli_calendar::parse_int(value, args.lockup);
        else if (ok && !std::strcmp(opt, "--calendar"))
            args.calendar = value;
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "schedule: bad argument %s\n%s", opt, kUsage);
            return false;
        }
        ++i;
    }
    if (args.start.isValid() && args.end.isValid()) return true;
    std::fprintf(stderr, "schedule: --start and --end are required\n%s", kUsage);
    return false;
}

int run(int argc, char** argv) {
    if (shows_usage_first(argc, argv, kUsage)) return kExitOk;
    ScheduleArgs args;
    if (!parse_args(argc, argv, args)) return kExitBadInput;
    if (!cli_calendar::use_calendar_file(args.calendar)) return kExitBadInput;

    // Both dates onto trading days first, as the editor does; one the calendar cannot roll is
    // absent.
    const QDate start = rolledToTradingDay(args.start);
    const QDate end = rolledToTradingDay(args.end);
    const ObserveDatesResult result = generateObserveDates(start, end, args.lockup, args.frequency);
    if (!result.ok()) {
        std::fprintf(stderr, "%s: %s\n", result.errorTitle.toUtf8().constData(),
                     result.errorText.toUtf8().constData());
        return kExitNoResult;
    }

    std::vector<double> times;
    const int32_t start_int = FormText::dateNumber(start);
    observeYearFractionsTrading(result.dates, QString::number(start_int), kTradingDaysPerYear,
                                times);
    const nlohmann::json out = {
        {"dates", result.dates.toStdString()},
        {"obs_time", times},
        {"trading_days",
         trade_calendar().count_trading_days(start_int, FormText::dateNumber(end), true)},
    };
    std::printf("%s\n", out.dump().c_str());
    return kExitOk;
}

const bool registered = register_command(
    {"schedule", "knock-out observation dates from start, maturity, frequency and lock-up", &run});

}  // namespace
