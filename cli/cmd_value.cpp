// brimvale-cli value: a live product valued on a day of its life at the day's spot.
#include <string>

#include "command_registry.h"
#include "live_market_options.h"
#include "product_command.h"
#include "product_json.h"
#include "trade_calendar.h"

namespace {

const char* const kUsage =
    "usage: brimvale-cli value FILE --date YYYYMMDD --spot S [--knocked-in] [--vol PCT]\n"
    "                          [--rate PCT]\n"
    "Values the product of the product file FILE (docs/product-file.md) on the trading day DATE\n"
    "of its life at the underlying price S, and prints {\"value\", \"delta\", \"gamma\",\n"
    "\"theta\", \"vega\", \"rho\"} in the window's units: theta per trading day, vega per\n"
    "volatility point, rho per rate point. The numbers are those of the window's \"查表\" for the\n"
    "same product, day, price and flag: the grids of the whole product, read with the trading\n"
    "days left from DATE to maturity. --vol and --rate (percent) replace the file's volatility\n"
    "and risk-free rate.\n"
    "The product is taken to be alive on DATE, that is not knocked out before it, and to be\n"
    "knocked in only when --knocked-in is given.\n"
    "Exit status: 0 valued, 1 the product cannot be valued at this price, 2 bad input (a date\n"
    "outside the product's life or not a trading day among them).\n";

std::string option(const CliArgs& args, const char* name) {
    return args.has(name) ? args.values.at(name) : std::string();
}

int run(int argc, char** argv) {
    ProductCommand cmd("value", kUsage, false);
    if (const auto stop =
            cmd.parse(argc, argv, {"--date", "--spot", "--vol", "--rate"}, {"--knocked-in"}))
        return *stop;
    const CliArgs& args = cmd.args;
    if (!args.has("--date") || !args.has("--spot"))
        return cmd.fail("--date and --spot are required", kExitBadInput);
    LiveMarket market;
    market.knocked_in = args.flags.count("--knocked-in") > 0;
    if (!parse_live_market(option(args, "--date"), option(args, "--spot"), option(args, "--vol"),
                           option(args, "--rate"), market, cmd.error))
        return cmd.fail(cmd.error, kExitBadInput);
    ProductFile file;
    if (!read_product_file(args.file, file, cmd.error)) return cmd.fail(cmd.error, kExitBadInput);
    if (trade_calendar().dates.empty())
        return cmd.fail("no trading calendar (trade_calendar.csv)", kExitBadInput);

    Snowball_PDE engine;
    LookupReadout out{};
    LiveFailure failure;
    if (!valueLiveProduct(file, market, engine, out, failure))
        return cmd.fail(failure.reason,
                        failure.kind == LiveFailure::NoGrid ? kExitNoResult : kExitBadInput);
    const double values[] = {out.price, out.delta, out.gamma, out.theta, out.vega, out.rho};
    return print_value_and_greeks("value", values)
               ? kExitOk
               : cmd.fail("no value at this price (off the grid)", kExitNoResult);
}

const bool registered = register_command(
    {"value", "value and Greeks of a live product file on a day of its life", &run});

}  // namespace
