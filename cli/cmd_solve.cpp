// brimvale-cli solve: the value of one product parameter that prices at a target.
#include <cstdio>
#include <string>

#include "command_registry.h"
#include "product_command.h"
#include "product_json.h"

namespace {

const char* const kUsage =
    "usage: brimvale-cli solve [FILE|-] --kind K --target X [--lo A] [--hi B]\n"
    "Searches [A, B] (default [0, 1]) by bisection for the value of parameter K whose\n"
    "finite-difference price is X, and prints {\"code\": c, \"value\": v}; v is null unless c is "
    "0.\n"
    "Kinds: 0 every knock-out barrier, 1 every knock-in barrier, 2 every knock-out coupon,\n"
    "3 the volatility, 4 the dividend coupon, 5 the dividend and every knock-out coupon\n"
    "(engine units: price units for barriers, fractions for coupons and volatility).\n"
    "Codes: 0 found, -1 none within the iteration limit (50), -2 the price stopped moving\n"
    "(refine M), -3 not a parameter kind, -4 the target lies beyond the price at B,\n"
    "-5 the product cannot be priced at A or B (the search does not start; the reason is on\n"
    "standard error).\n"
    "The search's progress lines go to standard error.\n"
    "Exit status: 0 found, 1 any other code, 2 bad input.\n\n";

const char* outcome(int code) {
    switch (code) {
        case -1:
            return "no value found within the iteration limit";
        case -2:
            return "the price stopped moving between steps; refine the grid (M)";
        case -3:
            return "the kind is not a parameter kind (0 to 5)";
        case -4:
            return "the interval is not monotonic or the target lies outside it";
        case kSolveCancelled:
            return "the search was cancelled";
        default:
            return "the search failed";
    }
}

int run(int argc, char** argv) {
    ProductCommand cmd("solve", kUsage);
    if (const auto stop = cmd.parse(argc, argv, {"--kind", "--target", "--lo", "--hi"}, {}))
        return *stop;
    const CliArgs& args = cmd.args;
    std::string& error = cmd.error;
    if (!args.has("--kind") || !args.has("--target"))
        return cmd.fail("--kind and --target are required", kExitBadInput);
    Snowball_PDE engine;
    if (const auto stop = cmd.read_product(engine)) return *stop;
    int64_t kind = 0;
    double target = 0, lo = 0, hi = 1;
    if (!option_integer(args, "--kind", INT32_MIN, INT32_MAX, kind, error) ||
        !option_double(args, "--target", target, error) ||
        (args.has("--lo") && !option_double(args, "--lo", lo, error)) ||
        (args.has("--hi") && !option_double(args, "--hi", hi, error)))
        return cmd.fail(error, kExitBadInput);

    double value = 0;
    int code;
    {
        StdoutToStderr progress;
        code = engine.solve_param(target, static_cast<int>(kind), value, lo, hi);
    }
    std::printf("{\"code\": %d, \"value\": %s}\n", code,
                code == 0 ? json_number(value).c_str() : "null");
    if (code == kSolveCannotPrice)
        return cmd.fail(cannot_price_message(engine.last_problem), kExitNoResult);
    return code == 0 ? kExitOk : cmd.fail(outcome(code), kExitNoResult);
}

const bool registered =
    register_command({"solve", "parameter value that prices a JSON product at a target", &run});

}  // namespace
