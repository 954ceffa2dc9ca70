// A snowball product read from JSON for the command-line tool, and the JSON numbers it prints.
//
// The keys are the engine's own names in engine units (fractions, years). Commands with inputs
// of their own (a target price, a parameter kind) read the document with read_json_document,
// name their extra keys to product_from_json and read those keys from the document themselves.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "product_file.h"
#include "snowball_pde.h"

// Product texts beyond this size are refused: the parsed document takes many times its text,
// and a product needs a few kilobytes.
inline constexpr std::size_t kMaxProductBytes = std::size_t(4) << 20;

// The JSON document in the file at path_or_dash ("-" reads standard input). False with a
// one-line message in `error` when the file cannot be read, holds more than kMaxProductBytes or
// is not well-formed JSON.
bool read_json_document(const std::string& path_or_dash, nlohmann::json& document,
                        std::string& error);

// Fills the engine from a JSON object and calls set_product. Absent keys keep the engine's
// values (the defaults for a new engine; obs_time absent on an engine without dates means one
// date at maturity T). False with a one-line message naming the key on an unknown key (one not
// in extra_keys), a wrong type, obs_time not strictly ascending or a per-date list whose length
// differs from obs_time; the engine is then left unchanged.
bool product_from_json(const nlohmann::json& object, Snowball_PDE& engine, std::string& error,
                       const std::vector<std::string>& extra_keys = {});

// read_json_document and product_from_json in one. A document with a "format" key is a product
// file (docs/product-file.md): its dates become observation times and maturity on the trading
// calendar exactly as the window turns them, and `file`, when given, receives it. A product file
// that fails the window's checks before pricing is refused like a bad key.
bool read_product_json(const std::string& path_or_dash, Snowball_PDE& engine, std::string& error,
                       std::optional<ProductFile>* file = nullptr);

// The product file at path_or_dash; false with a one-line message when it is none or is bad.
bool read_product_file(const std::string& path_or_dash, ProductFile& file, std::string& error);

// A double as JSON with full precision ("%.17g"); "null" for NaN and infinities.
std::string json_number(double v);

// Prints {"<first>": v0, "delta": v1, "gamma": v2, "theta": v3, "vega": v4, "rho": v5} as one
// line on standard output, each value as json_number writes it; true when none of them is null.
bool print_value_and_greeks(const char* first, const double (&values)[6]);

// The description of every product key, for the commands' --help.
const char* product_keys_help();
