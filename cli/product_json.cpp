#include "product_json.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <limits>

#include <nlohmann/json.hpp>

#include "product_terms.h"
#include "trade_calendar.h"

using nlohmann::json;

namespace {

const char* const kKeysHelp =
    "FILE is a product file saved by the window (JSON with \"format\": \"brimvale-product\",\n"
    "see docs/product-file.md), priced on the trading calendar exactly as the window prices\n"
    "it, or a product in the engine's own terms:\n"
    "Product keys (JSON object; every key optional, units are the engine's):\n"
    "  S0                  initial price of the underlying (default 100)\n"
    "  S_max               top of the price grid (default 200)\n"
    "  sigma               volatility, fraction per year (default 0.2)\n"
    "  r                   risk-free rate, fraction per year, continuous (default 0.05)\n"
    "  q                   dividend yield, fraction per year (default 0)\n"
    "  T                   time to maturity in years (default 1)\n"
    "  M                   number of price steps, integer (default 10)\n"
    "  N                   number of time steps, integer (default 10)\n"
    "  obs_time            list of observation times in years, ascending, the last one T\n"
    "                      (default: one date at T)\n"
    "  ko_barrier          knock-out barrier per date, price units; one number = every date\n"
    "  coupon              knock-out coupon per date, fraction per year; one number = every date\n"
    "  ki_barrier          knock-in barrier per date, price units; one number = every date\n"
    "                      (the three per-date keys default to empty lists, which cannot be\n"
    "                      priced: give them as lists as long as obs_time, or as one number)\n"
    "  div_coupon          coupon paid at maturity with neither knock-out nor knock-in,\n"
    "                      fraction per year (default 0.15)\n"
    "  floor_price         floor of the knocked-in payoff, price units; 0 = none (default 0)\n"
    "  call_strike         strike of the call paid on knock-out, price units (default 0)\n"
    "  call_participation  factor of that call, 1 = 100 %; 0 = no call (default 0)\n"
    "  coupon_adj_rate     rate added to every coupon times (1 - coupon_adj_share) (default 0)\n"
    "  coupon_adj_share    share used in that adjustment (default 1)\n"
    "  payoff_mode         0: full redemption amounts; 1: profit and loss, amount - S0 (default "
    "0)\n"
    "  scheme              finite-difference method: \"implicit\" (one implicit step per time\n"
    "                      step on a uniform grid, the default) or \"accurate\" (barriers on\n"
    "                      the nodes of a grid crowded around them, L-stable sub-steps, about\n"
    "                      0.001 per 100 at M = 300 and one step per trading day)\n"
    "  extrapolate         true: with \"accurate\", also price on a grid twice as fine and\n"
    "                      extrapolate; price then prints \"error_estimate\" (default false)\n"
    "A product text longer than 4 MiB (4194304 bytes) is refused as bad input.\n";

// Either a whole document or nothing: the fields are read into a copy and set at the end.
struct ProductFields {
    PdeParams base;
    std::vector<double> obs_time, ko_barrier, coupon, ki_barrier;
    double div_coupon, floor_price, call_strike, call_participation;
    double coupon_adj_rate, coupon_adj_share, payoff_mode;

    explicit ProductFields(const Snowball_PDE& e)
        : base(e.params),
          obs_time(e.obs_time),
          ko_barrier(e.ko_barrier),
          coupon(e.coupon),
          ki_barrier(e.ki_barrier),
          div_coupon(e.div_coupon),
          floor_price(e.floor_price),
          call_strike(e.call_strike),
          call_participation(e.call_participation),
          coupon_adj_rate(e.coupon_adj_rate),
          coupon_adj_share(e.coupon_adj_share),
          payoff_mode(e.payoff_mode) {}
};

bool fail(std::string& error, const std::string& message) {
    error = message;
    return false;
}

bool read_number(const json& value, const std::string& key, double& out, std::string& error) {
    if (!value.is_number()) return fail(error, "key '" + key + "' must be a number");
    out = value.get<double>();
    return true;
}

bool read_int(const json& value, const std::string& key, int32_t& out, std::string& error) {
    const std::string message =
        "key '" + key + "' must be an integer from -2147483648 to 2147483647";
    if (!value.is_number()) return fail(error, message);
    const double x = value.get<double>();
    if (!(x >= std::numeric_limits<int32_t>::min() && x <= std::numeric_limits<int32_t>::max()) ||
        x != std::floor(x))
        return fail(error, message);
    out = static_cast<int32_t>(x);
    return true;
}

bool read_list(const json& value, const std::string& key, std::vector<double>& out,
               std::string& error) {
    if (!value.is_array()) return fail(error, "key '" + key + "' must be a list of numbers");
    std::vector<double> list;
    for (const json& x : value) {
        if (!x.is_number()) return fail(error, "key '" + key + "' must be a list of numbers");
        list.push_back(x.get<double>());
    }
    out = std::move(list);
    return true;
}

// A per-date key: a list as long as obs_time, or one number for every date.
bool read_per_date(const json& value, const std::string& key, std::size_t dates,
                   std::vector<double>& out, std::string& error) {
    if (value.is_number()) {
        out.assign(dates, value.get<double>());
        return true;
    }
    if (!value.is_array())
        return fail(error, "key '" + key + "' must be a number or a list of numbers");
    if (!read_list(value, key, out, error)) return false;
    if (out.size() != dates)
        return fail(error, "key '" + key + "' has " + std::to_string(out.size()) +
                               " entries but obs_time has " + std::to_string(dates));
    return true;
}

double* scalar_field(ProductFields& f, const std::string& key) {
    if (key == "S0") return &f.base.S0;
    if (key == "S_max") return &f.base.S_max;
    if (key == "sigma") return &f.base.sigma;
    if (key == "r") return &f.base.r;
    if (key == "q") return &f.base.q;
    if (key == "T") return &f.base.T;
    if (key == "div_coupon") return &f.div_coupon;
    if (key == "floor_price") return &f.floor_price;
    if (key == "call_strike") return &f.call_strike;
    if (key == "call_participation") return &f.call_participation;
    if (key == "coupon_adj_rate") return &f.coupon_adj_rate;
    if (key == "coupon_adj_share") return &f.coupon_adj_share;
    if (key == "payoff_mode") return &f.payoff_mode;
    return nullptr;
}

std::vector<double>* per_date_field(ProductFields& f, const std::string& key) {
    if (key == "ko_barrier") return &f.ko_barrier;
    if (key == "coupon") return &f.coupon;
    if (key == "ki_barrier") return &f.ki_barrier;
    return nullptr;
}

// "scheme": the name of a method.
bool read_scheme(const json& value, PdeScheme& out, std::string& error) {
    if (value == "implicit")
        out = PdeScheme::implicit;
    else if (value == "accurate")
        out = PdeScheme::accurate;
    else
        return fail(error, "key 'scheme' must be \"implicit\" or \"accurate\"");
    return true;
}

bool read_bool(const json& value, const std::string& key, bool& out, std::string& error) {
    if (!value.is_boolean()) return fail(error, "key '" + key + "' must be true or false");
    out = value.get<bool>();
    return true;
}

bool is_extra(const std::string& key, const std::vector<std::string>& extra_keys) {
    for (const std::string& k : extra_keys)
        if (k == key) return true;
    return false;
}

// Every key but obs_time and the per-date keys, which need the length of obs_time.
bool read_scalars(const json& object, ProductFields& f, const std::vector<std::string>& extra_keys,
                  std::string& error) {
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::string& key = it.key();
        if (double* field = scalar_field(f, key)) {
            if (!read_number(it.value(), key, *field, error)) return false;
        } else if (key == "scheme") {
            if (!read_scheme(it.value(), f.base.scheme, error)) return false;
        } else if (key == "extrapolate") {
            if (!read_bool(it.value(), key, f.base.extrapolate, error)) return false;
        } else if (key == "M" || key == "N") {
            if (!read_int(it.value(), key, key == "M" ? f.base.M : f.base.N, error)) return false;
        } else if (key != "obs_time" && !per_date_field(f, key) && !is_extra(key, extra_keys)) {
            return fail(error, "unknown key '" + key + "'");
        }
    }
    return true;
}

}  // namespace

bool read_json_document(const std::string& path_or_dash, json& document, std::string& error) {
    const bool from_stdin = path_or_dash == "-";
    std::ifstream file;
    if (!from_stdin) {
        file.open(path_or_dash, std::ios::binary);
        if (!file) return fail(error, "cannot read '" + path_or_dash + "'");
    }
    // Read at most one byte beyond the limit: a huge file or an endless device costs no more.
    std::istream& in = from_stdin ? std::cin : file;
    std::string text(kMaxProductBytes + 1, '\0');
    in.read(text.data(), std::streamsize(text.size()));
    text.resize(std::size_t(in.gcount()));
    if (in.bad()) return fail(error, "cannot read '" + path_or_dash + "'");
    if (text.size() > kMaxProductBytes)
        return fail(error,
                    "the product is larger than " + std::to_string(kMaxProductBytes) + " bytes");
    try {
        document = json::parse(text);
    } catch (const json::exception& e) {
        std::string what = e.what();
        for (char& c : what)
            if (c == '\n' || c == '\r') c = ' ';
        return fail(error, "malformed JSON: " + what);
    }
    return true;
}

bool product_from_json(const json& object, Snowball_PDE& engine, std::string& error,
                       const std::vector<std::string>& extra_keys) {
    if (!object.is_object()) return fail(error, "the product must be a JSON object");
    ProductFields f(engine);
    if (!read_scalars(object, f, extra_keys, error)) return false;
    if (f.base.extrapolate && f.base.scheme != PdeScheme::accurate)
        return fail(error, "key 'extrapolate' needs \"scheme\": \"accurate\"");
    if (object.contains("obs_time")) {
        if (!read_list(object["obs_time"], "obs_time", f.obs_time, error)) return false;
        // A date before the one it follows would be priced as if it were not there.
        if (std::adjacent_find(f.obs_time.begin(), f.obs_time.end(), std::greater_equal<>()) !=
            f.obs_time.end())
            return fail(error, "key 'obs_time' must be strictly ascending");
    } else if (f.obs_time.empty()) {
        f.obs_time.assign(1, f.base.T);
    }
    for (const char* key : {"ko_barrier", "coupon", "ki_barrier"}) {
        if (object.contains(key) &&
            !read_per_date(object[key], key, f.obs_time.size(), *per_date_field(f, key), error))
            return false;
    }
    engine.set_product(f.obs_time, f.ko_barrier, f.coupon, f.ki_barrier, f.div_coupon,
                       f.floor_price, f.call_strike, f.call_participation, f.coupon_adj_rate,
                       f.coupon_adj_share, f.payoff_mode, f.base);
    return true;
}

namespace {

bool product_file_of(const json& document, ProductFile& file, std::string& error) {
    ProductFileError problem;
    if (!readProductDocument(nlohmann::ordered_json(document), file, problem))
        return fail(error, problem.english());
    return true;
}

bool product_file_engine(const ProductFile& file, Snowball_PDE& engine, std::string& error) {
    if (trade_calendar().dates.empty())
        return fail(error, "a product file needs the trading calendar (trade_calendar.csv)");
    QString reason;
    if (!productEngineOf(file, engine, reason))
        return fail(error, "the product fails the check before pricing: " + reason.toStdString());
    return true;
}

}  // namespace

bool read_product_json(const std::string& path_or_dash, Snowball_PDE& engine, std::string& error,
                       std::optional<ProductFile>* file) {
    json document;
    if (!read_json_document(path_or_dash, document, error)) return false;
    if (!document.is_object() || !document.contains("format"))
        return product_from_json(document, engine, error);
    ProductFile product;
    if (!product_file_of(document, product, error) || !product_file_engine(product, engine, error))
        return false;
    if (file) *file = std::move(product);
    return true;
}

bool read_product_file(const std::string& path_or_dash, ProductFile& file, std::string& error) {
    json document;
    return read_json_document(path_or_dash, document, error) &&
           product_file_of(document, file, error);
}

std::string json_number(double v) {
    if (!std::isfinite(v)) return "null";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

bool print_value_and_greeks(const char* first, const double (&values)[6]) {
    const char* const names[] = {first, "delta", "gamma", "theta", "vega", "rho"};
    bool all = true;
    std::printf("{");
    for (int k = 0; k < 6; ++k) {
        const std::string v = json_number(values[k]);
        all &= v != "null";
        std::printf("%s\"%s\": %s", k ? ", " : "", names[k], v.c_str());
    }
    std::printf("}\n");
    return all;
}

const char* product_keys_help() {
    return kKeysHelp;
}
