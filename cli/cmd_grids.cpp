// brimvale-cli grids: the price grids of a JSON product appended to a text file.
#include <cstdio>
#include <string>

#include "command_registry.h"
#include "product_command.h"
#include "product_json.h"

namespace {

const char* const kUsage =
    "usage: brimvale-cli grids [FILE|-] --out PATH\n"
    "Runs the grid runs of the Greeks and appends the grid of the product not knocked in\n"
    "(block \"MATRIX:Price\") and of the knocked-in product (\"MATRIX:Price_KI\") to PATH: one\n"
    "line per price node from 0 up, one value per time node from today, \"%.4f, \" each.\n"
    "PATH gains both blocks or, when writing fails, keeps its previous content.\n"
    "Prints {\"written\": true, \"rows\": M + 1, \"cols\": N + 1}.\n"
    "Exit status: 0 written, 1 the product cannot be priced or PATH cannot be written,\n"
    "2 bad input.\n\n";

int run(int argc, char** argv) {
    ProductCommand cmd("grids", kUsage);
    if (const auto stop = cmd.parse(argc, argv, {"--out"}, {})) return *stop;
    const CliArgs& args = cmd.args;
    if (!args.has("--out") || args.values.at("--out").empty())
        return cmd.fail("--out PATH is required", kExitBadInput);
    Snowball_PDE engine;
    if (const auto stop = cmd.read_product(engine)) return *stop;

    if (!engine.compute_risk_grids()) {
        std::printf("{\"written\": false}\n");
        return cmd.fail(cannot_price_message(engine.last_problem), kExitNoResult);
    }
    bool written;
    {
        StdoutToStderr messages;  // the writer reports a file it cannot open there
        written = engine.write_price_grids(args.values.at("--out"));
    }
    if (!written) {
        std::printf("{\"written\": false}\n");
        return cmd.fail("cannot write " + args.values.at("--out"), kExitNoResult);
    }
    std::printf("{\"written\": true, \"rows\": %d, \"cols\": %d}\n", engine.price_grid.Nrows(),
                engine.price_grid.Ncols());
    return kExitOk;
}

const bool registered =
    register_command({"grids", "append the price grids of a JSON product to a file", &run});

}  // namespace
