// brimvale-cli stress: value, Delta and Gamma of a JSON product over prices and volatilities.
#include <cstdio>
#include <string>
#include <vector>

#include "command_registry.h"
#include "point_count.h"
#include "product_command.h"
#include "product_json.h"
#include "stress.h"

namespace {

const char* const kUsage =
    "usage: brimvale-cli stress [FILE|-] [--price-start 70] [--price-end 130] [--price-step 10]\n"
    "                           [--vol-start 0.05] [--vol-end 0.5] [--vol-step 0.05] [--days 100]\n"
    "Solves the product once per volatility (fractions: 0.05 is 5 %) and reads the value, Delta\n"
    "and Gamma of the not-knocked-in grids at every price with DAYS trading days of life left\n"
    "(DAYS / 252 years). Prints {\"prices\", \"volatilities\", \"tau\", \"value\", \"delta\",\n"
    "\"gamma\"}: each matrix has one row per volatility and one column per price; a cell the\n"
    "grids cannot give (a price off the grid, a volatility that cannot be priced) is null.\n"
    "Each axis holds (end - start) / step + 1 points, truncated, at most 200.\n"
    "A grid whose runs would hold more memory than the engine allows is refused (exit 1).\n"
    "Exit status: 0 a result with at least one value, 1 no cell has a value, 2 bad input.\n\n";

struct AxisOptions {
    const char* start;
    const char* end;
    const char* step;
    double values[3];
};

// Reads one axis and counts its points; false with a message for a bad value or range.
bool read_axis(const CliArgs& args, AxisOptions& axis, int& count, std::string& error) {
    const char* names[3] = {axis.start, axis.end, axis.step};
    for (int k = 0; k < 3; ++k) {
        if (args.has(names[k]) && !option_double(args, names[k], axis.values[k], error))
            return false;
    }
    const BoundedCount n =
        bounded_point_count(axis.values[0], axis.values[1], axis.values[2], kMaxStressPoints);
    if (n.status == BoundedCount::Ok) {
        count = n.count;
        return true;
    }
    error = std::string(axis.start) + ", " + axis.end + " and " + axis.step +
            (n.status == BoundedCount::Empty
                 ? " give no point"
                 : " give more than " + std::to_string(kMaxStressPoints) + " points");
    return false;
}

void print_list(const std::vector<double>& v) {
    std::printf("[");
    for (size_t k = 0; k < v.size(); ++k)
        std::printf("%s%s", k ? ", " : "", json_number(v[k]).c_str());
    std::printf("]");
}

// Prints the matrix and tells whether any cell holds a value.
bool print_matrix(const char* name, const StressMatrix& m) {
    bool any = false;
    std::printf(", \"%s\": [", name);
    for (size_t i = 0; i < m.size(); ++i) {
        std::printf("%s", i ? ", " : "");
        print_list(m[i]);
        for (double v : m[i])
            any |= json_number(v) != "null";
    }
    std::printf("]");
    return any;
}

int run(int argc, char** argv) {
    ProductCommand cmd("stress", kUsage);
    if (const auto stop = cmd.parse(argc, argv,
                                    {"--price-start", "--price-end", "--price-step", "--vol-start",
                                     "--vol-end", "--vol-step", "--days"},
                                    {}))
        return *stop;
    const CliArgs& args = cmd.args;
    std::string& error = cmd.error;
    AxisOptions prices{"--price-start", "--price-end", "--price-step", {70, 130, 10}};
    AxisOptions vols{"--vol-start", "--vol-end", "--vol-step", {0.05, 0.5, 0.05}};
    int64_t days = 100;
    StressGrid grid;
    if (!read_axis(args, prices, grid.prices, error) ||
        !read_axis(args, vols, grid.volatilities, error) ||
        (args.has("--days") && !option_integer(args, "--days", -1000000, 1000000, days, error)))
        return cmd.fail(error, kExitBadInput);
    Snowball_PDE engine;
    if (const auto stop = cmd.read_product(engine)) return *stop;
    grid.price_start = prices.values[0];
    grid.price_step = prices.values[2];
    grid.vol_start = vols.values[0];
    grid.vol_step = vols.values[2];
    grid.tau = stress_tau(static_cast<int>(days));

    StressResult result;
    {
        StdoutToStderr quiet;
        result = compute_stress(engine, grid);
    }
    if (result.problem != PricingProblem::None)
        return cmd.fail(std::string("no stress grid: ") + pricing_problem_text(result.problem),
                        kExitNoResult);
    std::vector<double> price_axis, vol_axis;
    for (int j = 0; j < grid.prices; ++j)
        price_axis.push_back(grid.price(j));
    for (int i = 0; i < grid.volatilities; ++i)
        vol_axis.push_back(grid.volatility(i));
    std::printf("{\"prices\": ");
    print_list(price_axis);
    std::printf(", \"volatilities\": ");
    print_list(vol_axis);
    std::printf(", \"tau\": %s", json_number(grid.tau).c_str());
    bool any = print_matrix("value", result.value);
    any |= print_matrix("delta", result.delta);
    any |= print_matrix("gamma", result.gamma);
    std::printf("}\n");
    if (!any) return cmd.fail("the product cannot be priced on this grid", kExitNoResult);
    return kExitOk;
}

const bool registered =
    register_command({"stress", "value, Delta and Gamma over a price-by-volatility grid", &run});

}  // namespace
