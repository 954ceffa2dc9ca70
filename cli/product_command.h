// The start every command on a JSON product shares: --help, the options, the product file,
// and the "<command>: <message>" line on standard error when one of them is wrong.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli_args.h"
#include "product_file.h"
#include "snowball_pde.h"

class ProductCommand {
  public:
    // name prefixes every failure line; usage is printed on --help, followed by the product keys
    // unless the command reads product files only.
    ProductCommand(const char* name, const char* usage, bool engine_keys = true)
        : name_(name), usage_(usage), engine_keys_(engine_keys) {}

    // The exit status when the command ends here: kExitOk after printing the help,
    // kExitBadInput after reporting a bad option. Empty when the command goes on with args.
    std::optional<int> parse(int argc, char** argv, const std::vector<std::string>& value_options,
                             const std::vector<std::string>& flag_options);

    // Reads the product of args.file into engine. kExitBadInput, reported, when the file cannot
    // be read or holds no valid product; empty when the command goes on.
    // When the input is a product file, `file` receives it.
    std::optional<int> read_product(Snowball_PDE& engine,
                                    std::optional<ProductFile>* file = nullptr);

    // Prints "<name>: message" on standard error and gives code back.
    int fail(const std::string& message, int code) const;

    CliArgs args;
    std::string error;  // filled by the option readers of cli_args.h, reported through fail

  private:
    const char* name_;
    const char* usage_;
    bool engine_keys_;
};

// "the product cannot be priced with these terms", with the engine's reason when it gave one.
std::string cannot_price_message(PricingProblem problem);
