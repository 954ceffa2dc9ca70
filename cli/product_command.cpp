#include "product_command.h"

#include <cstdio>

#include "command_registry.h"
#include "product_json.h"

std::optional<int> ProductCommand::parse(int argc, char** argv,
                                         const std::vector<std::string>& value_options,
                                         const std::vector<std::string>& flag_options) {
    if (wants_help(argc, argv)) {
        std::printf("%s%s", usage_, engine_keys_ ? product_keys_help() : "");
        return kExitOk;
    }
    if (!parse_cli_args(argc, argv, value_options, flag_options, args, error))
        return fail(error, kExitBadInput);
    return std::nullopt;
}

std::optional<int> ProductCommand::read_product(Snowball_PDE& engine,
                                                std::optional<ProductFile>* file) {
    if (!read_product_json(args.file, engine, error, file)) return fail(error, kExitBadInput);
    return std::nullopt;
}

std::string cannot_price_message(PricingProblem problem) {
    std::string message = kUnpricedProduct;
    if (problem != PricingProblem::None)
        message += std::string(": ") + pricing_problem_text(problem);
    return message;
}

int ProductCommand::fail(const std::string& message, int code) const {
    std::fprintf(stderr, "%s: %s\n", name_, message.c_str());
    return code;
}
