// brimvale-cli mc: the Monte Carlo price of a JSON product, the check of the grid price.
#include <cstdio>
#include <string>

#include "command_registry.h"
#include "day_count.h"
#include "monte_carlo.h"
#include "product_command.h"
#include "product_json.h"

namespace {

constexpr int64_t kDefaultPaths = 50000;
constexpr int64_t kMaxPaths = 10000000;  // about a minute of work for a one-year product

const char* const kUsage =
    "usage: brimvale-cli mc [FILE|-] [--paths N] [--seed S]\n"
    "Simulates N daily paths (default 50000, at most 10000000; 252 steps a year) and prints\n"
    "{\"price\": p, \"stderr\": e}: the mean discounted payoff in percent of notional (100 =\n"
    "par) and its standard error. Without --seed the paths come from the program's generator\n"
    "with its fixed start (the same result on every start); --seed S (0 to 4294967295) starts\n"
    "a generator of its own.\n"
    "Exit status: 0 priced, 1 the product cannot be priced, 2 bad input.\n\n";

int run(int argc, char** argv) {
    ProductCommand cmd("mc", kUsage);
    if (const auto stop = cmd.parse(argc, argv, {"--paths", "--seed"}, {})) return *stop;
    const CliArgs& args = cmd.args;
    std::string& error = cmd.error;
    Snowball_PDE engine;
    if (const auto stop = cmd.read_product(engine)) return *stop;
    int64_t paths = kDefaultPaths, seed = 0;
    if ((args.has("--paths") && !option_integer(args, "--paths", 1, kMaxPaths, paths, error)) ||
        (args.has("--seed") && !option_integer(args, "--seed", 0, UINT32_MAX, seed, error)))
        return cmd.fail(error, kExitBadInput);

    double se = 0, price;
    if (args.has("--seed")) {
        NormalDeviates deviates(static_cast<uint32_t>(seed));
        price = price_mc(engine, kTradingDaysPerYear, static_cast<int>(paths), deviates, &se);
    } else {
        price = price_mc(engine, kTradingDaysPerYear, static_cast<int>(paths), &se);
    }
    std::printf("{\"price\": %s, \"stderr\": %s}\n", json_number(price).c_str(),
                json_number(se).c_str());
    if (json_number(price) == "null") return cmd.fail(kUnpricedProduct, kExitNoResult);
    return kExitOk;
}

const bool registered =
    register_command({"mc", "Monte Carlo price of a JSON product, percent of notional", &run});

}  // namespace
