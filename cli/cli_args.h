// Options of the analytics commands (greeks, solve, mc, grids): one product FILE and named values.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

struct CliArgs {
    std::string file = "-";  // the product; "-" is standard input
    std::map<std::string, std::string> values;
    std::set<std::string> flags;

    bool has(const std::string& option) const { return values.count(option) > 0; }
};

// Reads "[FILE] (--option VALUE | --flag)..." in any order. False with a one-line message on an
// unknown option, a missing value, a repeated option or a second FILE.
bool parse_cli_args(int argc, char** argv, const std::vector<std::string>& value_options,
                    const std::vector<std::string>& flag_options, CliArgs& out, std::string& error);

// Whether any argument asks for help ("--help" or "-h").
bool wants_help(int argc, char** argv);
// Prints usage when the first argument asks for help ("--help" or "-h"), and says so.
bool shows_usage_first(int argc, char** argv, const char* usage);

// The finite number the whole text is (strtod); false for anything else, out untouched.
bool parse_finite(const std::string& text, double& out);

// Whole-text numbers: a finite double, or a decimal integer within [lo, hi]. False with a
// one-line message naming the option otherwise.
bool option_double(const CliArgs& args, const std::string& option, double& out, std::string& error);
bool option_integer(const CliArgs& args, const std::string& option, int64_t lo, int64_t hi,
                    int64_t& out, std::string& error);

// Sends what the engine prints on standard output (search progress, file messages) to standard
// error while it lives, so that standard output carries the JSON result alone.
class StdoutToStderr {
  public:
    StdoutToStderr();
    ~StdoutToStderr();
    StdoutToStderr(const StdoutToStderr&) = delete;
    StdoutToStderr& operator=(const StdoutToStderr&) = delete;

  private:
    int saved_;
};
