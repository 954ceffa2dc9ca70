// brimvale-cli calendar: the trading-calendar operations.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_args.h"
#include "cli_calendar_options.h"
#include "command_registry.h"
#include "trade_calendar.h"

namespace {

const char* const kUsage =
    "usage: brimvale-cli calendar count FROM TO [--inclusive] [--calendar PATH]\n"
    "       brimvale-cli calendar roll DATE [--calendar PATH]\n"
    "       brimvale-cli calendar shift DATE K [--calendar PATH]\n"
    "Dates are yyyyMMdd. count: trading days t with FROM <= t < TO (plus one with --inclusive);\n"
    "roll: DATE or the next trading day; shift: K trading days from DATE.\n"
    "Prints {\"count\": n} or {\"date\": yyyyMMdd}; exits 1 when the calendar has no answer.\n";

struct CalendarArgs {
    std::vector<const char*> operands;
    bool inclusive = false;
    std::string calendar;
};

bool parse_args(int argc, char** argv, CalendarArgs& args) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--inclusive")) {
            args.inclusive = true;
        } else if (!std::strcmp(argv[i], "--calendar") && i + 1 < argc) {
            args.calendar = argv[++i];
        } else if (argv[i][0] == '-' && argv[i][1] == '-') {
            return false;
        } else {
            args.operands.push_back(argv[i]);
        }
    }
    return !args.operands.empty();
}

// The operation's operands: roll DATE, count FROM TO, shift DATE K.
bool parse_operands(const CalendarArgs& args, int32_t& a, int32_t& b) {
    const std::string op = args.operands[0];
    const size_t n = args.operands.size();
    if (op == "roll") return n == 2 && cli_calendar::parse_date(args.operands[1], a);
    if (op == "count")
        return n == 3 && cli_calendar::parse_date(args.operands[1], a) &&
               cli_calendar::parse_date(args.operands[2], b);
    if (op == "shift")
        return n == 3 && cli_calendar::parse_date(args.operands[1], a) &&
               cli_calendar::parse_int(args.operands[2], b);
    return false;
}

int print_date(int32_t date) {
    if (date == 0) {
        std::fprintf(stderr, "calendar: the date lies outside the trading calendar\n");
        return kExitNoResult;
    }
    std::printf("%s\n", nlohmann::json({{"date", date}}).dump().c_str());
    return kExitOk;
}

int bad_input() {
    std::fprintf(stderr, "%s", kUsage);
    return kExitBadInput;
}

int run(int argc, char** argv) {
    if (shows_usage_first(argc, argv, kUsage)) return kExitOk;
    CalendarArgs args;
    if (!parse_args(argc, argv, args)) return bad_input();
    int32_t a = 0, b = 0;
    if (!parse_operands(args, a, b)) return bad_input();
    if (!cli_calendar::use_calendar_file(args.calendar)) return kExitBadInput;

    const std::string op = args.operands[0];
    const TradeCalendar& calendar = trade_calendar();
    if (op == "roll") return print_date(calendar.roll_to_trading_day(a));
    if (op == "shift") return print_date(calendar.shift_trading_days(a, b));
    const int32_t count = calendar.count_trading_days(a, b, args.inclusive);
    if (calendar.dates.empty()) {
        std::fprintf(stderr, "calendar: the trading calendar is empty\n");
        return kExitNoResult;
    }
    std::printf("%s\n", nlohmann::json({{"count", count}}).dump().c_str());
    return kExitOk;
}

const bool registered =
    register_command({"calendar", "trading-day count, roll and shift on the calendar", &run});

}  // namespace
