// brimvale-cli price: the finite-difference price of a product given as JSON.
#include <cstdio>
#include <cstring>
#include <string>

#include "command_registry.h"
#include "product_command.h"
#include "product_json.h"

namespace {

const char* const kUsage =
    "usage: brimvale-cli price [FILE|-]\n"
    "Reads a product as a JSON object from FILE, or from standard input when FILE is - or\n"
    "absent, and prints {\"price\": p} with p the finite-difference price (full precision), or\n"
    "{\"price\": null} when the product cannot be priced. With \"scheme\": \"accurate\" and\n"
    "\"extrapolate\": true it also prints \"error_estimate\", an estimate of the error left in\n"
    "the price: {\"price\": p, \"error_estimate\": e}.\n"
    "Exit status: 0 priced, 1 the product cannot be priced, 2 bad input.\n\n";

int run(int argc, char** argv) {
    if (argc > 1 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::printf("%s%s", kUsage, product_keys_help());
        return kExitOk;
    }
    if (argc > 2) {
        std::fprintf(stderr, "price: expected at most one FILE argument\n");
        return kExitBadInput;
    }
    const std::string path = argc > 1 ? argv[1] : "-";
    Snowball_PDE engine;
    std::string error;
    if (!read_product_json(path, engine, error)) {
        std::fprintf(stderr, "price: %s\n", error.c_str());
        return kExitBadInput;
    }
    const PdeResult result = engine.price_result();
    const double price = result.price;
    if (engine.params.extrapolate)
        std::printf("{\"price\": %s, \"error_estimate\": %s}\n", json_number(price).c_str(),
                    json_number(result.error_estimate).c_str());
    else
        std::printf("{\"price\": %s}\n", json_number(price).c_str());
    if (json_number(price) == "null") {
        std::fprintf(stderr, "price: %s\n", cannot_price_message(engine.last_problem).c_str());
        return kExitNoResult;
    }
    return kExitOk;
}

const bool registered =
    register_command({"price", "finite-difference price of a JSON product", &run});

}  // namespace
