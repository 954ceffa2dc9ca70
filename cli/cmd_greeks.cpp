// brimvale-cli greeks: price and Greeks of a JSON product read off its grids.
#include <cstdio>
#include <limits>
#include <string>

#include "command_registry.h"
#include "product_command.h"
#include "product_json.h"

namespace {

const char* const kUsage =
    "usage: brimvale-cli greeks [FILE|-] [--spot S] [--tau TAU] [--knocked-in]\n"
    "Runs the three grid runs of the Greeks (base, volatility + 0.01, rate + 0.01), derives the\n"
    "Greek grids and prints {\"price\", \"delta\", \"gamma\", \"theta\", \"vega\", \"rho\"} read\n"
    "at underlying S (default S0) with TAU years of life left (default T), from the grids of a\n"
    "product already knocked in with --knocked-in. Engine units: theta per year, vega per unit\n"
    "of volatility, rho per unit of rate. A value off the grid is null, and so is every value\n"
    "when TAU lies outside the product's life [0, T].\n"
    "Exit status: 0 all values, 1 the product cannot be priced or a value is off the grid,\n"
    "2 bad input.\n\n";

// Every value null: no value can be read at all.
void print_nulls() {
    const double none = std::numeric_limits<double>::quiet_NaN();
    print_value_and_greeks("price", {none, none, none, none, none, none});
}

int run(int argc, char** argv) {
    ProductCommand cmd("greeks", kUsage);
    if (const auto stop = cmd.parse(argc, argv, {"--spot", "--tau"}, {"--knocked-in"}))
        return *stop;
    const CliArgs& args = cmd.args;
    std::string& error = cmd.error;
    Snowball_PDE engine;
    if (const auto stop = cmd.read_product(engine)) return *stop;
    double spot = engine.params.S0, tau = engine.params.T;
    if ((args.has("--spot") && !option_double(args, "--spot", spot, error)) ||
        (args.has("--tau") && !option_double(args, "--tau", tau, error)))
        return cmd.fail(error, kExitBadInput);
    const bool ki = args.flags.count("--knocked-in") > 0;
    // The grids would read such a life at today's or the maturity column, as if it were there.
    const double T = engine.params.T;
    if (T > 0 && !(tau >= 0 && tau <= T)) {
        print_nulls();
        return cmd.fail("--tau lies outside the product's life [0, T]", kExitNoResult);
    }

    if (!engine.compute_risk_grids()) {
        print_nulls();
        return cmd.fail(cannot_price_message(engine.last_problem), kExitNoResult);
    }
    const bool complete = engine.compute_greeks(false);
    const double values[] = {engine.lookup_price(spot, tau, ki), engine.lookup_delta(spot, tau, ki),
                             engine.lookup_gamma(spot, tau, ki), engine.lookup_theta(spot, tau, ki),
                             engine.lookup_vega(spot, tau, ki),  engine.lookup_rho(spot, tau, ki)};
    const bool all = print_value_and_greeks("price", values);
    if (!complete || !all)
        return cmd.fail("no value at this underlying price and remaining life", kExitNoResult);
    return kExitOk;
}

const bool registered =
    register_command({"greeks", "price and Greeks of a JSON product at a spot and a life", &run});

}  // namespace
